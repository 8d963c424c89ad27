#include "platform/win32/DebugOutput.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <string>

namespace nullvane::platform::win32 {

void WriteDebugOutput(std::string_view line) noexcept {
    try {
        std::wstring text = L"Nullvane: " + Widen(line) + L"\n";
        OutputDebugStringW(text.c_str());
    } catch (...) {
        // Nothing to write it with.
    }
}

}  // namespace nullvane::platform::win32
