#pragma once
// A removing run refuses to start while a ticked browser is open.
#include <optional>
#include <string>

#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "run/CleanItemTree.h"
#include "base/RunContext.h"

namespace nullvane::run {

// The notice that refuses the run, or nullopt if it may start. Firefox is
// checked for a requested or unattended clean, Chrome and Opera for any run
// but a Test; the removing pass after a pre-scan (rmClean) is not checked
// again. A browser is open when its window exists or, since a browser may
// run without a window, when it holds its profile lock: "parent.lock" in any
// Firefox profile, "lockfile" in Chrome's "User Data" or in an Opera
// Chromium profile.
[[nodiscard]] std::optional<std::string> BrowserRefusal(const TCleanItemTree& tree, platform::Platform& machine,
                                                        base::TRunMode mode);
// The window checks alone, for a caller without the machine's files.
[[nodiscard]] std::optional<std::string> BrowserRefusal(const TCleanItemTree& tree, platform::Desktop& desktop,
                                                        base::TRunMode mode);

}  // namespace nullvane::run
