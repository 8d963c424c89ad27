#pragma once
// The fixed catalogue of categories and clean items, in tree order.
#include "run/CleanItemTree.h"

namespace nullvane::run {

inline constexpr char kCategoryApplications[] = "Applications";
inline constexpr char kCategoryCustomLists[] = "Custom Lists";
inline constexpr char kCategoryFirefox[] = "Mozilla Firefox";
inline constexpr char kCategoryChrome[] = "Google Chrome";
inline constexpr char kCategoryOpera[] = "Opera";
inline constexpr char kNewListItem[] = "<New List>";

// The fixed tree, every node unticked and collapsed. "Applications" has no
// items yet: the installed applications are added to it at start-up.
[[nodiscard]] TCleanItemTree CreateCleanItemTree();

// Adds an application (a section of the applications data file) as an item
// of "Applications"; returns its index.
size_t AddApplicationItem(TCleanItemTree& tree, std::string sectionName);

}  // namespace nullvane::run
