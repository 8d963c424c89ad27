#include <gtest/gtest.h>

#include "stores/SQLiteDatabase.h"
#include "stores/SQLiteFixture.h"

namespace nullvane::stores {
namespace {

using testing::SQLiteFileTest;

TEST_F(SQLiteFileTest, QueryFetchesEveryRowWithKindsFromTheDeclaredTypes) {
    TSQLiteDatabase db(DatabaseName());
    db.RunStatement(
        "CREATE TABLE moz_places (id INTEGER, visited BOOLEAN, frecency REAL, url TEXT, icon BLOB, "
        "note boolean, extra VARCHAR(10))");
    db.RunStatement("INSERT INTO moz_places VALUES (1, 1, 2.5, 'http://a/', x'0102FF', 7, 'e')");
    db.RunStatement("INSERT INTO moz_places VALUES (NULL, 0, NULL, NULL, x'', 8, NULL)");

    const TSQLiteTable table = db.QueryTable("SELECT id, visited, frecency, url, icon, note, extra FROM moz_places");
    ASSERT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.ColumnNames(),
              (std::vector<std::string>{"ID", "VISITED", "FRECENCY", "URL", "ICON", "NOTE", "EXTRA"}));
    // Declared types are compared with their letter case: "boolean" reads as text.
    EXPECT_EQ(table.ColumnKinds(),
              (std::vector<TSQLiteColumnKind>{ckInteger, ckInteger, ckFloat, ckText, ckBlob, ckText, ckText}));
    EXPECT_EQ(table.Cell(0, 0), TSQLiteCell{int64_t{1}});
    EXPECT_EQ(table.Cell(0, 1), TSQLiteCell{int64_t{1}});
    EXPECT_EQ(table.Cell(0, 2), TSQLiteCell{2.5});
    EXPECT_EQ(table.Cell(0, 3), TSQLiteCell{std::string("http://a/")});
    EXPECT_EQ(table.Cell(0, 4), TSQLiteCell{(std::vector<uint8_t>{1, 2, 0xFF})});
    EXPECT_EQ(table.Cell(0, 5), TSQLiteCell{std::string("7")});
    EXPECT_EQ(table.Cells().size(), 14u);
    // NULLs and a blob of no bytes are empty cells.
    for (int column : {0, 2, 3, 4, 6}) EXPECT_EQ(table.Cell(1, column), TSQLiteCell{}) << column;
    EXPECT_EQ(table.Cell(1, 1), TSQLiteCell{int64_t{0}});
    EXPECT_EQ(table.CurrentRow, 0);
}

TEST_F(SQLiteFileTest, ExpressionColumnsTakeTheKindOfTheirFirstRow) {
    TSQLiteDatabase db(DatabaseName());
    const TSQLiteTable table = db.QueryTable(
        "SELECT 6 * 7 AS answer, 1.5, 'text', NULL AS later UNION ALL SELECT 1, 2, 3, 'now text'");
    ASSERT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.ColumnKinds(), (std::vector<TSQLiteColumnKind>{ckInteger, ckFloat, ckText, ckNull}));
    EXPECT_EQ(table.ColumnNames()[0], "ANSWER");
    EXPECT_EQ(table.Cell(0, 0), TSQLiteCell{int64_t{42}});
    EXPECT_EQ(table.Cell(1, 1), TSQLiteCell{2.0});
    EXPECT_EQ(table.Cell(1, 2), TSQLiteCell{std::string("3")});
    EXPECT_EQ(table.Cell(1, 3), TSQLiteCell{std::string("now text")});
}

TEST_F(SQLiteFileTest, QueryWithoutRowsHasNoColumnsAndNoCells) {
    TSQLiteDatabase db(DatabaseName());
    db.RunStatement("CREATE TABLE t (a INTEGER, b TEXT)");
    const TSQLiteTable table = db.QueryTable("SELECT a, b FROM t");
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_EQ(table.ColumnCount(), 0);
    EXPECT_TRUE(table.ColumnNames().empty());
    EXPECT_TRUE(table.Cells().empty());
}

TEST_F(SQLiteFileTest, HasTableIgnoresLetterCaseOnBothSides) {
    TSQLiteDatabase db(DatabaseName());
    db.RunStatement("CREATE TABLE moz_places (id INTEGER)");
    db.RunStatement("CREATE TABLE Cookies (id INTEGER)");
    db.RunStatement("CREATE VIEW moz_view AS SELECT 1");
    EXPECT_TRUE(db.HasTable("moz_places"));
    EXPECT_TRUE(db.HasTable("MOZ_PLACES"));
    EXPECT_TRUE(db.HasTable("cookies"));
    EXPECT_FALSE(db.HasTable("moz_view"));  // a view is not a table
    EXPECT_FALSE(db.HasTable("moz_place"));
}

TEST_F(SQLiteFileTest, HasTableWithAQuoteInTheNameRaisesWithDetail) {
    TSQLiteDatabase db(DatabaseName());
    try {
        (void)db.HasTable("it's");
        FAIL() << "no exception";
    } catch (const ESQLiteException& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("Error executing SQL.\rError [1]: SQL error or missing database.\r\"select [sql] from "
                                "sqlite_master where [type] = 'table' and lower(name) = 'it's' \": ",
                                0),
                  0u)
            << message;
    }
}

TEST_F(SQLiteFileTest, FailingQueryStepRaisesCouldNotRetrieveData) {
    TSQLiteDatabase db(DatabaseName());
    db.RunStatement("CREATE TABLE t (v INTEGER)");
    db.RunStatement("INSERT INTO t VALUES (1), (2)");
    try {
        (void)db.QueryTable("SELECT abs(-9223372036854775807 - v) FROM t");
        FAIL() << "no exception";
    } catch (const ESQLiteException& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Could not retrieve data.\rError [1]: SQL error or missing database.\r"
                  "\"SELECT abs(-9223372036854775807 - v) FROM t\": integer overflow");
    }
}

}  // namespace
}  // namespace nullvane::stores
