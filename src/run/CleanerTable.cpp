#include "run/CleanerTable.h"

#include "cleaners/Cleaners.h"

namespace nullvane::run {

namespace {

using namespace cleaners;

// Item texts are spelled exactly as the saved selection and the command line
// name them.
const TCleanerRow kTable[] = {
    {kCategoryInternetExplorer, "Recently Typed URLs", CleanRecentlyTypedUrls},
    {kCategoryInternetExplorer, "Cookies", CleanIECookies},
    {kCategoryInternetExplorer, "Visited URL History", CleanVisitedUrlHistory},
    {kCategoryInternetExplorer, "Last Download Location", CleanLastDownloadLocation},
    {kCategoryInternetExplorer, "Temporary Internet Files", CleanTemporaryInternetFiles},
    {kCategoryInternetExplorer, "Index.dat Files", CleanIndexDatFiles},
    {kCategoryInternetExplorer, "Autocomplete History", CleanIEAutocompleteHistory},

    {kCategoryOpera, "Recently Typed URLs", CleanOperaTypedUrls},
    {kCategoryOpera, "Cookies", CleanOperaCookies},
    {kCategoryOpera, "Visited URL History", CleanOperaHistory},
    {kCategoryOpera, "Temporary Internet Files", CleanOperaTemporaryFiles},
    {kCategoryOpera, "Autocomplete History", CleanOperaAutocomplete},
    {kCategoryOpera, "Transfers", CleanOperaTransfers},

    {kCategoryFirefox, {}, nullptr},

    {kCategoryChrome, {}, nullptr},

    {kCategoryWindows, "Recent Documents", CleanRecentDocuments},
    {kCategoryWindows, "Start Run", CleanStartRun},
    {kCategoryWindows, "Search Assistant", CleanSearchAssistant},
    {kCategoryWindows, "Empty Recycle Bin", CleanRecycleBin},
    {kCategoryWindows, "Temporary Files", CleanTemporaryFiles},
    {kCategoryWindows, "Clipboard", CleanClipboard},
    {kCategoryWindows, "Memory Dumps", CleanMemoryDumps},
    {kCategoryWindows, "Chkdsk File Fragments", CleanChkdskFragments},
    {kCategoryWindows, "Windows Log Files", nullptr},
    {kCategoryWindows, "Jump Lists", CleanJumpLists},
    {kCategoryWindows, "Explorer Search History", CleanExplorerSearchHistory},
    {kCategoryWindows, "Explorer Typed Paths", CleanExplorerTypedPaths},
    {kCategoryWindows, "Thumbnail Cache", CleanThumbnailCache},
    {kCategoryWindows, "Activity History", CleanActivityHistory},
    {kCategoryWindows, "Error Reports", CleanErrorReports},
    {kCategoryWindows, "Shell Histories", CleanShellHistories},
    {kCategoryWindows, "DNS Cache", CleanDnsCache},

    {kCategoryAdvanced, "Open File History", CleanOpenFileHistory},
    {kCategoryAdvanced, "Menu Order Cache", CleanMenuOrderCache},
    {kCategoryAdvanced, "Tray Notifications Cache", CleanTrayNotificationsCache},
    {kCategoryAdvanced, "User Assist History", CleanUserAssistHistory},
    {kCategoryAdvanced, "Paint", CleanPaint},
    {kCategoryAdvanced, "Google Toolbar History", nullptr},
    {kCategoryAdvanced, "MSN Toolbar History", nullptr},
    {kCategoryAdvanced, "Yahoo! Toolbar History", nullptr},

    {kCategoryOffice, "Access", CleanOfficeAccess},
    {kCategoryOffice, "Excel", CleanOfficeExcel},
    {kCategoryOffice, "FrontPage", CleanOfficeFrontPage},
    {kCategoryOffice, "Powerpoint", CleanOfficePowerpoint},
    {kCategoryOffice, "Word", CleanOfficeWord},
    {kCategoryOffice, "Visio", CleanOfficeVisio},
    {kCategoryOffice, "InfoPath", CleanOfficeInfoPath},
    {kCategoryOffice, "Publisher", CleanOfficePublisher},
    {kCategoryOffice, "Recent Files", CleanOfficeRecentFiles},

    {kCategoryMessengers, "MSN Messenger", CleanMsnMessenger},
    {kCategoryMessengers, "Yahoo! Messenger", CleanYahooMessenger},
    {kCategoryMessengers, "ICQ", nullptr},
    {kCategoryMessengers, "AOL Instant Messenger", nullptr},
    {kCategoryMessengers, "Skype", CleanSkype},

    {kCategoryApplications, {}, nullptr},

    {kCategoryCustomLists, kNewListItem, nullptr},
};

const TBrowserItemRow kBrowserItems[] = {
    {browsers::bfGecko, "Cookies", CleanGeckoCookies},
    {browsers::bfGecko, "Visited URL History", CleanGeckoVisitedUrlHistory},
    {browsers::bfGecko, "Download Manager", CleanGeckoDownloadManager},
    {browsers::bfGecko, "Temporary Internet Files", CleanGeckoTemporaryInternetFiles},
    {browsers::bfGecko, "Autocomplete History", CleanGeckoAutocompleteHistory},
    {browsers::bfGecko, "Preferences", CleanGeckoPreferences},
    {browsers::bfGecko, "Saved Form Information", CleanGeckoSavedFormInformation},
    {browsers::bfGecko, "Session", CleanGeckoSession},

    {browsers::bfChromium, "Temporary Internet Files", CleanChromiumTemporaryFiles},
    {browsers::bfChromium, "Cookies", CleanChromiumCookies},
    {browsers::bfChromium, "Visited URL History", CleanChromiumHistory},
    {browsers::bfChromium, "Stored passwords in Forms", CleanChromiumStoredPasswords},
    {browsers::bfChromium, "Download History", CleanChromiumDownloadHistory},
    {browsers::bfChromium, "Saved Form Information", CleanChromiumFormData},
    {browsers::bfChromium, "Session", CleanChromiumSession},
};

}  // namespace

std::span<const TCleanerRow> CleanerTable() { return kTable; }

std::span<const TBrowserItemRow> BrowserItemTable() { return kBrowserItems; }

TCategory BrowserCategory(const browsers::TBrowser& browser) {
    return {browser.Name, browser.Family == browsers::bfGecko ? kCategoryFirefox.ImageIndex : kCategoryChrome.ImageIndex};
}

}  // namespace nullvane::run
