#include "support/BrowserFixture.h"

#include <sqlite3.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace nullvane::testing {

namespace {

std::string ReadSchemaFile() {
    // The test programs run in the build folder, where the build puts it.
    std::ifstream in("fixtures/browsers.sql", std::ios::binary);
    if (!in) throw std::runtime_error("fixtures/browsers.sql is missing from the working folder");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TConnection {
public:
    TConnection(const std::string& path, bool create) {
        int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
        if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
            std::string message = db_ ? sqlite3_errmsg(db_) : "no memory";
            sqlite3_close(db_);
            throw std::runtime_error("cannot open " + path + ": " + message);
        }
    }
    ~TConnection() { sqlite3_close(db_); }

    // Closing leaves the rows in the write-ahead log, as a browser that was
    // not shut down does: the database file alone lacks the newest rows.
    void KeepLogOnClose() {
        sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        Exec("PRAGMA wal_autocheckpoint=0");
    }
    TConnection(const TConnection&) = delete;
    TConnection& operator=(const TConnection&) = delete;

    void Exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::string message = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(message + " in: " + sql.substr(0, 200));
        }
    }
    long long Number(const std::string& query) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, query.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in: " + query);
        int step = sqlite3_step(statement);
        long long value = step == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
        sqlite3_finalize(statement);
        if (step != SQLITE_ROW) throw std::runtime_error("no row from: " + query);
        return value;
    }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace

std::string BrowserSchema(const std::string& title) {
    const std::string text = ReadSchemaFile();
    const std::string header = "-- == " + title;
    size_t at = text.find(header);
    if (at == std::string::npos) throw std::runtime_error("no schema section " + title);
    at = text.find('\n', at);
    size_t end = text.find("\n-- == ", at);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

void MakeBrowserDatabase(const std::string& hostPath, const std::string& title, bool wal, const std::string& rows) {
    TConnection db(hostPath, true);
    if (wal) {
        db.Exec("PRAGMA journal_mode=WAL");
        db.KeepLogOnClose();
    }
    db.Exec(BrowserSchema(title));
    db.Exec(rows);
}

long long QueryNumber(const std::string& hostPath, const std::string& query) {
    TConnection db(hostPath, false);
    return db.Number(query);
}

}  // namespace nullvane::testing
