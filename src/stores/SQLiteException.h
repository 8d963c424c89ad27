#pragma once
// Every failure of the SQLite layer: its message, and the result code that
// SQLite gave where there was one (0 otherwise).
#include <stdexcept>
#include <string>

namespace nullvane::stores {

class ESQLiteException : public std::runtime_error {
public:
    explicit ESQLiteException(const std::string& message, int code = 0) : std::runtime_error(message), code_(code) {}

    [[nodiscard]] int Code() const { return code_; }
    // Another connection holds the file or a table (SQLITE_BUSY, SQLITE_LOCKED,
    // extended codes included): the database is in use, not damaged.
    [[nodiscard]] bool InUse() const { return (code_ & 0xff) == 5 || (code_ & 0xff) == 6; }

    // SQLite calls the file damaged or no database (SQLITE_CORRUPT, SQLITE_NOTADB).
    [[nodiscard]] bool Damaged() const { return (code_ & 0xff) == 11 || (code_ & 0xff) == 26; }
    // The file or its folder can only be read (SQLITE_READONLY).
    [[nodiscard]] bool ReadOnly() const { return (code_ & 0xff) == 8; }

private:
    int code_;
};

}  // namespace nullvane::stores
