#pragma once
// A removing run refuses to start while a ticked browser is open.
#include <optional>
#include <string>
#include <string_view>

#include "base/RunContext.h"
#include "browsers/BrowserTable.h"
#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "run/CleanItemTree.h"

namespace nullvane::run {

// Why a run may not start: the notice, and the browser of the browser table
// that is open (null for Opera, which is not in it).
struct TBrowserRefusal {
    std::string Text;
    const browsers::TBrowser* Browser = nullptr;

    friend bool operator==(const TBrowserRefusal& refusal, std::string_view text) { return refusal.Text == text; }
};

// "Please close NAME firstly!", with the browser's note on why it may run
// without a window on a line of its own.
[[nodiscard]] std::string CloseBrowserText(const browsers::TBrowser& browser);

// The refusal, or nullopt if the run may start. Each browser of the browser
// table whose category is ticked is checked: the Gecko family for a
// requested or unattended clean, the Chromium family and Opera for any run
// but a Test; the removing pass after a pre-scan (rmClean) is not checked
// again. A browser is open when it holds its profile lock (a browser may run
// without a window): "parent.lock" in a Gecko profile, "lockfile" in a
// Chromium "User Data" folder or in an Opera Chromium profile. Firefox's own
// window classes count too; the Chromium window class does not (every
// program built on the same framework shares it).
[[nodiscard]] std::optional<TBrowserRefusal> BrowserRefusal(const TCleanItemTree& tree, platform::Platform& machine,
                                                            base::TRunMode mode);
// The window checks alone, for a caller without the machine's files.
[[nodiscard]] std::optional<TBrowserRefusal> BrowserRefusal(const TCleanItemTree& tree, platform::Desktop& desktop,
                                                            base::TRunMode mode);

// Whether the browser holds its profile lock now.
[[nodiscard]] bool BrowserLockHeld(platform::Platform& machine, const browsers::TBrowser& browser);
// Whether the browser refuses a removing run: its lock, and for Firefox its windows too.
[[nodiscard]] bool BrowserOpen(platform::Platform& machine, const browsers::TBrowser& browser);

}  // namespace nullvane::run
