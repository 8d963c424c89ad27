#include "browsers/BrowserCookieSites.h"

#include <algorithm>
#include <map>

#include "browsers/BrowserCookies.h"
#include "browsers/BrowserTable.h"
#include "browsers/ChromiumProfiles.h"
#include "browsers/GeckoProfiles.h"

namespace nullvane::browsers {

namespace {

class TSiteCollector {
public:
    explicit TSiteCollector(platform::FileSystem& files) : files_(files) {}

    void AddDatabase(const std::string& path, const TCookieTable& table, const std::string& browser) {
        for (std::string& site : ReadCookieDatabaseSites(files_, path, table)) {
            std::vector<std::string>& browsers = sites_[std::move(site)];
            if (std::find(browsers.begin(), browsers.end(), browser) == browsers.end()) browsers.push_back(browser);
        }
    }
    void AddChromiumProfiles(const std::vector<TChromiumProfile>& profiles, const std::string& browser) {
        for (const TChromiumProfile& profile : profiles)
            for (const char* name : {"Network\\Cookies", "Cookies"})
                AddDatabase(profile.Folder + name, kChromiumCookieTable, browser);
    }

    [[nodiscard]] std::vector<TBrowserCookieSite> Sites() && {
        std::vector<TBrowserCookieSite> sites;
        sites.reserve(sites_.size());
        for (auto& [site, browsers] : sites_) sites.push_back({site, std::move(browsers)});
        return sites;
    }

private:
    platform::FileSystem& files_;
    std::map<std::string, std::vector<std::string>> sites_;
};

}  // namespace

std::vector<TBrowserCookieSite> FindBrowserCookieSites(platform::Platform& machine) {
    TSiteCollector collector(machine.files);
    for (const TBrowser& browser : BrowserTable()) {
        if (browser.Family == bfChromium) {
            collector.AddChromiumProfiles(ChromiumProfiles(machine, browser), browser.Name);
            continue;
        }
        for (const TGeckoProfile& profile : FindGeckoProfiles(machine, browser).Profiles)
            if (!profile.Folder.empty())
                collector.AddDatabase(profile.Folder + "\\cookies.sqlite", kGeckoCookieTable, browser.Name);
    }
    // The application data folder is read without ending the browser
    // session: listing changes nothing.
    collector.AddChromiumProfiles(
        OperaChromiumProfiles(machine, machine.system.SpecialFolder(platform::csidlAppData)), kOperaBrowserName);
    return std::move(collector).Sites();
}

}  // namespace nullvane::browsers
