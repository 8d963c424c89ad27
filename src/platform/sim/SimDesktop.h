#pragma once
// Simulated windows on the desktop: windows registered by class name, each
// with a handler that receives the messages posted to it when the window
// thread pumps its SimMessageQueue. Every posted message and every request to
// bring a window to the foreground is recorded.
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/sim/SimMessageQueue.h"

namespace nullvane::platform::sim {

struct PostedMessage {
    WindowId window = 0;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// A simulated monitor: its place on the desktop and its work area.
struct SimMonitor {
    ScreenRect bounds;
    ScreenRect workArea;
};

using WindowHandler = std::function<void(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

class SimDesktop final : public Desktop {
public:
    explicit SimDesktop(SimMessageQueue& queue);

    // A new top-level window of that class, above every other window.
    WindowId RegisterWindow(std::string className, WindowHandler handler = {});
    void SetHandler(WindowId window, WindowHandler handler);
    // Messages still queued for a destroyed window are dropped; its hot keys
    // and its reason for holding up the end of the session go with it.
    bool DestroyWindow(WindowId window);
    [[nodiscard]] bool IsWindow(WindowId window) const;

    // Class names compare without regard to case; the most recently
    // registered window of the class is found first.
    [[nodiscard]] WindowId FindWindowByClass(const std::string& className) override;
    // Fails for no window or a destroyed one. Thread-safe.
    bool PostToWindow(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool SetForegroundWindow(WindowId window) override;
    [[nodiscard]] MonitorArea MonitorNear(const ScreenRect& rect) override;
    // One monitor of 1280 x 1024 at 0, 0 with a task bar of 40 pixels at its
    // bottom, unless a test sets others (at least one).
    void SetMonitors(std::vector<SimMonitor> monitors);
    // The recycle bins and the clipboard are simulated by a counter and a text.
    bool EmptyRecycleBin() override;
    bool EmptyClipboard() override;
    [[nodiscard]] int EmptyRecycleBinCount() const;

    [[nodiscard]] uint16_t AddGlobalAtom(const std::string& name) override;
    [[nodiscard]] uint16_t FindGlobalAtom(const std::string& name) override;
    void DeleteGlobalAtom(uint16_t atom) override;
    bool RegisterHotKey(WindowId window, int id, uint32_t modifiers, uint32_t virtualKey) override;
    void UnregisterHotKey(WindowId window, int id) override;
    [[nodiscard]] std::vector<TopLevelWindow> TopLevelWindows() override;
    [[nodiscard]] std::string ProcessImageName(uint32_t processId) override;
    void ShowWindowAsync(WindowId window, bool show) override;
    bool SetShutdownBlockReason(WindowId window, const std::string& reason) override;
    // Every reason set, in order ("" for taken away), and the one in force.
    [[nodiscard]] std::vector<std::string> ShutdownBlockReasons() const;
    [[nodiscard]] std::string ShutdownBlockReason(WindowId window) const;
    // Another program holds that combination: registering it fails.
    void HoldHotKeyElsewhere(uint32_t modifiers, uint32_t virtualKey);
    // The hot keys registered now, as (window, id).
    [[nodiscard]] std::vector<std::pair<WindowId, int>> HotKeys() const;
    [[nodiscard]] std::vector<std::string> Atoms() const;
    // The process a window belongs to: kOwnProcessId unless a test says
    // another program made it.
    static constexpr uint32_t kOwnProcessId = 0x1F4;
    void SetWindowProcess(WindowId window, uint32_t processId);
    // The program a simulated process runs (ProcessImageName); none by default.
    void SetProcessImage(uint32_t processId, std::string imageName);
    // Windows start visible; a program may keep one of its windows hidden.
    void SetWindowVisible(WindowId window, bool visible);
    [[nodiscard]] bool IsWindowVisible(WindowId window) const;
    void SetClipboardText(std::string text);
    [[nodiscard]] std::string ClipboardText() const;

    // Thread-safe copies of the records.
    [[nodiscard]] std::vector<PostedMessage> Posted() const;
    [[nodiscard]] std::vector<PostedMessage> PostedTo(WindowId window) const;
    void ClearPosted();
    [[nodiscard]] std::vector<WindowId> ForegroundRequests() const;
    // The window last brought to the foreground, or 0.
    [[nodiscard]] WindowId ForegroundWindow() const;

private:
    struct Window {
        std::string className;
        WindowHandler handler;
        bool visible = true;
        uint32_t processId = kOwnProcessId;
    };
    struct HotKey {
        WindowId window;
        int id;
        uint32_t modifiers;
        uint32_t virtualKey;
    };

    SimMessageQueue& queue_;
    mutable std::mutex mutex_;
    std::map<uint32_t, std::string> processImages_;
    std::map<WindowId, Window> windows_;
    WindowId nextId_ = 0x10010;
    std::vector<PostedMessage> posted_;
    std::vector<WindowId> foregroundRequests_;
    int emptyRecycleBinCount_ = 0;
    std::string clipboardText_;
    std::map<uint16_t, std::pair<std::string, int>> atoms_;  // atom: name, references
    uint16_t nextAtom_ = 0xC000;
    std::vector<HotKey> hotKeys_;
    std::vector<std::pair<uint32_t, uint32_t>> heldElsewhere_;
    std::vector<std::string> blockReasonsSet_;
    std::map<WindowId, std::string> blockReasons_;
    std::vector<SimMonitor> monitors_{{{0, 0, 1280, 1024}, {0, 0, 1280, 984}}};
};

}  // namespace nullvane::platform::sim
