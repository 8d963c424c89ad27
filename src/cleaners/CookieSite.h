#pragma once
// The site a browser cookie file belongs to.
#include <string>

#include "platform/FileSystem.h"

namespace nullvane::cleaners {

// The file's third line (a host name and a path) without one trailing "/";
// lines end in LF or CR LF. Empty when the file cannot be read or has fewer
// than three lines.
[[nodiscard]] std::string ReadCookieSite(platform::FileSystem& files, const std::string& path);

}  // namespace nullvane::cleaners
