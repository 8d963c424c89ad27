#pragma once
// The program's web addresses, all under its own domain.
#include "NullvaneVersion.h"

namespace nullvane::app {

inline constexpr char kHomePageUrl[] = "https://www.nullvane.app/";
inline constexpr char kHomePageText[] = "www.nullvane.app";
inline constexpr char kUpdateCheckUrl[] = "https://www.nullvane.app/update?version=" NULLVANE_VERSION_TEXT;
inline constexpr char kDonateUrl[] = "https://www.nullvane.app/donate";
// What index.dat files are, opened from the Index.dat viewer.
inline constexpr char kIndexDatPageUrl[] = "https://www.nullvane.app/index-dat";
inline constexpr char kSupportEmail[] = "support@nullvane.app";

}  // namespace nullvane::app
