#pragma once
// Where the browser keeps its cache, cookies, history and local data.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::browsers {

// `folder` and `name` with exactly one "\" between them; empty when the
// folder is, so a failed lookup never becomes a root or a relative path.
[[nodiscard]] std::string JoinPath(const std::string& folder, const std::string& name);

// A special folder (CSIDL) looked up after ending the browser session, so
// the shell answers with the current folder: with a trailing "\", or empty.
[[nodiscard]] std::string GetIESpecialFolder(platform::Platform& machine, int csidl);
// The Temporary Internet Files folder, as GetIESpecialFolder gives it.
[[nodiscard]] std::string GetInternetCacheFolder(platform::Platform& machine);

// The browser's folder under the local application data, when it exists
// (no trailing "\"); else empty.
[[nodiscard]] std::string GetIELocalFolder(platform::Platform& machine);
// Its "Recovery" folder, when it exists (no trailing "\"); else empty.
[[nodiscard]] std::string GetIERecoveryFolder(platform::Platform& machine);

// The cookie folders a Clean examines, each with its trailing "\": the
// shell's cookie folder (or the Windows folder's "cookies"), and its "Low"
// subfolder when that holds cookies; only "Low" when the folder itself holds
// none. A Test and the Cookies Manager take the first. Links are never taken.
[[nodiscard]] std::vector<std::string> IECookieFolders(platform::Platform& machine);

}  // namespace nullvane::browsers
