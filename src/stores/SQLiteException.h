#pragma once
// Every failure of the SQLite layer; it carries only its message.
#include <stdexcept>
#include <string>

namespace nullvane::stores {

class ESQLiteException : public std::runtime_error {
public:
    explicit ESQLiteException(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace nullvane::stores
