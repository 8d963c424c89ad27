#pragma once
// Windows of this and other programs (find by class, post messages) and the
// monitors they are shown on.
#include <cstdint>
#include <string>
#include <vector>

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

// A top-level window as the desktop lists it.
struct TopLevelWindow {
    WindowId window = 0;
    std::string className;
    bool visible = false;
    // The process that made the window: with the class, what tells a window
    // from a later one that was given the same handle.
    uint32_t processId = 0;
};

// Modifiers of a system-wide hot key (the Windows values).
enum HotKeyModifier : uint32_t { hkAlt = 0x1, hkControl = 0x2, hkShift = 0x4 };

class Desktop {
public:
    virtual ~Desktop() = default;
    // The first top-level window of that class, or 0.
    [[nodiscard]] virtual WindowId FindWindowByClass(const std::string& className) = 0;
    virtual bool PostToWindow(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    virtual bool SetForegroundWindow(WindowId window) = 0;
    // The monitor that the rectangle overlaps most, or the nearest one when
    // it overlaps none. Any values are accepted, however far off.
    [[nodiscard]] virtual MonitorArea MonitorNear(const ScreenRect& rect) = 0;

    // Empties every recycle bin without confirmation, progress or sound;
    // false if the shell offers no such operation or it failed.
    virtual bool EmptyRecycleBin() = 0;
    // Opens, empties and closes the clipboard; false if it could not be opened.
    virtual bool EmptyClipboard() = 0;

    // Global atoms of the session: the identity of a system-wide hot key.
    // 0 when the atom cannot be added or is not there.
    [[nodiscard]] virtual uint16_t AddGlobalAtom(const std::string& name) = 0;
    [[nodiscard]] virtual uint16_t FindGlobalAtom(const std::string& name) = 0;
    virtual void DeleteGlobalAtom(uint16_t atom) = 0;
    // A hot key that posts WM_HOTKEY (wParam = id) to `window`; false when
    // the combination is taken (another program holds it).
    virtual bool RegisterHotKey(WindowId window, int id, uint32_t modifiers, uint32_t virtualKey) = 0;
    virtual void UnregisterHotKey(WindowId window, int id) = 0;
    // Every top-level window, front to back.
    [[nodiscard]] virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;
    // The file name (no folder) of the program a process runs, as its image
    // was started ("msedge.exe"); empty when the system does not tell.
    [[nodiscard]] virtual std::string ProcessImageName(uint32_t processId) = 0;
    // Shows or hides another program's window without waiting for that
    // program: a hung one cannot hold the caller.
    virtual void ShowWindowAsync(WindowId window, bool show) = 0;
    // The reason Windows shows while this window holds the end of the
    // session up; an empty reason takes it away. Looked up at run time: false
    // where the system has none.
    virtual bool SetShutdownBlockReason(WindowId window, const std::string& reason) = 0;
};

}  // namespace nullvane::platform
