#pragma once
// Where the browser keeps its cache, cookies, history and local data.
#include <string>

#include "platform/Platform.h"

namespace nullvane::cleaners {

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

}  // namespace nullvane::cleaners
