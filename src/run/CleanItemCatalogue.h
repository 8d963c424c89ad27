#pragma once
// The fixed catalogue of categories and clean items, in tree order.
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "run/CleanItemTree.h"
#include "run/CleanerTable.h"

namespace nullvane::run {

// The fixed tree as the cleaner table lists it, every node unticked and
// collapsed; "Mozilla Firefox" and "Google Chrome" hold their family's items. "Applications" has no
// items yet: the installed applications are added to it at start-up.
[[nodiscard]] TCleanItemTree CreateCleanItemTree();

// Adds a category after "Google Chrome" for every other browser of the
// browser table that keeps data on this machine (IsBrowserFound), in table
// order, with its family's items; before the saved ticks are read.
void FillBrowserCategories(TCleanItemTree& tree, platform::Platform& machine);

// Adds an application (a section of the applications data file) as an item
// of "Applications"; returns its index.
size_t AddApplicationItem(TCleanItemTree& tree, std::string sectionName);

// Gives "Applications" (found ignoring case; nothing without it) one item per
// installed application that the applications data file describes, in the
// order they are met, before the saved ticks are read.
void FillApplicationsCategory(TCleanItemTree& tree, platform::Platform& machine);
// The category "winapp2.ini" after "Applications" with the shown entries of
// the process's catalogue (winapp2::CurrentWinapp2Catalogue), in its order;
// nothing without a catalogue.
void FillWinapp2Category(TCleanItemTree& tree);

}  // namespace nullvane::run
