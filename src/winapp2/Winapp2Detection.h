#pragma once
// Whether a winapp2.ini entry's program is on this machine: a Detect key
// that exists, or a DetectFile path that exists (a wildcard only in its last
// name). An entry with neither is for every machine.
#include <optional>
#include <string>
#include <utility>

#include "platform/Platform.h"
#include "stores/Winapp2File.h"

namespace nullvane::winapp2 {

// "HKCU\Software\Vendor" (short or long root names, any case) as its root
// and its subkey; nullopt for an unknown root.
[[nodiscard]] std::optional<std::pair<platform::RegRoot, std::string>> SplitWinapp2Key(const std::string& key);

[[nodiscard]] bool IsDetected(platform::Platform& machine, const stores::TWinapp2Entry& entry);

}  // namespace nullvane::winapp2
