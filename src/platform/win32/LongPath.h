#pragma once
// Paths handed to the W functions in the form that reaches every file.
#include <string>

namespace nullvane::platform::win32 {

// The UTF-16 form of a path, given the "\\?\" prefix where the plain form
// would fail: paths of MAX_PATH or more, and names ending in "." or " ",
// which the system otherwise trims. Only absolute paths without "/" and
// without "." or ".." steps are prefixed; others pass unchanged.
// With `lastIsMask` the last name is a listing mask and never decides.
[[nodiscard]] std::wstring WidePath(const std::string& path, bool lastIsMask = false);

// A path the system gives back with "\\?\" or "\\?\UNC\" in front, in the
// plain form the program uses ("C:\Dir", "\\server\share\Dir").
[[nodiscard]] std::wstring WithoutLongPrefix(std::wstring path);

}  // namespace nullvane::platform::win32
