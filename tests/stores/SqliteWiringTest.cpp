#include <gtest/gtest.h>
#include <sqlite3.h>

// The build links a working SQLite: an in-memory database answers a query.
TEST(SqliteWiring, InMemoryDatabaseAnswersAQuery) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT 6 * 7", -1, &statement, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(statement, 0), 42);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}
