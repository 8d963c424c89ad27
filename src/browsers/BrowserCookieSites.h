#pragma once
// The sites whose cookies the browsers' cookie databases hold, for the
// Cookies Manager: every browser of the table with every profile, and
// Opera's Chromium profiles.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::browsers {

inline constexpr char kOperaBrowserName[] = "Opera";

// One site (a cookie host without its leading dots, in lower case) and the
// browsers holding its cookies: their names in table order, Opera last, each once.
struct TBrowserCookieSite {
    std::string Site;
    std::vector<std::string> Browsers;
};

// Every site once, in order of its text. Each Chromium profile's
// "Network\Cookies" and old "Cookies", each Gecko profile's cookies.sqlite,
// read read-only; a database that cannot be read adds nothing.
[[nodiscard]] std::vector<TBrowserCookieSite> FindBrowserCookieSites(platform::Platform& machine);

}  // namespace nullvane::browsers
