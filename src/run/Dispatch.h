#pragma once
// Which cleaner an item name selects, from the cleaner table. A name holding
// "Custom Lists -" anywhere goes to the data-driven runner with the custom
// list file; a name equal (with case) to an item with a cleaner runs that
// cleaner, and a browser's name, the separator and an item of its family
// runs the family's cleaner for that browser; any other name goes to the data-driven runner with the
// applications data file.
#include <string>
#include <string_view>

#include "base/RunContext.h"
#include "run/CleanerTable.h"

namespace nullvane::run {

// What runs for an item name: its cleaner, or else the data-driven runner
// with DataFile and the item name.
struct TDispatch {
    TCleanerFn Cleaner = nullptr;
    // An item of a browser of the browser table: its family's cleaner for it.
    TBrowserCleanerFn BrowserCleaner = nullptr;
    const browsers::TBrowser* Browser = nullptr;
    std::string_view DataFile;
    // An entry of the winapp2.ini catalogue, by its name.
    std::string_view Winapp2Entry;
};

[[nodiscard]] TDispatch DispatchOf(std::string_view itemName);
// Runs the cleaner that the item name selects.
void DispatchItem(base::TRunContext& run, const std::string& itemName);

}  // namespace nullvane::run
