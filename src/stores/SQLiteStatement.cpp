#include "stores/SQLiteStatement.h"

#include <sqlite3.h>

namespace nullvane::stores {

TSQLiteStatement::~TSQLiteStatement() {
    if (statement_ != nullptr) sqlite3_finalize(statement_);
}

TSQLiteStatement& TSQLiteStatement::operator=(TSQLiteStatement&& other) noexcept {
    if (this != &other) {
        if (statement_ != nullptr) sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
    }
    return *this;
}

}  // namespace nullvane::stores
