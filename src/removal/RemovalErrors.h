#pragma once
#include <stdexcept>
#include <string>

namespace nullvane::removal {

// Wininit.ini could not be read or written: the removal at the next start
// was not scheduled, which the caller must not take for success.
class EWininitError : public std::runtime_error {
public:
    explicit EWininitError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace nullvane::removal
