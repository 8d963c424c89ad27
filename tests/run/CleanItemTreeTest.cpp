#include <gtest/gtest.h>

#include <algorithm>

#include "run/CleanItemCatalogue.h"
#include "run/CleanItemTree.h"
#include "settings/ExpandStates.h"

using namespace nullvane;
using run::kStateTicked;
using run::kStateUnticked;

namespace {

size_t Item(const run::TCleanItemTree& tree, const std::string& name) {
    auto index = tree.FindItem(name);
    EXPECT_TRUE(index.has_value()) << name;
    return index.value_or(0);
}

size_t Category(const run::TCleanItemTree& tree, const std::string& text) {
    auto index = tree.FindCategory(text);
    EXPECT_TRUE(index.has_value()) << text;
    return index.value_or(0);
}

}  // namespace

TEST(CleanItemCatalogue, CategoriesComeInTreeOrderWithTheirImageIndices) {
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    std::vector<std::pair<std::string, int>> categories;
    size_t items = 0;
    for (const auto& node : tree.Nodes()) {
        if (node.Level == 0) categories.emplace_back(node.Text, node.ImageIndex);
        else ++items;
        EXPECT_EQ(node.StateIndex, kStateUnticked);
        EXPECT_FALSE(node.Expanded);
    }
    std::vector<std::pair<std::string, int>> expected = {
        {"Internet Explorer", 1}, {"Opera", 4}, {"Mozilla Firefox", 5}, {"Google Chrome", 11},
        {"Windows", 2}, {"Advanced", 6}, {"Microsoft Office", 7}, {"Instant Messengers", 8},
        {"Applications", 9}, {"Custom Lists", 10}};
    EXPECT_EQ(categories, expected);
    EXPECT_EQ(items, 7u + 6 + 8 + 7 + 17 + 8 + 9 + 5 + 0 + 1);
}

TEST(CleanItemCatalogue, ItemNamesJoinCategoryAndItemText) {
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    EXPECT_EQ(tree.NodeName(Item(tree, "Windows - Temporary Files")), "Windows - Temporary Files");
    EXPECT_EQ(tree.NodeName(Category(tree, "Windows")), "Windows");
    EXPECT_TRUE(tree.FindItem("Custom Lists - <New List>"));
    EXPECT_TRUE(tree.FindItem("Google Chrome - Stored passwords in Forms"));
    EXPECT_FALSE(tree.FindItem("Windows"));  // a category is not an item
    EXPECT_FALSE(tree.FindItem("windows - temporary files"));
}

TEST(CleanItemCatalogue, ApplicationsAreAddedBeforeTheCustomLists) {
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    run::AddApplicationItem(tree, "Notepad++");
    run::AddApplicationItem(tree, "WinZip");
    size_t apps = Category(tree, "Applications");
    EXPECT_EQ(tree.NodeName(apps + 1), "Applications - Notepad++");
    EXPECT_EQ(tree.NodeName(apps + 2), "Applications - WinZip");
    EXPECT_EQ(tree.Node(apps + 3).Text, "Custom Lists");
    EXPECT_EQ(tree.ParentOf(apps + 2), apps);
}

TEST(CleanItemTree, ClickingACategoryTicksAllItsItemsAndTheLastUntickUnticksIt) {
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    size_t windows = Category(tree, "Windows");
    tree.ClickStateImage(windows);
    EXPECT_EQ(tree.CollectTickedItems().size(), 17u);

    size_t clipboard = Item(tree, "Windows - Clipboard");
    tree.ClickStateImage(clipboard);
    EXPECT_EQ(tree.Node(clipboard).StateIndex, kStateUnticked);
    EXPECT_EQ(tree.Node(windows).StateIndex, kStateTicked);

    for (size_t i = windows + 1; i < tree.Count() && tree.Node(i).Level == 1; ++i) {
        if (tree.Node(i).StateIndex == kStateTicked) tree.ClickStateImage(i);
    }
    EXPECT_EQ(tree.Node(windows).StateIndex, kStateUnticked);
    EXPECT_TRUE(tree.CollectTickedItems().empty());

    // Ticking one item ticks its category; the other categories stay as they were.
    tree.ClickStateImage(clipboard);
    EXPECT_TRUE(tree.IsCategoryTicked("Windows"));
    EXPECT_FALSE(tree.IsCategoryTicked("Advanced"));
}

TEST(CleanItemTree, AClickLeavesANodeWithoutATickBoxAlone) {
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    size_t windows = Category(tree, "Windows");
    tree.SetState(windows, run::kStateBlank);
    tree.ClickStateImage(windows);
    EXPECT_EQ(tree.Node(windows).StateIndex, run::kStateBlank);
}

TEST(CleanItemTree, TheRunListFollowsTheTreeWhateverTheTickingOrder) {
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    tree.ClickStateImage(Item(tree, "Windows - Temporary Files"));
    tree.ClickStateImage(Item(tree, "Internet Explorer - Cookies"));
    EXPECT_EQ(tree.CollectTickedItems(),
              (std::vector<std::string>{"Internet Explorer - Cookies", "Windows - Temporary Files"}));

    // A ticked category whose items are all unticked adds nothing.
    tree.SetState(Category(tree, "Advanced"), kStateTicked);
    EXPECT_EQ(tree.CollectTickedItems().size(), 2u);
    EXPECT_EQ(tree.TickedNodeNames(),
              (std::vector<std::string>{"Internet Explorer", "Internet Explorer - Cookies", "Windows",
                                        "Windows - Temporary Files", "Advanced"}));
}

TEST(CleanItemTree, SelectNodeByNameTicksOnlyTheExactlyNamedNode) {
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    EXPECT_TRUE(tree.SelectNodeByName("Windows"));
    EXPECT_TRUE(tree.IsCategoryTicked("Windows"));
    EXPECT_TRUE(tree.CollectTickedItems().empty());  // its items are not touched

    EXPECT_TRUE(tree.SelectNodeByName("Opera - Cookies"));
    EXPECT_FALSE(tree.IsCategoryTicked("Opera"));  // nor is an item's category
    EXPECT_EQ(tree.CollectTickedItems(), std::vector<std::string>{"Opera - Cookies"});

    // Saved names that match nothing (a removed application, other case) tick nothing.
    EXPECT_FALSE(tree.SelectNodeByName("Applications - Gone"));
    EXPECT_FALSE(tree.SelectNodeByName("opera - cookies"));
    EXPECT_FALSE(tree.SelectNodeByName(""));
    EXPECT_EQ(tree.TickedNodeNames().size(), 2u);
}

TEST(CleanItemTree, IsCategoryTickedLooksAtTopLevelNodesOnly) {
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    size_t item = run::AddApplicationItem(tree, "Google Chrome");
    tree.ClickStateImage(item);
    EXPECT_TRUE(tree.IsCategoryTicked("Applications"));
    EXPECT_FALSE(tree.IsCategoryTicked("Google Chrome"));
    EXPECT_FALSE(tree.IsCategoryTicked("No Such Category"));
}

TEST(CleanItemTree, ExpandStatesUseTheFlagOfEachCategorysImageIndex) {
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    settings::TOptionsSetting options;
    options.FirstNodeExpand.fill(false);
    options.FirstNodeExpand[2] = true;   // Windows
    options.FirstNodeExpand[11] = true;  // Google Chrome
    settings::ExpandStates(tree, settings::TExpandStates::Restore, options);
    EXPECT_TRUE(tree.Node(Category(tree, "Windows")).Expanded);
    EXPECT_TRUE(tree.Node(Category(tree, "Google Chrome")).Expanded);
    EXPECT_FALSE(tree.Node(Category(tree, "Opera")).Expanded);

    tree.SetExpanded(Category(tree, "Google Chrome"), false);
    tree.SetExpanded(Category(tree, "Custom Lists"), true);
    settings::TOptionsSetting saved;
    saved.ShowLogTempInternetFiles = false;
    saved.ShowLogRecycleBin = false;
    settings::ExpandStates(tree, settings::TExpandStates::Save, saved);
    EXPECT_FALSE(saved.FirstNodeExpand[11]);
    EXPECT_TRUE(saved.FirstNodeExpand[10]);
    EXPECT_TRUE(saved.FirstNodeExpand[2]);
    EXPECT_FALSE(saved.FirstNodeExpand[1]);
    // Image index 3 belongs to no category: its flag is left as it was.
    EXPECT_TRUE(saved.FirstNodeExpand[3]);
    EXPECT_FALSE(saved.ShowLogTempInternetFiles);
    EXPECT_FALSE(saved.ShowLogRecycleBin);
}
