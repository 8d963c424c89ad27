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
// checked for a requested or unattended clean, Chrome for any run but a
// Test; the removing pass after a pre-scan (rmClean) is not checked again.
[[nodiscard]] std::optional<std::string> BrowserRefusal(const TCleanItemTree& tree, platform::Desktop& desktop,
                                                        TRunMode mode);
// The same, and a browser that holds its profile lock counts as open too
// (it may run without a window): "parent.lock" in any Firefox profile.
[[nodiscard]] std::optional<std::string> BrowserRefusal(const TCleanItemTree& tree, platform::Platform& machine,
                                                        TRunMode mode);

}  // namespace nullvane::run
