#pragma once
// The site a browser cookie file belongs to.
#include <string>

#include "platform/FileSystem.h"

namespace nullvane::browsers {

// The file's third line (a host name and a path) without one trailing "/";
// lines end in LF or CR LF. Empty when the file cannot be read or has fewer
// than three lines, or when they do not end within the first 64 KiB (no
// more of the file is read).
[[nodiscard]] std::string ReadCookieSite(platform::FileSystem& files, const std::string& path);

}  // namespace nullvane::browsers
