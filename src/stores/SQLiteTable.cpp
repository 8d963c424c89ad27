#include "stores/SQLiteTable.h"

#include <sqlite3.h>

#include <cstring>

#include "stores/SQLiteDatabase.h"

namespace nullvane::stores {

namespace {

TSQLiteColumnKind KindOf(sqlite3_stmt* statement, int column) {
    const char* declared = sqlite3_column_decltype(statement, column);
    if (declared == nullptr) return static_cast<TSQLiteColumnKind>(sqlite3_column_type(statement, column));
    const std::string type = declared;  // compared exactly, letter case included
    if (type == "INTEGER" || type == "BOOLEAN") return ckInteger;
    if (type == "NUMERIC" || type == "FLOAT" || type == "DOUBLE" || type == "REAL") return ckFloat;
    if (type == "BLOB") return ckBlob;
    return ckText;
}

TSQLiteCell CellOf(sqlite3_stmt* statement, int column, TSQLiteColumnKind kind) {
    if (sqlite3_column_type(statement, column) == SQLITE_NULL) return {};
    switch (kind) {
        case ckInteger: return static_cast<int64_t>(sqlite3_column_int64(statement, column));
        case ckFloat: return sqlite3_column_double(statement, column);
        case ckBlob: {
            const auto* bytes = static_cast<const uint8_t*>(sqlite3_column_blob(statement, column));
            const int count = sqlite3_column_bytes(statement, column);
            if (count <= 0 || bytes == nullptr) return {};
            return std::vector<uint8_t>(bytes, bytes + count);
        }
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            return text != nullptr ? std::string(text) : std::string();
        }
    }
}

}  // namespace

TSQLiteTable::TSQLiteTable(TSQLiteDatabase& database, const std::string& sql) {
    TSQLiteStatement statement = database.PrepareStatement(sql);
    sqlite3_stmt* raw = statement.Get();
    for (;;) {
        const int result = sqlite3_step(raw);
        if (result == SQLITE_DONE) break;
        if (result == SQLITE_BUSY) throw ESQLiteException("Could not prepare SQL statement", SQLITE_BUSY);
        if (result != SQLITE_ROW) {
            sqlite3_reset(raw);
            database.RaiseSQLiteError("Could not retrieve data", sql);
        }
        if (rowCount_ == 0) {
            const int columns = sqlite3_column_count(raw);
            for (int c = 0; c < columns; ++c) {
                std::string name = sqlite3_column_name(raw, c);
                for (char& ch : name) {
                    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
                }
                columnNames_.push_back(std::move(name));
                columnKinds_.push_back(KindOf(raw, c));
            }
        }
        ++rowCount_;
        for (int c = 0; c < ColumnCount(); ++c) cells_.push_back(CellOf(raw, c, columnKinds_[static_cast<size_t>(c)]));
    }
    CurrentRow = 0;
}

}  // namespace nullvane::stores
