#include "run/DispatchTable.h"

#include "cleaners/AdvancedCleaners.h"
#include "cleaners/InternetExplorerCache.h"
#include "cleaners/InternetExplorerAutocomplete.h"
#include "cleaners/InternetExplorerCookies.h"
#include "cleaners/ChromeCleaners.h"
#include "cleaners/FirefoxCleaners.h"
#include "cleaners/MessengerCleaners.h"
#include "cleaners/OfficeCleaners.h"
#include "cleaners/OperaCleaners.h"
#include "cleaners/WindowsCleaners.h"
#include "customlists/RunDataSection.h"

namespace nullvane::run {

namespace {

using customlists::kApplicationsDataFile;
using customlists::kCustomListFile;

TDispatchRow ToCleaner(std::string_view name, TCleanerFn cleaner) {
    return TDispatchRow{TMatch::Exact, name, cleaner, {}};
}

TDispatchRow ToDataFile(std::string_view name, std::string_view dataFile) {
    return TDispatchRow{TMatch::Exact, name, nullptr, dataFile};
}

}  // namespace

// Items whose cleaners are not built yet have no row: their names fall
// through to the data-driven runner like any other unknown name. Add a
// cleaner's row here, in catalogue order within its category.
const std::vector<TDispatchRow>& DispatchTable() {
    static const std::vector<TDispatchRow> table = {
        {TMatch::Contains, "Custom Lists -", nullptr, kCustomListFile},
        ToCleaner("Internet Explorer - Recently Typed URLs", cleaners::CleanRecentlyTypedUrls),
        ToCleaner("Internet Explorer - Visited URL History", cleaners::CleanVisitedUrlHistory),
        ToCleaner("Internet Explorer - Last Download Location", cleaners::CleanLastDownloadLocation),
        ToCleaner("Internet Explorer - Temporary Internet Files", cleaners::CleanTemporaryInternetFiles),
        ToCleaner("Internet Explorer - Index.dat Files", cleaners::CleanIndexDatFiles),
        ToCleaner("Internet Explorer - Cookies", cleaners::CleanIECookies),
        ToCleaner("Internet Explorer - Autocomplete History", cleaners::CleanIEAutocompleteHistory),
        ToCleaner("Opera - Recently Typed URLs", cleaners::CleanOperaTypedUrls),
        ToCleaner("Opera - Cookies", cleaners::CleanOperaCookies),
        ToCleaner("Opera - Visited URL History", cleaners::CleanOperaHistory),
        ToCleaner("Opera - Temporary Internet Files", cleaners::CleanOperaTemporaryFiles),
        ToCleaner("Opera - Autocomplete History", cleaners::CleanOperaAutocomplete),
        ToCleaner("Opera - Transfers", cleaners::CleanOperaTransfers),
        ToCleaner("Mozilla Firefox - Cookies", cleaners::CleanFirefoxCookies),
        ToCleaner("Mozilla Firefox - Visited URL History", cleaners::CleanFirefoxVisitedUrlHistory),
        ToCleaner("Mozilla Firefox - Download Manager", cleaners::CleanFirefoxDownloadManager),
        ToCleaner("Mozilla Firefox - Temporary Internet Files", cleaners::CleanFirefoxTemporaryInternetFiles),
        ToCleaner("Mozilla Firefox - Autocomplete History", cleaners::CleanFirefoxAutocompleteHistory),
        ToCleaner("Mozilla Firefox - Preferences", cleaners::CleanFirefoxPreferences),
        ToCleaner("Mozilla Firefox - Saved Form Information", cleaners::CleanFirefoxSavedFormInformation),
        ToCleaner("Mozilla Firefox - Session", cleaners::CleanFirefoxSession),
        ToCleaner("Google Chrome - Temporary Internet Files", cleaners::CleanChromeTemporaryFiles),
        ToCleaner("Google Chrome - Cookies", cleaners::CleanChromeCookies),
        ToCleaner("Google Chrome - Visited URL History", cleaners::CleanChromeHistory),
        ToCleaner("Google Chrome - Stored passwords in Forms", cleaners::CleanChromeStoredPasswords),
        ToCleaner("Google Chrome - Download History", cleaners::CleanChromeDownloadHistory),
        ToCleaner("Google Chrome - Saved Form Information", cleaners::CleanChromeFormData),
        ToCleaner("Google Chrome - Session", cleaners::CleanChromeSession),
        ToCleaner("Windows - Recent Documents", cleaners::CleanRecentDocuments),
        ToCleaner("Windows - Start Run", cleaners::CleanStartRun),
        ToCleaner("Windows - Search Assistant", cleaners::CleanSearchAssistant),
        ToCleaner("Windows - Empty Recycle Bin", cleaners::CleanRecycleBin),
        ToCleaner("Windows - Temporary Files", cleaners::CleanTemporaryFiles),
        ToCleaner("Windows - Clipboard", cleaners::CleanClipboard),
        ToCleaner("Windows - Memory Dumps", cleaners::CleanMemoryDumps),
        ToCleaner("Windows - Chkdsk File Fragments", cleaners::CleanChkdskFragments),
        ToDataFile("Windows - Windows Log Files", kApplicationsDataFile),
        ToCleaner("Advanced - Open File History", cleaners::CleanOpenFileHistory),
        ToCleaner("Advanced - Menu Order Cache", cleaners::CleanMenuOrderCache),
        ToCleaner("Advanced - Tray Notifications Cache", cleaners::CleanTrayNotificationsCache),
        ToCleaner("Advanced - User Assist History", cleaners::CleanUserAssistHistory),
        ToCleaner("Advanced - Paint", cleaners::CleanPaint),
        ToCleaner("Microsoft Office - Access", cleaners::CleanOfficeAccess),
        ToCleaner("Microsoft Office - Excel", cleaners::CleanOfficeExcel),
        ToCleaner("Microsoft Office - FrontPage", cleaners::CleanOfficeFrontPage),
        ToCleaner("Microsoft Office - Powerpoint", cleaners::CleanOfficePowerpoint),
        ToCleaner("Microsoft Office - Word", cleaners::CleanOfficeWord),
        ToCleaner("Microsoft Office - Visio", cleaners::CleanOfficeVisio),
        ToCleaner("Microsoft Office - InfoPath", cleaners::CleanOfficeInfoPath),
        ToCleaner("Microsoft Office - Publisher", cleaners::CleanOfficePublisher),
        ToCleaner("Microsoft Office - Recent Files", cleaners::CleanOfficeRecentFiles),
        ToCleaner("Instant Messengers - MSN Messenger", cleaners::CleanMsnMessenger),
        ToCleaner("Instant Messengers - Yahoo! Messenger", cleaners::CleanYahooMessenger),
        ToDataFile("Instant Messengers - ICQ", kApplicationsDataFile),
        ToDataFile("Instant Messengers - AOL Instant Messenger", kApplicationsDataFile),
        ToCleaner("Instant Messengers - Skype", cleaners::CleanSkype),
    };
    return table;
}

const TDispatchRow* FindDispatchRow(std::string_view itemName) {
    for (const TDispatchRow& row : DispatchTable()) {
        bool matches = row.Match == TMatch::Contains ? itemName.find(row.Name) != std::string_view::npos
                                                     : itemName == row.Name;
        if (matches) return &row;
    }
    return nullptr;
}

void DispatchItem(TRunContext& run, const std::string& itemName) {
    const TDispatchRow* row = FindDispatchRow(itemName);
    if (row && row->Cleaner) {
        row->Cleaner(run);
        return;
    }
    std::string dataFile(row ? row->DataFile : std::string_view(kApplicationsDataFile));
    customlists::RunDataSection(run, dataFile, itemName);
}

}  // namespace nullvane::run
