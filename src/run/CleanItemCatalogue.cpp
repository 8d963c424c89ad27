#include "run/CleanItemCatalogue.h"

#include "customlists/InstalledApplications.h"
#include "platform/Text.h"

#include <initializer_list>
#include <stdexcept>

namespace nullvane::run {

namespace {

struct TCategoryRow {
    const char* Text;
    int ImageIndex;
    std::initializer_list<const char*> Items;
};

// Item texts are spelled exactly as the cleaners compare them.
const std::initializer_list<TCategoryRow> kCatalogue = {
    {"Internet Explorer", 1,
     {"Recently Typed URLs", "Cookies", "Visited URL History", "Last Download Location",
      "Temporary Internet Files", "Index.dat Files", "Autocomplete History"}},
    {kCategoryOpera, 4,
     {"Recently Typed URLs", "Cookies", "Visited URL History", "Temporary Internet Files",
      "Autocomplete History", "Transfers"}},
    {kCategoryFirefox, 5,
     {"Cookies", "Visited URL History", "Download Manager", "Temporary Internet Files", "Autocomplete History",
      "Preferences", "Saved Form Information", "Session"}},
    {kCategoryChrome, 11,
     {"Temporary Internet Files", "Cookies", "Visited URL History", "Stored passwords in Forms",
      "Download History", "Saved Form Information", "Session"}},
    {"Windows", 2,
     {"Recent Documents", "Start Run", "Search Assistant", "Empty Recycle Bin", "Temporary Files", "Clipboard",
      "Memory Dumps", "Chkdsk File Fragments", "Windows Log Files"}},
    {"Advanced", 6,
     {"Open File History", "Menu Order Cache", "Tray Notifications Cache", "User Assist History", "Paint",
      "Google Toolbar History", "MSN Toolbar History", "Yahoo! Toolbar History"}},
    {"Microsoft Office", 7,
     {"Access", "Excel", "FrontPage", "Powerpoint", "Word", "Visio", "InfoPath", "Publisher", "Recent Files"}},
    {"Instant Messengers", 8,
     {"MSN Messenger", "Yahoo! Messenger", "ICQ", "AOL Instant Messenger", "Skype"}},
    {kCategoryApplications, 9, {}},
    {kCategoryCustomLists, 10, {kNewListItem}},
};

}  // namespace

TCleanItemTree CreateCleanItemTree() {
    TCleanItemTree tree;
    for (const TCategoryRow& row : kCatalogue) {
        size_t category = tree.AddCategory(row.Text, row.ImageIndex);
        for (const char* item : row.Items) tree.AddItem(category, item);
    }
    return tree;
}

size_t AddApplicationItem(TCleanItemTree& tree, std::string sectionName) {
    auto category = tree.FindCategory(kCategoryApplications);
    if (!category) throw std::logic_error("the catalogue has no Applications category");
    return tree.AddItem(*category, std::move(sectionName));
}

void FillApplicationsCategory(TCleanItemTree& tree, platform::Platform& machine) {
    std::optional<size_t> category;
    for (size_t i = 0; i < tree.Count() && !category; ++i) {
        if (tree.Node(i).Level == 0 && platform::EqualsIgnoreCase(tree.Node(i).Text, kCategoryApplications)) category = i;
    }
    if (!category) return;
    for (std::string& section : customlists::InstalledApplicationSections(machine)) {
        tree.AddItem(*category, std::move(section));
    }
}

}  // namespace nullvane::run
