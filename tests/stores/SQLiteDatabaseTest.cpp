#include <gtest/gtest.h>
#include <sqlite3.h>

#include <vector>

#include "stores/SQLiteDatabase.h"
#include "stores/SQLiteFixture.h"
#include "stores/SQLiteResultText.h"

namespace nullvane::stores {
namespace {

using testing::FromUtf8;
using testing::SQLiteFileTest;

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ESQLiteException& e) {
        return e.what();
    }
    ADD_FAILURE() << "no ESQLiteException";
    return {};
}

int64_t CountRows(TSQLiteDatabase& db, const std::string& table) {
    const TSQLiteTable result = db.QueryTable("SELECT count(*) FROM " + table);
    return std::get<int64_t>(result.Cell(0, 0));
}

TEST(SQLiteResultText, NamesKnownCodesAndQuotesUnknownOnes) {
    EXPECT_EQ(SQLiteResultText(0), "Successful result");
    EXPECT_EQ(SQLiteResultText(5), "The database file is locked");
    EXPECT_EQ(SQLiteResultText(19), "Abort due to contraint violation");
    EXPECT_EQ(SQLiteResultText(26), "File opened that is not a database file");
    EXPECT_EQ(SQLiteResultText(100), "sqlite3_step() has another row ready");
    EXPECT_EQ(SQLiteResultText(101), "sqlite3_step() has finished executing");
    EXPECT_EQ(SQLiteResultText(27), "Unknown SQLite Error Code \"27\"");
    EXPECT_EQ(SQLiteResultText(-1), "Unknown SQLite Error Code \"-1\"");
}

TEST_F(SQLiteFileTest, OpeningAMissingFileCreatesAnEmptyDatabase) {
    const std::string name = DatabaseName("new.sqlite");
    {
        TSQLiteDatabase db(name);
        EXPECT_FALSE(db.HasTable("moz_places"));
    }
    EXPECT_TRUE(std::filesystem::exists(FromUtf8(name)));
}

TEST_F(SQLiteFileTest, OpeningExistingOnlyNeverCreatesAMissingFile) {
    const std::string name = DatabaseName("gone.sqlite");
    try {
        TSQLiteDatabase db(name, TSQLiteDatabase::TOpenMode::omExistingOnly);
        ADD_FAILURE() << "a missing file opened";
    } catch (const ESQLiteException& e) {
        EXPECT_EQ(std::string(e.what()), "Failed to open database \"" + name + "\" : unable to open database file");
        EXPECT_FALSE(e.InUse());
    }
    EXPECT_FALSE(std::filesystem::exists(FromUtf8(name)));
}

TEST_F(SQLiteFileTest, HasColumnFindsDeclaredColumnsOnlyInTheirTable) {
    TSQLiteDatabase db(DatabaseName());
    db.RunStatement("CREATE TABLE moz_places (id INTEGER PRIMARY KEY, Visit_Count INTEGER)");
    EXPECT_TRUE(db.HasColumn("moz_places", "visit_count"));
    EXPECT_FALSE(db.HasColumn("moz_places", "typed"));
    EXPECT_FALSE(db.HasColumn("moz_keywords", "id"));
}

TEST_F(SQLiteFileTest, OpenFailureNamesTheFileAndTheReason) {
    const std::string name = DatabaseName("no such folder/places.sqlite");
    EXPECT_EQ(MessageOf([&] { TSQLiteDatabase db(name); }),
              "Failed to open database \"" + name + "\" : unable to open database file");
}

TEST_F(SQLiteFileTest, ProfileFolderWithNonAsciiNameOpensTheFileThere) {
    const std::string folder = "Profilé 日本 \xF0\x9F\x99\x82";
    std::filesystem::create_directories(Folder() / FromUtf8(folder));
    const std::string name = DatabaseName(folder + "/cookies.sqlite");
    {
        TSQLiteDatabase db(name);
        db.RunStatement("CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, host TEXT)");
    }
    EXPECT_TRUE(std::filesystem::exists(Folder() / FromUtf8(folder) / "cookies.sqlite"));
    TSQLiteDatabase again(name);
    EXPECT_TRUE(again.HasTable("moz_cookies"));
}

TEST_F(SQLiteFileTest, RunStatementRunsDeletesToCompletion) {
    TSQLiteDatabase db(DatabaseName());
    db.RunStatement("CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT)");
    db.RunStatement("INSERT INTO moz_places (url) VALUES ('http://a/'), ('http://b/'), ('http://c/')");
    db.RunStatement("DELETE FROM moz_places WHERE url <> 'http://b/'");
    EXPECT_EQ(CountRows(db, "moz_places"), 1);
    EXPECT_FALSE(sqlite3_next_stmt(db.Handle(), nullptr));
}

TEST_F(SQLiteFileTest, FailuresCarryTheCodeItsTextTheSqlAndSqliteMessage) {
    TSQLiteDatabase db(DatabaseName());
    db.RunStatement("CREATE TABLE t (id INTEGER PRIMARY KEY)");
    db.RunStatement("INSERT INTO t VALUES (1)");

    EXPECT_EQ(MessageOf([&] { db.RunStatement("DELETE FROM nowhere"); }),
              "Error executing SQL.\rError [1]: SQL error or missing database.\r\"DELETE FROM nowhere\": "
              "no such table: nowhere");
    EXPECT_EQ(MessageOf([&] { db.RunStatement("INSERT INTO t VALUES (1)"); }),
              "Error executing SQL statement.\rError [19]: Abort due to contraint violation.\r"
              "\"INSERT INTO t VALUES (1)\": UNIQUE constraint failed: t.id");
    // The connection stays usable after a failed statement.
    db.RunStatement("INSERT INTO t VALUES (2)");
    EXPECT_EQ(CountRows(db, "t"), 2);
    EXPECT_FALSE(sqlite3_next_stmt(db.Handle(), nullptr));
}

TEST_F(SQLiteFileTest, TextWithoutAStatementCannotBePrepared) {
    TSQLiteDatabase db(DatabaseName());
    EXPECT_EQ(MessageOf([&] { db.RunStatement(""); }), "Could not prepare SQL statement");
    EXPECT_EQ(MessageOf([&] { db.RunStatement("-- nothing but a comment"); }), "Could not prepare SQL statement");
    EXPECT_EQ(MessageOf([&] { (void)db.QueryTable("  "); }), "Could not prepare SQL statement");
}

TEST_F(SQLiteFileTest, StatementThatReturnsRowsFailsAndIsStillFinalized) {
    TSQLiteDatabase db(DatabaseName());
    db.RunStatement("CREATE TABLE t (v)");
    db.RunStatement("INSERT INTO t VALUES (1)");
    const std::string message = MessageOf([&] { db.RunStatement("SELECT v FROM t"); });
    EXPECT_EQ(message.rfind("Error executing SQL statement", 0), 0u) << message;
    EXPECT_FALSE(sqlite3_next_stmt(db.Handle(), nullptr));
}

TEST_F(SQLiteFileTest, LockedDatabaseFailsAtOnce) {
    const std::string name = DatabaseName();
    TSQLiteDatabase holder(name);
    holder.RunStatement("CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY)");
    TSQLiteDatabase cleaner(name);
    ASSERT_TRUE(cleaner.HasTable("moz_formhistory"));  // the schema is read before the lock

    holder.RunStatement("BEGIN EXCLUSIVE");
    holder.InTransaction = true;
    EXPECT_EQ(MessageOf([&] { (void)cleaner.QueryTable("SELECT id FROM moz_formhistory"); }),
              "Could not prepare SQL statement");
    // Both failures say the database is in use rather than broken.
    for (auto action : std::vector<std::function<void()>>{
             [&] { (void)cleaner.QueryTable("SELECT id FROM moz_formhistory"); },
             [&] { cleaner.RunStatement("DELETE FROM moz_formhistory"); }}) {
        try {
            action();
            ADD_FAILURE() << "no failure while locked";
        } catch (const ESQLiteException& e) {
            EXPECT_TRUE(e.InUse()) << e.what();
        }
    }
    EXPECT_EQ(MessageOf([&] { cleaner.RunStatement("DELETE FROM moz_formhistory"); }),
              "Error executing SQL statement.\rError [5]: The database file is locked.\r"
              "\"DELETE FROM moz_formhistory\": database is locked");
    holder.CancelTransaction();
    EXPECT_FALSE(holder.InTransaction);
    cleaner.RunStatement("DELETE FROM moz_formhistory");
}

TEST_F(SQLiteFileTest, CancelTransactionRollsBackAndDestroyingCancelsAnOpenOne) {
    const std::string name = DatabaseName();
    std::string lastStatement;
    {
        TSQLiteDatabase db(name);
        db.RunStatement("CREATE TABLE t (v)");
        db.RunStatement("BEGIN");
        db.InTransaction = true;
        db.RunStatement("INSERT INTO t VALUES (1)");
        db.CancelTransaction();
        EXPECT_FALSE(db.InTransaction);
        EXPECT_EQ(CountRows(db, "t"), 0);

        db.RunStatement("BEGIN");
        db.InTransaction = true;
        db.RunStatement("INSERT INTO t VALUES (2)");
        db.OnStatement = [&](TSQLiteDatabase&, const std::string& sql) { lastStatement = sql; };
    }
    EXPECT_EQ(lastStatement, "ROLLBACK");
    TSQLiteDatabase again(name);
    EXPECT_EQ(CountRows(again, "t"), 0);
}

TEST_F(SQLiteFileTest, OnStatementHearsEachPreparedStatement) {
    TSQLiteDatabase db(DatabaseName());
    std::vector<std::string> heard;
    db.OnStatement = [&](TSQLiteDatabase& from, const std::string& sql) {
        EXPECT_EQ(&from, &db);
        heard.push_back(sql);
    };
    db.RunStatement("CREATE TABLE t (v)");
    (void)db.QueryTable("SELECT v FROM t");
    EXPECT_THROW(db.RunStatement("NOT SQL"), ESQLiteException);
    EXPECT_EQ(heard, (std::vector<std::string>{"CREATE TABLE t (v)", "SELECT v FROM t"}));
}

}  // namespace
}  // namespace nullvane::stores
