#include "run/CleanItemCatalogue.h"

#include "browsers/BrowserTable.h"
#include "customlists/InstalledApplications.h"
#include "platform/Text.h"
#include "winapp2/Winapp2Catalogue.h"

#include <stdexcept>
#include <string_view>

namespace nullvane::run {

namespace {

void AddBrowserItems(TCleanItemTree& tree, size_t category, browsers::TBrowserFamily family) {
    for (const TBrowserItemRow& row : BrowserItemTable())
        if (row.Family == family) tree.AddItem(category, std::string(row.Item));
}

}  // namespace

TCleanItemTree CreateCleanItemTree() {
    TCleanItemTree tree;
    std::string_view categoryText;
    size_t category = 0;
    for (const TCleanerRow& row : CleanerTable()) {
        if (row.Category.Text != categoryText) {
            categoryText = row.Category.Text;
            category = tree.AddCategory(row.Category.Text, row.Category.ImageIndex);
            if (const browsers::TBrowser* browser = browsers::FindBrowser(categoryText))
                AddBrowserItems(tree, category, browser->Family);
        }
        if (!row.Item.empty()) tree.AddItem(category, std::string(row.Item));
    }
    return tree;
}

void FillBrowserCategories(TCleanItemTree& tree, platform::Platform& machine) {
    auto after = tree.FindCategory(kCategoryChrome.Text);
    if (!after) return;
    for (const browsers::TBrowser& browser : browsers::BrowserTable()) {
        if (!browsers::IsFoundOnlyCategory(browser) || tree.FindCategory(browser.Name) ||
            !browsers::IsBrowserFound(machine, browser))
            continue;
        TCategory category = BrowserCategory(browser);
        after = tree.InsertCategoryAfter(*after, category.Text, category.ImageIndex);
        AddBrowserItems(tree, *after, browser.Family);
    }
}

size_t AddApplicationItem(TCleanItemTree& tree, std::string sectionName) {
    auto category = tree.FindCategory(kCategoryApplications.Text);
    if (!category) throw std::logic_error("the catalogue has no Applications category");
    return tree.AddItem(*category, std::move(sectionName));
}

void FillApplicationsCategory(TCleanItemTree& tree, platform::Platform& machine) {
    std::optional<size_t> category;
    for (size_t i = 0; i < tree.Count() && !category; ++i) {
        const TCleanItemNode& node = tree.Node(i);
        if (node.Level == 0 && platform::EqualsIgnoreCase(node.Text, kCategoryApplications.Text)) category = i;
    }
    if (!category) return;
    for (std::string& section : customlists::InstalledApplicationSections(machine)) {
        tree.AddItem(*category, std::move(section));
    }
}

void FillWinapp2Category(TCleanItemTree& tree) {
    const auto catalogue = winapp2::CurrentWinapp2Catalogue();
    const auto applications = tree.FindCategory(kCategoryApplications.Text);
    if (!catalogue || catalogue->Shown.empty() || !applications || tree.FindCategory(kCategoryWinapp2.Text)) return;
    const size_t category = tree.InsertCategoryAfter(*applications, kCategoryWinapp2.Text, kCategoryWinapp2.ImageIndex);
    for (const stores::TWinapp2Entry& entry : catalogue->Shown) tree.AddItem(category, entry.Name);
}

}  // namespace nullvane::run
