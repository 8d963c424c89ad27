#pragma once
// Which cleaner an item name selects. Rows are compared from the top; the
// first match runs. A name that matches no row goes to the data-driven
// runner with the applications data file.
#include <string>
#include <string_view>
#include <vector>

#include "base/RunContext.h"

namespace nullvane::run {

using TCleanerFn = void (*)(TRunContext& run);

enum class TMatch {
    Exact,     // the whole name, with case
    Contains,  // the text anywhere in the name
};

struct TDispatchRow {
    TMatch Match = TMatch::Exact;
    std::string_view Name;
    // A cleaner of its own, or else the data-driven runner with this file
    // and the item name.
    TCleanerFn Cleaner = nullptr;
    std::string_view DataFile;
};

[[nodiscard]] const std::vector<TDispatchRow>& DispatchTable();
// The first row that matches, or nullptr for a name that matches none.
[[nodiscard]] const TDispatchRow* FindDispatchRow(std::string_view itemName);
// Runs the cleaner that the item name selects.
void DispatchItem(TRunContext& run, const std::string& itemName);

}  // namespace nullvane::run
