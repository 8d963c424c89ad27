#include "run/BrowserClosing.h"

#include <chrono>
#include <thread>

#include "platform/Text.h"
#include "run/BrowserCheck.h"

namespace nullvane::run {

std::vector<platform::WindowId> BrowserWindows(platform::Desktop& desktop, const browsers::TBrowser& browser) {
    std::vector<platform::WindowId> windows;
    if (!browser.Executable) return windows;
    for (const platform::TopLevelWindow& window : desktop.TopLevelWindows())
        if (platform::EqualsIgnoreCase(desktop.ProcessImageName(window.processId), browser.Executable))
            windows.push_back(window.window);
    return windows;
}

bool CloseBrowser(platform::Platform& machine, const browsers::TBrowser& browser, const TWaitUntil& waitUntil) {
    for (platform::WindowId window : BrowserWindows(machine.desktop, browser))
        (void)machine.desktop.PostToWindow(window, kWmClose, 0, 0);
    return waitUntil([&] { return !BrowserOpen(machine, browser); }, kBrowserCloseWaitMs);
}

bool SleepUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

}  // namespace nullvane::run
