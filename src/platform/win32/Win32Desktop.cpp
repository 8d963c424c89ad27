#include "platform/win32/Win32Desktop.h"

#include <windows.h>
// The service names its own operations; the W functions are called by name.
#undef PostMessage

#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

WindowId Win32Desktop::FindWindowByClass(const std::string& className) {
    return reinterpret_cast<WindowId>(FindWindowW(Widen(className).c_str(), nullptr));
}

bool Win32Desktop::PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (window == 0) return false;
    return PostMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam) != FALSE;
}

bool Win32Desktop::SetForegroundWindow(WindowId window) {
    return ::SetForegroundWindow(reinterpret_cast<HWND>(window)) != FALSE;
}

}  // namespace nullvane::platform::win32
