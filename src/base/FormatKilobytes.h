#pragma once
#include <cstdint>
#include <string>

namespace nullvane::base {

// A byte count as whole kilobytes, rounded up, with "," between groups of
// three digits: 1048576 -> "1,024".
[[nodiscard]] std::string FormatKilobytes(uint64_t bytes);

}  // namespace nullvane::base
