#pragma once
// Windows of this and other programs (find by class, post messages) and the
// monitors they are shown on.
#include <cstdint>
#include <string>

namespace nullvane::platform {

// An opaque window identity (the HWND's value); 0 is no window.
using WindowId = uintptr_t;

// A rectangle in desktop pixels (the coordinates that span all monitors).
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// What the monitor nearest a rectangle offers a window.
struct MonitorArea {
    // The monitor less the task bar and other bars docked at its edges.
    ScreenRect workArea;
    // Some part of the rectangle is on a monitor (not necessarily this one).
    bool overlaps = false;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // The first top-level window of that class, or 0.
    [[nodiscard]] virtual WindowId FindWindowByClass(const std::string& className) = 0;
    virtual bool PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    virtual bool SetForegroundWindow(WindowId window) = 0;
    // The monitor that the rectangle overlaps most, or the nearest one when
    // it overlaps none. Any values are accepted, however far off.
    [[nodiscard]] virtual MonitorArea MonitorNear(const ScreenRect& rect) = 0;

    // Empties every recycle bin without confirmation, progress or sound;
    // false if the shell offers no such operation or it failed.
    virtual bool EmptyRecycleBin() = 0;
    // Opens, empties and closes the clipboard; false if it could not be opened.
    virtual bool EmptyClipboard() = 0;
};

}  // namespace nullvane::platform
