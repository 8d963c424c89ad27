#include "browsers/CookiesManagerLists.h"

#include "browsers/BrowserCookies.h"
#include "browsers/CookieKeepList.h"
#include "browsers/CookieSite.h"
#include "browsers/InternetExplorerFolders.h"
#include "removal/FileRemoval.h"

namespace nullvane::browsers {

std::string CookiesDatPath(platform::Platform& machine) { return machine.system.ProgramFolder() + kCookiesDatName; }

TCookiesManagerLists ReadCookiesManagerLists(platform::Platform& machine) {
    TCookiesManagerLists lists;
    const TCookieKeepList kept = TCookieKeepList::ReadOne(machine, kCookiesDatName, kCookiesDatSection);
    lists.Keep = kept.Entries;
    // "Cookies.ini" keeps cookies too; the window never writes it, so its
    // cookies are not offered at all.
    const TCookieKeepList keptByIni = TCookieKeepList::ReadOne(machine, kCookiesIniName, kCookiesIniSection);
    std::vector<std::string> keptSites = KeptCookieSites(kept);
    for (std::string& site : KeptCookieSites(keptByIni)) keptSites.push_back(std::move(site));
    for (TBrowserCookieSite& found : FindBrowserCookieSites(machine))
        if (!KeepsCookieHost(keptSites, found.Site) && !KeepEntryFault(found.Site))
            lists.BrowserSites.push_back(std::move(found));
    const std::vector<std::string> folders = IECookieFolders(machine);
    if (folders.empty()) return lists;
    lists.CookieFolder = folders.front();
    std::vector<std::string> names;
    for (const platform::FileEntry& entry : removal::FilesIn(machine.files, lists.CookieFolder))
        if (entry.name.find(".txt") != std::string::npos) names.push_back(entry.name);
    for (const std::string& name : names) {
        const std::string file = lists.CookieFolder + name;
        std::string site = ReadCookieSite(machine.files, file);
        if (kept.Keeps(name, site) || keptByIni.Keeps(name, site)) continue;
        // A site the keep list could not hold is not offered for it.
        if (KeepEntryFault(site)) continue;
        lists.Found.push_back({std::move(site), file});
    }
    return lists;
}

bool WriteCookiesDat(platform::Platform& machine, const std::vector<std::string>& entries) {
    const std::string file = CookiesDatPath(machine);
    if (!machine.profiles.WriteString(file, kCookiesDatSection, "Count", std::to_string(entries.size()))) return false;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!machine.profiles.WriteString(file, kCookiesDatSection, std::to_string(i), entries[i])) return false;
    }
    return true;
}

std::string KeepEntryFile(const std::string& cookieFolder, const std::string& entry) {
    if (cookieFolder.empty() || entry.find(".txt") == std::string::npos) return {};
    return cookieFolder + entry;
}

}  // namespace nullvane::browsers
