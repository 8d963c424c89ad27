#include "stores/SQLiteDatabase.h"

#include <sqlite3.h>

#include <cstring>
#include <iterator>

#include "stores/SQLiteResultText.h"

namespace nullvane::stores {

namespace {

constexpr int kDone = 101;

template <class... Ts>
struct TOverloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
TOverloaded(Ts...) -> TOverloaded<Ts...>;

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The parameter list is emptied after every statement, also when binding fails.
struct TClearOnExit {
    std::function<void()> clear;
    ~TClearOnExit() { clear(); }
};

}  // namespace

TSQLiteDatabase::TSQLiteDatabase(const std::string& fileName, TOpenMode mode) {
    int flags = SQLITE_OPEN_READWRITE;
    if (mode == TOpenMode::omCreate) flags |= SQLITE_OPEN_CREATE;
    const int result = sqlite3_open_v2(fileName.c_str(), &connection_, flags, nullptr);
    if (result != SQLITE_OK) {
        std::string message = "Failed to open database \"" + fileName + "\" : ";
        if (connection_ != nullptr) {
            message += sqlite3_errmsg(connection_);
            sqlite3_close(connection_);
            connection_ = nullptr;
        } else {
            message += "unknown error";
        }
        throw ESQLiteException(message, result);
    }
    // Every file opened here was written by another program: what its schema
    // holds (triggers, functions in views and defaults) never runs.
    int unused = 0;
    if (sqlite3_db_config(connection_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, &unused) != SQLITE_OK ||
        sqlite3_db_config(connection_, SQLITE_DBCONFIG_DEFENSIVE, 1, &unused) != SQLITE_OK) {
        sqlite3_close(connection_);
        connection_ = nullptr;
        throw ESQLiteException("Failed to make the connection defensive for \"" + fileName + "\"");
    }
    try {
        RunStatement("PRAGMA trusted_schema = OFF");
    } catch (...) {
        sqlite3_close(connection_);
        connection_ = nullptr;
        throw;
    }
}

TSQLiteDatabase::~TSQLiteDatabase() {
    if (InTransaction) {
        try {
            CancelTransaction();
        } catch (const ESQLiteException&) {
            // Closing rolls back whatever is left.
        }
    }
    if (connection_ != nullptr) sqlite3_close(connection_);
}

void TSQLiteDatabase::RaiseSQLiteError(const std::string& message, const std::string& sql) {
    const int code = sqlite3_errcode(connection_);
    const char* text = code != 0 ? sqlite3_errmsg(connection_) : nullptr;
    if (text == nullptr) throw ESQLiteException(message, code);
    throw ESQLiteException(message + ".\rError [" + std::to_string(code) + "]: " + SQLiteResultText(code) + ".\r\"" +
                               sql + "\": " + text,
                           code);
}

TSQLiteStatement TSQLiteDatabase::PrepareStatement(const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    const int result = sqlite3_prepare_v2(connection_, sql.c_str(), -1, &raw, nullptr);
    TSQLiteStatement statement(raw);
    if (result != SQLITE_OK) RaiseSQLiteError("Error executing SQL", sql);
    if (!statement) RaiseSQLiteError("Could not prepare SQL statement", sql);
    if (OnStatement) OnStatement(*this, sql);
    BindNamedParameters(statement.Get());
    return statement;
}

void TSQLiteDatabase::BindNamedParameters(sqlite3_stmt* statement) {
    TClearOnExit clearAfterwards{[this] { params_.clear(); }};
    for (const TNamedParam& param : params_) {
        const int index = sqlite3_bind_parameter_index(statement, param.Name.c_str());
        if (index <= 0) continue;
        switch (param.Kind) {
            case TParamKind::Integer: sqlite3_bind_int64(statement, index, param.Integer); break;
            case TParamKind::Float: sqlite3_bind_double(statement, index, param.Float); break;
            case TParamKind::Text:
                sqlite3_bind_text(statement, index, param.Text.data(), static_cast<int>(param.Text.size()),
                                  SQLITE_TRANSIENT);
                break;
            case TParamKind::Null: sqlite3_bind_null(statement, index); break;
        }
    }
}

void TSQLiteDatabase::AddParamInt(const std::string& name, int64_t value) {
    params_.push_back({name, TParamKind::Integer, value, 0, {}});
}
void TSQLiteDatabase::AddParamFloat(const std::string& name, double value) {
    params_.push_back({name, TParamKind::Float, 0, value, {}});
}
void TSQLiteDatabase::AddParamText(const std::string& name, const std::string& value) {
    params_.push_back({name, TParamKind::Text, 0, 0, value});
}
void TSQLiteDatabase::AddParamNull(const std::string& name) { params_.push_back({name, TParamKind::Null, 0, 0, {}}); }

void TSQLiteDatabase::BindData(sqlite3_stmt* statement, std::span<const TSQLiteValue> values) {
    for (size_t i = 0; i < values.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        const char* failure = nullptr;
        int result = SQLITE_OK;
        auto text = [&](const char* data, int length) {
            failure = "Could not bind text";
            return sqlite3_bind_text(statement, index, data, length, SQLITE_TRANSIENT);
        };
        std::visit(TOverloaded{
                       [&](std::monostate) { throw ESQLiteException("Unhandled binding"); },
                       [&](int32_t v) {
                           failure = "Could not bind integer";
                           result = sqlite3_bind_int(statement, index, v);
                       },
                       [&](bool v) {
                           failure = "Could not bind boolean";
                           result = sqlite3_bind_int(statement, index, v ? 1 : 0);
                       },
                       [&](double v) {
                           failure = "Could not bind extended";
                           result = sqlite3_bind_double(statement, index, v);
                       },
                       [&](int64_t v) {
                           failure = "Could not bind int64";
                           result = sqlite3_bind_int64(statement, index, v);
                       },
                       [&](std::nullptr_t) {
                           failure = "Could not bind null";
                           result = sqlite3_bind_null(statement, index);
                       },
                       [&](const void* v) {
                           if (v != nullptr) throw ESQLiteException("Unhandled pointer (<> nil)");
                           failure = "Could not bind null";
                           result = sqlite3_bind_null(statement, index);
                       },
                       // Texts are bound as their bytes, without a terminating zero.
                       [&](char v) { result = text(&v, 1); },
                       [&](const std::string& v) { result = text(v.data(), static_cast<int>(v.size())); },
                       [&](const char* v) { result = text(v, -1); },
                       [&](char16_t v) {
                           const std::string utf8 = Utf16ToUtf8(std::u16string_view(&v, 1));
                           result = text(utf8.c_str(), -1);
                       },
                       [&](const std::u16string& v) {
                           const std::string utf8 = Utf16ToUtf8(v);
                           result = text(utf8.c_str(), -1);
                       },
                       [&](const TSQLiteMemoryStream& v) {
                           failure = "Could not bind BLOB";
                           const size_t from = v.Position < v.Bytes.size() ? v.Position : v.Bytes.size();
                           const size_t count = v.Bytes.size() - from;
                           result = count == 0 ? sqlite3_bind_zeroblob(statement, index, 0)
                                               : sqlite3_bind_blob(statement, index, v.Bytes.data() + from,
                                                                   static_cast<int>(count), SQLITE_STATIC);
                       },
                       [&](std::istream* v) {
                           if (v == nullptr) throw ESQLiteException("Unhandled object-type in binding");
                           failure = "Could not bind BLOB";
                           v->clear();
                           v->seekg(0);
                           const std::string bytes{std::istreambuf_iterator<char>(*v),
                                                   std::istreambuf_iterator<char>()};
                           if (bytes.empty()) {
                               result = sqlite3_bind_zeroblob(statement, index, 0);
                               return;
                           }
                           void* buffer = sqlite3_malloc64(bytes.size());
                           if (buffer == nullptr) throw ESQLiteException("Error getting memory to save blob");
                           std::memcpy(buffer, bytes.data(), bytes.size());
                           result = sqlite3_bind_blob(statement, index, buffer, static_cast<int>(bytes.size()),
                                                      sqlite3_free);
                       },
                   },
                   values[i]);
        if (result != SQLITE_OK) RaiseSQLiteError(failure, "BindData");
    }
}

void TSQLiteDatabase::RunStatement(const std::string& sql) { RunStatementWithValues(sql, {}); }

void TSQLiteDatabase::RunStatementWithValues(const std::string& sql, std::span<const TSQLiteValue> values) {
    TSQLiteStatement statement = PrepareStatement(sql);
    BindData(statement.Get(), values);
    if (sqlite3_step(statement.Get()) != kDone) {
        sqlite3_reset(statement.Get());
        RaiseSQLiteError("Error executing SQL statement", sql);
    }
}

TSQLiteTable TSQLiteDatabase::QueryTable(const std::string& sql) { return TSQLiteTable(*this, sql); }

bool TSQLiteDatabase::HasTable(const std::string& tableName) {
    const TSQLiteTable table = QueryTable(
        "select [sql] from sqlite_master where [type] = 'table' and lower(name) = '" + LowerAscii(tableName) + "' ");
    return table.RowCount() > 0;
}

bool TSQLiteDatabase::HasColumn(const std::string& tableName, const std::string& columnName) {
    const TSQLiteTable table = QueryTable("select 1 from pragma_table_info('" + tableName + "') where lower(name) = '" +
                                          LowerAscii(columnName) + "' ");
    return table.RowCount() > 0;
}

void TSQLiteDatabase::CancelTransaction() {
    RunStatement("ROLLBACK");
    InTransaction = false;
}

}  // namespace nullvane::stores
