#pragma once
// Text for an attached debugger (OutputDebugStringW), for reports no user sees.
#include <string_view>

namespace nullvane::platform::win32 {

void WriteDebugOutput(std::string_view line) noexcept;

}  // namespace nullvane::platform::win32
