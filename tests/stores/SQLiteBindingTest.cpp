#include <gtest/gtest.h>

#include <sstream>

#include "stores/SQLiteDatabase.h"
#include "stores/SQLiteFixture.h"

namespace nullvane::stores {
namespace {

using testing::SQLiteFileTest;

class SQLiteBindingTest : public SQLiteFileTest {
protected:
    void SetUp() override {
        SQLiteFileTest::SetUp();
        db_ = std::make_unique<TSQLiteDatabase>(DatabaseName());
        db_->RunStatement("CREATE TABLE bound (v)");
    }
    void TearDown() override {
        db_.reset();
        SQLiteFileTest::TearDown();
    }

    // Binds one value into a fresh row and reads back its type and value as text.
    std::pair<std::string, std::string> RoundTrip(const TSQLiteValue& value) {
        db_->RunStatement("DELETE FROM bound");
        db_->RunStatementWithValues("INSERT INTO bound VALUES (?)", std::span(&value, 1));
        const TSQLiteTable table = db_->QueryTable("SELECT typeof(v), quote(v) FROM bound");
        return {std::get<std::string>(table.Cell(0, 0)), std::get<std::string>(table.Cell(0, 1))};
    }

    std::unique_ptr<TSQLiteDatabase> db_;
};

using Result = std::pair<std::string, std::string>;

TEST_F(SQLiteBindingTest, NumbersBooleansAndNullsBindByTheirKind) {
    EXPECT_EQ(RoundTrip(int32_t{-7}), Result("integer", "-7"));
    EXPECT_EQ(RoundTrip(true), Result("integer", "1"));
    EXPECT_EQ(RoundTrip(false), Result("integer", "0"));
    EXPECT_EQ(RoundTrip(2.5), Result("real", "2.5"));
    EXPECT_EQ(RoundTrip(int64_t{1} << 40), Result("integer", "1099511627776"));
    EXPECT_EQ(RoundTrip(nullptr), Result("null", "NULL"));
    EXPECT_EQ(RoundTrip(static_cast<const void*>(nullptr)), Result("null", "NULL"));
}

TEST_F(SQLiteBindingTest, TextsBindAsTheirBytesOnly) {
    EXPECT_EQ(RoundTrip('x'), Result("text", "'x'"));
    EXPECT_EQ(RoundTrip(std::string("abc")), Result("text", "'abc'"));
    EXPECT_EQ(RoundTrip("plain"), Result("text", "'plain'"));
    EXPECT_EQ(RoundTrip(u'é'), Result("text", "'é'"));
    EXPECT_EQ(RoundTrip(std::u16string(u"Grüße 日本 \U0001F642")), Result("text", "'Grüße 日本 \U0001F642'"));
    // A bound text compares equal to the same literal: no terminating zero is stored.
    const std::vector<TSQLiteValue> values{std::string("abc"), 'x'};
    db_->RunStatement("DELETE FROM bound");
    db_->RunStatementWithValues("INSERT INTO bound SELECT ? = 'abc' AND ? = 'x'", values);
    EXPECT_EQ(std::get<int64_t>(db_->QueryTable("SELECT v FROM bound").Cell(0, 0)), 1);
}

TEST_F(SQLiteBindingTest, StreamsBindAsBlobs) {
    const std::vector<uint8_t> bytes{0x10, 0x20, 0x30, 0x40};
    EXPECT_EQ(RoundTrip(TSQLiteMemoryStream{bytes, 1}), Result("blob", "X'203040'"));
    EXPECT_EQ(RoundTrip(TSQLiteMemoryStream{bytes, 4}), Result("blob", "X''"));
    std::istringstream stream(std::string("\x01\x02\x03", 3));
    stream.get();  // any other stream is read whole, from its start
    EXPECT_EQ(RoundTrip(&stream), Result("blob", "X'010203'"));
    std::istringstream empty;
    EXPECT_EQ(RoundTrip(&empty), Result("blob", "X''"));
}

TEST_F(SQLiteBindingTest, UnbindableValuesRaiseTheirOwnMessages) {
    auto messageOf = [&](const TSQLiteValue& value, const std::string& sql = "INSERT INTO bound VALUES (?)") {
        try {
            db_->RunStatementWithValues(sql, std::span(&value, 1));
        } catch (const ESQLiteException& e) {
            return std::string(e.what());
        }
        return std::string("no exception");
    };
    int something = 0;
    EXPECT_EQ(messageOf(static_cast<const void*>(&something)), "Unhandled pointer (<> nil)");
    EXPECT_EQ(messageOf(TSQLiteValue{}), "Unhandled binding");
    EXPECT_EQ(messageOf(static_cast<std::istream*>(nullptr)), "Unhandled object-type in binding");
    EXPECT_EQ(messageOf(int32_t{1}, "DELETE FROM bound"),
              "Could not bind integer.\rError [25]: 2nd parameter to sqlite3_bind out of range.\r\"BindData\": "
              "column index out of range");
    EXPECT_EQ(messageOf(std::string("t"), "DELETE FROM bound"),
              "Could not bind text.\rError [25]: 2nd parameter to sqlite3_bind out of range.\r\"BindData\": "
              "column index out of range");
    // Nothing was left half-run: the connection still works.
    EXPECT_EQ(RoundTrip(int32_t{3}), Result("integer", "3"));
}

TEST_F(SQLiteBindingTest, NamedParametersBindOnceAndAreThenDropped) {
    db_->RunStatement("CREATE TABLE named (i, f, t, n)");
    db_->AddParamInt(":i", int64_t{1} << 33);
    db_->AddParamFloat(":f", 0.25);
    db_->AddParamText(":t", "text");
    db_->AddParamNull(":n");
    db_->AddParamText(":absent", "skipped");
    db_->RunStatement("INSERT INTO named VALUES (:i, :f, :t, coalesce(:n, 'was null'))");
    db_->RunStatement("INSERT INTO named VALUES (:i, :f, :t, :n)");  // nothing bound any more

    const TSQLiteTable table = db_->QueryTable("SELECT quote(i), quote(f), quote(t), quote(n) FROM named");
    ASSERT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.Cell(0, 0), TSQLiteCell{std::string("8589934592")});
    EXPECT_EQ(table.Cell(0, 1), TSQLiteCell{std::string("0.25")});
    EXPECT_EQ(table.Cell(0, 2), TSQLiteCell{std::string("'text'")});
    EXPECT_EQ(table.Cell(0, 3), TSQLiteCell{std::string("'was null'")});
    for (int column = 0; column < 4; ++column) EXPECT_EQ(table.Cell(1, column), TSQLiteCell{std::string("NULL")});
}

}  // namespace
}  // namespace nullvane::stores
