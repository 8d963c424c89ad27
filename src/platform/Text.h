#pragma once
// Text helpers shared above the platform layer: the program's own
// case-insensitive comparisons fold ASCII letters only.
#include <string>
#include <string_view>

namespace nullvane::platform {

[[nodiscard]] std::string UpperAscii(std::string_view text);
[[nodiscard]] bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Adds a trailing "\" unless the path already ends with one (or is empty).
[[nodiscard]] std::string WithTrailingBackslash(std::string path);
// Matches a name against a FindFirstFile-style mask with "*" and "?".
[[nodiscard]] bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace nullvane::platform
