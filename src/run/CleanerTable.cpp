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

    {kCategoryFirefox, "Cookies", CleanFirefoxCookies},
    {kCategoryFirefox, "Visited URL History", CleanFirefoxVisitedUrlHistory},
    {kCategoryFirefox, "Download Manager", CleanFirefoxDownloadManager},
    {kCategoryFirefox, "Temporary Internet Files", CleanFirefoxTemporaryInternetFiles},
    {kCategoryFirefox, "Autocomplete History", CleanFirefoxAutocompleteHistory},
    {kCategoryFirefox, "Preferences", CleanFirefoxPreferences},
    {kCategoryFirefox, "Saved Form Information", CleanFirefoxSavedFormInformation},
    {kCategoryFirefox, "Session", CleanFirefoxSession},

    {kCategoryChrome, "Temporary Internet Files", CleanChromeTemporaryFiles},
    {kCategoryChrome, "Cookies", CleanChromeCookies},
    {kCategoryChrome, "Visited URL History", CleanChromeHistory},
    {kCategoryChrome, "Stored passwords in Forms", CleanChromeStoredPasswords},
    {kCategoryChrome, "Download History", CleanChromeDownloadHistory},
    {kCategoryChrome, "Saved Form Information", CleanChromeFormData},
    {kCategoryChrome, "Session", CleanChromeSession},

    {kCategoryWindows, "Recent Documents", CleanRecentDocuments},
    {kCategoryWindows, "Start Run", CleanStartRun},
    {kCategoryWindows, "Search Assistant", CleanSearchAssistant},
    {kCategoryWindows, "Empty Recycle Bin", CleanRecycleBin},
    {kCategoryWindows, "Temporary Files", CleanTemporaryFiles},
    {kCategoryWindows, "Clipboard", CleanClipboard},
    {kCategoryWindows, "Memory Dumps", CleanMemoryDumps},
    {kCategoryWindows, "Chkdsk File Fragments", CleanChkdskFragments},
    {kCategoryWindows, "Windows Log Files", nullptr},

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

}  // namespace

std::span<const TCleanerRow> CleanerTable() { return kTable; }

}  // namespace nullvane::run
