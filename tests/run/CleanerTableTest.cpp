#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "customlists/RunDataSection.h"
#include "platform/sim/SimMachine.h"
#include "run/BrowserCheck.h"
#include "run/CleanItemCatalogue.h"
#include "run/CleanerTable.h"
#include "run/Dispatch.h"

using namespace nullvane;

TEST(Dispatch, CustomListNamesGoToTheCustomListFileWhereverTheTextStands) {
    for (const char* name : {"Custom Lists - <New List>", "Custom Lists - Mine", "Applications - Custom Lists - X"}) {
        const run::TDispatch dispatch = run::DispatchOf(name);
        EXPECT_EQ(dispatch.Cleaner, nullptr) << name;
        EXPECT_EQ(dispatch.DataFile, customlists::kCustomListFile) << name;
    }
}

TEST(Dispatch, OtherNamesMatchWholeAndWithCase) {
    EXPECT_NE(run::DispatchOf("Windows - Start Run").Cleaner, nullptr);
    for (const char* name : {"windows - start run", "Windows - Start Run ", "Windows -  Start Run", "Windows-Start Run",
                             "Start Run", "Applications - WinZip", "Windows - Windows Log Files"}) {
        const run::TDispatch dispatch = run::DispatchOf(name);
        EXPECT_EQ(dispatch.Cleaner, nullptr) << name;
        EXPECT_EQ(dispatch.DataFile, customlists::kApplicationsDataFile) << name;
    }
    // A catalogue entry goes to the catalogue whatever its own name holds.
    EXPECT_EQ(run::DispatchOf("winapp2.ini - Tool Custom Lists - Old").Winapp2Entry, "Tool Custom Lists - Old");
}

TEST(CleanerTable, EveryItemWithACleanerSelectsItsOwnAndNoTextIsWrittenTwice) {
    std::set<std::string> names;
    std::set<run::TCleanerFn> cleaners;
    std::set<std::string> categories;
    std::set<int> images;
    std::string_view category;
    for (const run::TCleanerRow& row : run::CleanerTable()) {
        if (row.Category.Text != category) {
            category = row.Category.Text;
            // A category's rows stand together: the tree would show it twice otherwise.
            EXPECT_TRUE(categories.insert(row.Category.Text).second) << row.Category.Text;
            EXPECT_TRUE(images.insert(row.Category.ImageIndex).second) << row.Category.Text;
        }
        if (row.Item.empty()) continue;
        const std::string name = std::string(row.Category.Text) + " - " + std::string(row.Item);
        EXPECT_TRUE(names.insert(name).second) << "twice: " << name;
        if (!row.Cleaner) continue;
        EXPECT_TRUE(cleaners.insert(row.Cleaner).second) << "a cleaner on two items: " << name;
        EXPECT_EQ(run::DispatchOf(name).Cleaner, row.Cleaner) << name;
    }
    EXPECT_EQ(categories.size(), 10u);
}

#ifndef _WIN32
TEST(CleanerTable, ItemsWithoutACleanerHaveTheirSectionInTheShippedDataFile) {
    // Such an item would otherwise clean nothing, without a word.
    std::ifstream file(std::string(NULLVANE_SOURCE_DIR) + "/data/NVane.dat");
    ASSERT_TRUE(file);
    std::set<std::string> sections;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') sections.insert(line.substr(1, line.size() - 2));
    }
    std::vector<std::string> dataDriven;
    for (const run::TCleanerRow& row : run::CleanerTable()) {
        if (row.Cleaner || row.Item.empty()) continue;
        const std::string name = std::string(row.Category.Text) + " - " + std::string(row.Item);
        if (run::DispatchOf(name).DataFile != customlists::kApplicationsDataFile) continue;
        dataDriven.push_back(name);
        EXPECT_TRUE(sections.count(std::string(row.Item))) << name;
    }
    EXPECT_EQ(dataDriven.size(), 6u);
}
#endif

TEST(BrowserRefusal, AnOpenTickedBrowserRefusesACleanButNotATest) {
    platform::sim::SimMachine sim;
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    tree.ClickStateImage(*tree.FindItem("Mozilla Firefox - Cookies"));
    tree.ClickStateImage(*tree.FindItem("Google Chrome - Cookies"));
    auto& desktop = sim.Machine().desktop;

    EXPECT_EQ(run::BrowserRefusal(tree, desktop, base::rmUnattended), std::nullopt);

    // Every program of Chrome's framework shows its window class: Chrome is told by its lock alone.
    sim.desktop().RegisterWindow("Chrome_WidgetWin_1");
    EXPECT_EQ(run::BrowserRefusal(tree, desktop, base::rmUnattended), std::nullopt);

    sim.desktop().RegisterWindow("MozillaWindowClass");
    EXPECT_EQ(run::BrowserRefusal(tree, desktop, base::rmUnattended), "Please close Mozilla Firefox firstly!");
    EXPECT_EQ(run::BrowserRefusal(tree, desktop, base::rmTest), std::nullopt);
    // The removing pass after a pre-scan is not refused again.
    EXPECT_EQ(run::BrowserRefusal(tree, desktop, base::rmClean), std::nullopt);

    // Unticked browsers do not matter.
    run::TCleanItemTree other = run::CreateCleanItemTree();
    other.ClickStateImage(*other.FindItem("Windows - Clipboard"));
    EXPECT_EQ(run::BrowserRefusal(other, desktop, base::rmUnattended), std::nullopt);
}
