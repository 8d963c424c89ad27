#pragma once
// Windows of this and other programs: find by class, post messages.
#include <cstdint>
#include <string>

namespace nullvane::platform {

// An opaque window identity (the HWND's value); 0 is no window.
using WindowId = uintptr_t;

class Desktop {
public:
    virtual ~Desktop() = default;
    // The first top-level window of that class, or 0.
    [[nodiscard]] virtual WindowId FindWindowByClass(const std::string& className) = 0;
    virtual bool PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    virtual bool SetForegroundWindow(WindowId window) = 0;

    // Empties every recycle bin without confirmation, progress or sound;
    // false if the shell offers no such operation or it failed.
    virtual bool EmptyRecycleBin() = 0;
    // Opens, empties and closes the clipboard; false if it could not be opened.
    virtual bool EmptyClipboard() = 0;
};

}  // namespace nullvane::platform
