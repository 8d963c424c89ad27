#pragma once
// Asking an open browser to close before a Clean: its windows are asked as
// the user's close button asks them, and nothing is ever ended by force.
#include <cstdint>
#include <functional>
#include <vector>

#include "browsers/BrowserTable.h"
#include "platform/Platform.h"

namespace nullvane::run {

// How long a closing browser is given to let go of its profile.
inline constexpr int kBrowserCloseWaitMs = 10000;

// The message every window's close button sends.
inline constexpr uint32_t kWmClose = 0x0010;

// Waits until `done` is true or `timeoutMs` passed; true when done. The
// window waits processing its messages, the command line by sleeping.
using TWaitUntil = std::function<bool(const std::function<bool()>& done, int timeoutMs)>;

// The top-level windows of the processes that run the browser's program.
[[nodiscard]] std::vector<platform::WindowId> BrowserWindows(platform::Desktop& desktop,
                                                             const browsers::TBrowser& browser);

// Posts WM_CLOSE to each of the browser's top-level windows, then waits up
// to kBrowserCloseWaitMs for it to let go of its profile (BrowserOpen). True
// when it did; false when the browser still runs.
[[nodiscard]] bool CloseBrowser(platform::Platform& machine, const browsers::TBrowser& browser,
                                const TWaitUntil& waitUntil);

// A wait that polls every 100 ms on the calling thread (no window to serve).
[[nodiscard]] bool SleepUntil(const std::function<bool()>& done, int timeoutMs);

}  // namespace nullvane::run
