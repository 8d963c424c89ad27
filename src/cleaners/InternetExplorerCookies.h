#pragma once
// Where "Internet Explorer - Cookies" looks for the cookie files.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::cleaners {

// The cookie folders a Clean examines, each with its trailing "\": the
// shell's cookie folder (or the Windows folder's "cookies"), and its "Low"
// subfolder when that holds cookies; only "Low" when the folder itself holds
// none. A Test and the Cookies Manager take the first. Links are never taken.
[[nodiscard]] std::vector<std::string> IECookieFolders(platform::Platform& machine);

}  // namespace nullvane::cleaners
