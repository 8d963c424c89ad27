#pragma once
// UTF-8 above the platform layer, UTF-16 at the W function call.
#include <string>
#include <string_view>

namespace nullvane::platform::win32 {

[[nodiscard]] std::wstring Widen(std::string_view text);
[[nodiscard]] std::string Narrow(std::wstring_view text);

}  // namespace nullvane::platform::win32
