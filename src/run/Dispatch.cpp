#include "run/Dispatch.h"

#include "customlists/RunDataSection.h"
#include "run/CleanItemTree.h"
#include "winapp2/Winapp2Catalogue.h"
#include "winapp2/Winapp2Runner.h"

namespace nullvane::run {

namespace {

// True when `itemName` is the row's category text, the separator and its
// item text.
bool NamesRow(std::string_view itemName, const TCleanerRow& row) {
    std::string_view category = row.Category.Text;
    return !row.Item.empty() && itemName.size() == category.size() + kItemNameSeparator.size() + row.Item.size() &&
           itemName.starts_with(category) && itemName.substr(category.size()).starts_with(kItemNameSeparator) &&
           itemName.ends_with(row.Item);
}

}  // namespace

TDispatch DispatchOf(std::string_view itemName) {
    // First: a catalogue entry's own name may hold any text.
    static const std::string winapp2 = std::string(kCategoryWinapp2.Text) + std::string(kItemNameSeparator);
    if (itemName.starts_with(winapp2)) return {.Winapp2Entry = itemName.substr(winapp2.size())};
    // The category's text and the separator's hyphen, wherever it stands.
    static const std::string customLists = std::string(kCategoryCustomLists.Text) + " -";
    if (itemName.find(customLists) != std::string_view::npos) return {.DataFile = customlists::kCustomListFile};
    for (const TCleanerRow& row : CleanerTable()) {
        if (row.Cleaner && NamesRow(itemName, row)) return {.Cleaner = row.Cleaner};
    }
    if (size_t separator = itemName.find(kItemNameSeparator); separator != std::string_view::npos) {
        std::string_view item = itemName.substr(separator + kItemNameSeparator.size());
        if (const browsers::TBrowser* browser = browsers::FindBrowser(itemName.substr(0, separator)))
            for (const TBrowserItemRow& row : BrowserItemTable())
                if (row.Family == browser->Family && row.Item == item)
                    return {.BrowserCleaner = row.Cleaner, .Browser = browser};
    }
    return {.DataFile = customlists::kApplicationsDataFile};
}

void DispatchItem(base::TRunContext& run, const std::string& itemName) {
    TDispatch dispatch = DispatchOf(itemName);
    if (dispatch.Cleaner) {
        dispatch.Cleaner(run);
        return;
    }
    if (dispatch.BrowserCleaner) {
        dispatch.BrowserCleaner(run, *dispatch.Browser);
        return;
    }
    if (!dispatch.Winapp2Entry.empty()) {
        // An entry no longer in the catalogue (the file changed) runs nothing.
        const auto catalogue = winapp2::CurrentWinapp2Catalogue();
        if (const stores::TWinapp2Entry* entry =
                catalogue ? winapp2::FindShownEntry(*catalogue, std::string(dispatch.Winapp2Entry)) : nullptr)
            winapp2::RunWinapp2Entry(run, *entry);
        return;
    }
    customlists::RunDataSection(run, std::string(dispatch.DataFile), itemName);
}

}  // namespace nullvane::run
