#include "browsers/BrowserTable.h"

#include "platform/Text.h"
#include "removal/Lookups.h"

namespace nullvane::browsers {

namespace {

constexpr char kFirefoxStore[] = "Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Roaming\\Mozilla\\Firefox";
constexpr char kFirefoxStoreCache[] = "Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Local\\Mozilla\\Firefox";
constexpr char kEdgeNote[] =
    "Microsoft Edge may keep running without a window while its Startup boost is on (Edge settings, System and performance).";

// A channel (Beta, Dev, Canary) is a source of its browser, never a browser.
const TBrowser kBrowsers[] = {
    {"Google Chrome", bfChromium, {{{drLocalAppData, "Google\\Chrome"}, {drLocalAppData, "Google\\Chrome Beta"}, {drLocalAppData, "Google\\Chrome Dev"}, {drLocalAppData, "Google\\Chrome SxS"}}}, nullptr, "chrome.exe"},
    {"Microsoft Edge", bfChromium, {{{drLocalAppData, "Microsoft\\Edge"}, {drLocalAppData, "Microsoft\\Edge Beta"}, {drLocalAppData, "Microsoft\\Edge Dev"}, {drLocalAppData, "Microsoft\\Edge SxS"}}}, kEdgeNote, "msedge.exe"},
    {"Brave", bfChromium, {{{drLocalAppData, "BraveSoftware\\Brave-Browser"}, {drLocalAppData, "BraveSoftware\\Brave-Browser-Beta"}, {drLocalAppData, "BraveSoftware\\Brave-Browser-Nightly"}}}, nullptr, "brave.exe"},
    {"Vivaldi", bfChromium, {{{drLocalAppData, "Vivaldi"}}}, nullptr, "vivaldi.exe"},
    {"Chromium", bfChromium, {{{drLocalAppData, "Chromium"}}}, nullptr, "chrome.exe"},
    {"Mozilla Firefox", bfGecko, {{{drAppData, "Mozilla\\Firefox"}, {drLocalAppData, kFirefoxStore, kFirefoxStoreCache}}}, nullptr, "firefox.exe"},
    {"LibreWolf", bfGecko, {{{drAppData, "librewolf"}}}, nullptr, "librewolf.exe"},
    {"Waterfox", bfGecko, {{{drAppData, "Waterfox"}}}, nullptr, "waterfox.exe"},
    {"Floorp", bfGecko, {{{drAppData, "Floorp"}}}, nullptr, "floorp.exe"},
    {"Zen", bfGecko, {{{drAppData, "zen"}}}, nullptr, "zen.exe"},
};

}  // namespace

std::span<const TBrowser> BrowserTable() { return kBrowsers; }

const TBrowser* FindBrowser(std::string_view name) {
    for (const TBrowser& browser : kBrowsers)
        if (name == browser.Name) return &browser;
    return nullptr;
}

const TBrowser& GoogleChrome() { return kBrowsers[0]; }
const TBrowser& MozillaFirefox() { return kBrowsers[5]; }

bool IsFoundOnlyCategory(const TBrowser& browser) {
    return &browser != &GoogleChrome() && &browser != &MozillaFirefox();
}

std::string SourceFolder(platform::Platform& machine, const TBrowserSource& source) {
    if (!source.Path) return {};
    // The roaming folder is asked directly: looking it up through the
    // cleaners' lookup would end the browser session, which a check before
    // a run must not do.
    std::string root = source.Root == drAppData
                           ? platform::WithTrailingBackslash(machine.system.SpecialFolder(platform::csidlAppData))
                           : removal::GetLocalAppDataFolder(machine);
    if (root.empty() || root == "\\") return {};
    return root + source.Path;
}

std::string SourceCacheFolder(platform::Platform& machine, const TBrowserSource& source) {
    if (!source.Path) return {};
    std::string local = removal::GetLocalAppDataFolder(machine);
    if (local.empty()) return {};
    return local + (source.CachePath ? source.CachePath : source.Path);
}

bool IsBrowserFound(platform::Platform& machine, const TBrowser& browser) {
    for (const TBrowserSource& source : browser.Sources) {
        std::string folder = SourceFolder(machine, source);
        if (folder.empty()) continue;
        if (browser.Family == bfChromium ? machine.files.DirectoryExists(folder + "\\User Data")
                                         : machine.files.Exists(folder + "\\profiles.ini"))
            return true;
    }
    return false;
}

}  // namespace nullvane::browsers
