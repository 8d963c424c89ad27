#pragma once
// What the Cookies Manager shows and saves, shared with nullvane-cli: the
// keep list of "Cookies.dat", and the cookies of the cookie folder and the
// sites of the browsers' cookie databases that no keep entry (of
// "Cookies.dat" or "Cookies.ini") keeps.
#include <string>
#include <vector>

#include "browsers/BrowserCookieSites.h"
#include "platform/Platform.h"

namespace nullvane::browsers {

// A cookie file found and not kept: its site as ReadCookieSite gives it and
// the file's full path. A site KeepEntryFault refuses is left out.
struct TFoundCookie {
    std::string Site;
    std::string File;
};

struct TCookiesManagerLists {
    // The folder listed, with its trailing "\"; empty when there is none.
    std::string CookieFolder;
    // "Cookies.dat" in order, empty entries left out.
    std::vector<std::string> Keep;
    // In listing order; several files of one site give several entries.
    std::vector<TFoundCookie> Found;
    // The browsers' sites as FindBrowserCookieSites gives them, but those
    // the keep list keeps (KeepsCookieHost) and those KeepEntryFault refuses.
    std::vector<TBrowserCookieSite> BrowserSites;
};

[[nodiscard]] std::string CookiesDatPath(platform::Platform& machine);

// Reads "Cookies.dat", lists the cookie folder the cleaner takes first and
// reads the browsers' cookie databases.
[[nodiscard]] TCookiesManagerLists ReadCookiesManagerLists(platform::Platform& machine);

// "Count" and the keys "0" to Count - 1 of "Cookies to keep"; keys of a
// longer earlier list stay (Count bounds the reading). False when a value
// could not be written.
[[nodiscard]] bool WriteCookiesDat(platform::Platform& machine, const std::vector<std::string>& entries);

// The file an entry of the keep list names, if it names one (an entry
// holding ".txt" is a cookie file's name); empty for a site.
[[nodiscard]] std::string KeepEntryFile(const std::string& cookieFolder, const std::string& entry);

}  // namespace nullvane::browsers
