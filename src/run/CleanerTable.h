#pragma once
// The one table of clean items: every category and item of the fixed
// catalogue, in tree order, with the cleaner that runs it. The tree
// (CreateCleanItemTree) and the dispatch (DispatchItem) are both built from
// it, so a new item is one row here and its entry point in cleaners/.
#include <span>
#include <string_view>

#include "base/RunContext.h"
#include "browsers/BrowserTable.h"

namespace nullvane::run {

using TCleanerFn = void (*)(base::TRunContext& run);
// The cleaner of one item of a browser family, for the browser named.
using TBrowserCleanerFn = void (*)(base::TRunContext& run, const browsers::TBrowser& browser);

struct TCategory {
    const char* Text;
    // The category's identity for its saved expanded state.
    int ImageIndex;
};

inline constexpr TCategory kCategoryInternetExplorer{"Internet Explorer", 1};
inline constexpr TCategory kCategoryOpera{"Opera", 4};
inline constexpr TCategory kCategoryFirefox{"Mozilla Firefox", 5};
inline constexpr TCategory kCategoryChrome{"Google Chrome", 11};
inline constexpr TCategory kCategoryWindows{"Windows", 2};
inline constexpr TCategory kCategoryAdvanced{"Advanced", 6};
inline constexpr TCategory kCategoryOffice{"Microsoft Office", 7};
inline constexpr TCategory kCategoryMessengers{"Instant Messengers", 8};
inline constexpr TCategory kCategoryApplications{"Applications", 9};
// Filled at start-up from winapp2.ini, after Applications.
inline constexpr TCategory kCategoryWinapp2{"winapp2.ini", 9};
inline constexpr TCategory kCategoryCustomLists{"Custom Lists", 10};

// The one item of "Custom Lists": the user's list in the custom list file.
inline constexpr char kNewListItem[] = "<New List>";

struct TCleanerRow {
    TCategory Category;
    // Empty for a category without fixed items: "Applications" (filled at
    // start-up) and a browser's category, which holds its family's items.
    std::string_view Item;
    // Null for an item the data-driven runner cleans: from the custom list
    // file under "Custom Lists", else from the applications data file.
    TCleanerFn Cleaner = nullptr;
};

// Rows in tree order; a category's rows stand together.
[[nodiscard]] std::span<const TCleanerRow> CleanerTable();

// One item every browser of a family has.
struct TBrowserItemRow {
    browsers::TBrowserFamily Family;
    std::string_view Item;
    TBrowserCleanerFn Cleaner;
};

// The items of the browser families, in tree order within a family.
[[nodiscard]] std::span<const TBrowserItemRow> BrowserItemTable();
// The category image of a browser's category: its family's.
[[nodiscard]] TCategory BrowserCategory(const browsers::TBrowser& browser);

}  // namespace nullvane::run
