#pragma once
// Text helpers shared above the platform layer: the program's own
// case-insensitive comparisons fold ASCII letters only.
#include <cstdint>
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

namespace nullvane::platform {

// UTF-8 <-> UTF-16 in standard C++, for the simulated services that must
// count and compare text as the system does (in UTF-16 units). Invalid
// input becomes U+FFFD, as the system's converters do.
[[nodiscard]] std::u16string Utf8ToUtf16(std::string_view text);
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);
// Appends one code point (or a lone surrogate, as its own three bytes) as UTF-8.
void AppendUtf8(std::string& out, uint32_t code);
// The upper case of one character as the file system and the profile
// functions fold it: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic.
[[nodiscard]] char16_t SystemUpperCase(char16_t c);
// Compares two names as the file system and the profile functions do.
[[nodiscard]] bool SystemEqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

}  // namespace nullvane::platform
