#pragma once
// Top-level windows of this and other programs through the window manager.
#include "platform/Desktop.h"

namespace nullvane::platform::win32 {

class Win32Desktop final : public Desktop {
public:
    [[nodiscard]] WindowId FindWindowByClass(const std::string& className) override;
    // Refuses window 0: posting there would go to the thread's own queue.
    bool PostToWindow(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool SetForegroundWindow(WindowId window) override;
    // MonitorFromRect and GetMonitorInfoW.
    [[nodiscard]] MonitorArea MonitorNear(const ScreenRect& rect) override;
    // SHEmptyRecycleBinW, looked up at run time in shell32.
    bool EmptyRecycleBin() override;
    bool EmptyClipboard() override;
    [[nodiscard]] uint16_t AddGlobalAtom(const std::string& name) override;
    [[nodiscard]] uint16_t FindGlobalAtom(const std::string& name) override;
    void DeleteGlobalAtom(uint16_t atom) override;
    bool RegisterHotKey(WindowId window, int id, uint32_t modifiers, uint32_t virtualKey) override;
    void UnregisterHotKey(WindowId window, int id) override;
    [[nodiscard]] std::vector<TopLevelWindow> TopLevelWindows() override;
    [[nodiscard]] std::string ProcessImageName(uint32_t processId) override;
    void ShowWindowAsync(WindowId window, bool show) override;
    bool SetShutdownBlockReason(WindowId window, const std::string& reason) override;
};

}  // namespace nullvane::platform::win32
