#pragma once
// One open SQLite connection: the browser cleaners open a profile database,
// ask whether a table exists and run DELETE statements. Every failure raises
// ESQLiteException; nothing is logged.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "stores/SQLiteException.h"
#include "stores/SQLiteStatement.h"
#include "stores/SQLiteTable.h"
#include "stores/SQLiteValue.h"

struct sqlite3;
struct sqlite3_stmt;

namespace nullvane::stores {

class TSQLiteDatabase {
public:
    enum class TOpenMode {
        omCreate,        // a missing file is created, as SQLite does by default
        omExistingOnly,  // a missing file fails to open; nothing is created
    };

    // Opens the file for reading and writing; the name is UTF-8 text. The
    // file's own triggers never fire and its schema is not trusted
    // (defensive mode, trusted_schema off): the file is another program's.
    explicit TSQLiteDatabase(const std::string& fileName, TOpenMode mode = TOpenMode::omCreate);
    // Rolls back a transaction that is still open, then closes.
    ~TSQLiteDatabase();
    TSQLiteDatabase(const TSQLiteDatabase&) = delete;
    TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

    // Runs one statement that returns no rows, to completion.
    void RunStatement(const std::string& sql);
    void RunStatementWithValues(const std::string& sql, std::span<const TSQLiteValue> values);
    // Every row of a query.
    [[nodiscard]] TSQLiteTable QueryTable(const std::string& sql);
    // Whether the database holds a table of that name, letter case aside
    // (ASCII). The name is put into the query as it is: callers pass fixed names.
    [[nodiscard]] bool HasTable(const std::string& tableName);
    // Whether the table has a column of that name, letter case aside (ASCII).
    // Both names are put into the query as they are: callers pass fixed names.
    [[nodiscard]] bool HasColumn(const std::string& tableName, const std::string& columnName);
    void CancelTransaction();

    // Raises ESQLiteException with `message` and, when the connection has an
    // error, its code, text and the SQL.
    [[noreturn]] void RaiseSQLiteError(const std::string& message, const std::string& sql);
    // Binds value i to parameter i + 1.
    void BindData(sqlite3_stmt* statement, std::span<const TSQLiteValue> values);

    // Named parameters, bound by name to the next statement and then dropped.
    void AddParamInt(const std::string& name, int64_t value);
    void AddParamFloat(const std::string& name, double value);
    void AddParamText(const std::string& name, const std::string& value);
    void AddParamNull(const std::string& name);
    void ParamsClear() { params_.clear(); }

    // Prepares a statement, tells OnStatement and binds the named parameters;
    // raises on failure. Shared by statements and queries.
    [[nodiscard]] TSQLiteStatement PrepareStatement(const std::string& sql);

    [[nodiscard]] sqlite3* Handle() const { return connection_; }

    bool InTransaction = false;
    // Called after each successful prepare.
    std::function<void(TSQLiteDatabase&, const std::string&)> OnStatement;

private:
    enum class TParamKind { Integer = 1, Float = 2, Text = 3, Null = 5 };
    struct TNamedParam {
        std::string Name;
        TParamKind Kind;
        int64_t Integer = 0;
        double Float = 0;
        std::string Text;
    };

    void BindNamedParameters(sqlite3_stmt* statement);

    sqlite3* connection_ = nullptr;
    std::vector<TNamedParam> params_;
};

}  // namespace nullvane::stores
