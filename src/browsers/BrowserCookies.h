#pragma once
// The cookies of the browsers' cookie databases and the sites the keep list
// keeps in them. A kept site "example.com" keeps the cookies of the hosts
// "example.com", ".example.com" and every "*.example.com": leading dots and
// ASCII letter case aside, the host is the site or ends with "." + site.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/RunContext.h"
#include "browsers/BrowserDatabase.h"
#include "browsers/CookieKeepList.h"
#include "platform/FileSystem.h"

namespace nullvane::browsers {

// Where a family's cookie database holds its cookies and their hosts.
struct TCookieTable {
    const char* Table;
    const char* HostColumn;
};
inline constexpr TCookieTable kChromiumCookieTable{"cookies", "host_key"};
inline constexpr TCookieTable kGeckoCookieTable{"moz_cookies", "host"};

// A cookie's host as a site: without its leading dots, letters in ASCII lower case.
[[nodiscard]] std::string CookieHostSite(std::string_view host);

// The sites the keep list keeps in the browsers: every entry that names no
// cookie file, up to its first "/" (an entry of a cookie file's site holds a
// path), without a leading "*." or dots, in lower case; each once, in order.
[[nodiscard]] std::vector<std::string> KeptCookieSites(const TCookieKeepList& list);

// Whether one of `sites` (as KeptCookieSites gives them) keeps the cookies of `host`.
[[nodiscard]] bool KeepsCookieHost(const std::vector<std::string>& sites, std::string_view host);

// Secure delete on, then the cookies no site keeps deleted. `sites` is not empty.
[[nodiscard]] std::vector<TDatabaseStatement> KeepCookieStatements(const TCookieTable& table,
                                                                   const std::vector<std::string>& sites);

// The sites of the hosts a cookie database holds (CookieHostSite), each once,
// read through a read-only connection with triggers off. None when the file
// is a link or cannot be read (a browser holding it, no such table, damaged).
[[nodiscard]] std::vector<std::string> ReadCookieDatabaseSites(platform::FileSystem& files, const std::string& path,
                                                               const TCookieTable& table);

// How many cookies KeepCookieStatements would delete, read as above; nothing
// when the database cannot be read.
[[nodiscard]] std::optional<int64_t> CountCookiesNotKept(platform::FileSystem& files, const std::string& path,
                                                         const TCookieTable& table,
                                                         const std::vector<std::string>& sites);

// A Cookies item's step on one cookie database while the keep list keeps
// sites: the cookies no site keeps are counted into run.ItemCount, and a
// Clean deletes them through CleanDatabase (counted once committed); the
// file and its companions stay.
void KeepOnlyKeptCookies(base::TRunContext& run, const std::string& path, const TCookieTable& table,
                         const std::vector<std::string>& sites);

}  // namespace nullvane::browsers
