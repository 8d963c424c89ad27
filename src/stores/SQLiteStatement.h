#pragma once
// A prepared statement, finalized when its owner goes.
#include <utility>

struct sqlite3_stmt;

namespace nullvane::stores {

class TSQLiteStatement {
public:
    TSQLiteStatement() = default;
    explicit TSQLiteStatement(sqlite3_stmt* statement) : statement_(statement) {}
    ~TSQLiteStatement();
    TSQLiteStatement(TSQLiteStatement&& other) noexcept : statement_(std::exchange(other.statement_, nullptr)) {}
    TSQLiteStatement& operator=(TSQLiteStatement&& other) noexcept;
    TSQLiteStatement(const TSQLiteStatement&) = delete;
    TSQLiteStatement& operator=(const TSQLiteStatement&) = delete;

    [[nodiscard]] sqlite3_stmt* Get() const { return statement_; }
    [[nodiscard]] explicit operator bool() const { return statement_ != nullptr; }

private:
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace nullvane::stores
