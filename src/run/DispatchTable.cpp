#include "run/DispatchTable.h"

#include "cleaners/AdvancedCleaners.h"
#include "cleaners/InternetExplorerCache.h"
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
        ToDataFile("Instant Messengers - ICQ", kApplicationsDataFile),
        ToDataFile("Instant Messengers - AOL Instant Messenger", kApplicationsDataFile),
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
