#include <gtest/gtest.h>

#include "customlists/RunDataSection.h"
#include "platform/sim/SimMachine.h"
#include "run/BrowserCheck.h"
#include "run/CleanItemCatalogue.h"
#include "run/DispatchTable.h"

using namespace nullvane;

TEST(DispatchTable, CustomListNamesGoToTheCustomListFileWhereverTheTextStands) {
    for (const char* name : {"Custom Lists - <New List>", "Custom Lists - Mine", "Applications - Custom Lists - X"}) {
        const run::TDispatchRow* row = run::FindDispatchRow(name);
        ASSERT_TRUE(row) << name;
        EXPECT_FALSE(row->Cleaner);
        EXPECT_EQ(row->DataFile, customlists::kCustomListFile) << name;
    }
}

TEST(DispatchTable, OtherNamesMatchWholeAndWithCase) {
    EXPECT_FALSE(run::FindDispatchRow("windows - windows log files"));
    EXPECT_FALSE(run::FindDispatchRow("Windows - Windows Log Files "));
    EXPECT_FALSE(run::FindDispatchRow("Applications - WinZip"));
    const run::TDispatchRow* logs = run::FindDispatchRow("Windows - Windows Log Files");
    ASSERT_TRUE(logs);
    EXPECT_EQ(logs->DataFile, customlists::kApplicationsDataFile);
}

TEST(DispatchTable, EveryWholeNameRowIsACatalogueItem) {
    // A misspelt row would never run its cleaner.
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    for (const run::TDispatchRow& row : run::DispatchTable()) {
        if (row.Match != run::TMatch::Exact) continue;
        EXPECT_TRUE(tree.FindItem(row.Name)) << row.Name;
        EXPECT_TRUE(row.Cleaner != nullptr || !row.DataFile.empty()) << row.Name;
    }
}

TEST(BrowserRefusal, AnOpenTickedBrowserRefusesACleanButNotATest) {
    platform::sim::SimMachine sim;
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    tree.ClickStateImage(*tree.FindItem("Mozilla Firefox - Cookies"));
    tree.ClickStateImage(*tree.FindItem("Google Chrome - Cookies"));
    auto& desktop = sim.Machine().desktop;

    EXPECT_EQ(run::BrowserRefusal(tree, desktop, run::rmUnattended), std::nullopt);

    sim.desktop().RegisterWindow("Chrome_WidgetWin_1");
    EXPECT_EQ(run::BrowserRefusal(tree, desktop, run::rmUnattended), "Please close Google Chrome firstly!");
    EXPECT_EQ(run::BrowserRefusal(tree, desktop, run::rmCleanRequested), "Please close Google Chrome firstly!");
    EXPECT_EQ(run::BrowserRefusal(tree, desktop, run::rmTest), std::nullopt);

    sim.desktop().RegisterWindow("MozillaWindowClass");
    EXPECT_EQ(run::BrowserRefusal(tree, desktop, run::rmUnattended), "Please close Mozilla Firefox firstly!");
    EXPECT_EQ(run::BrowserRefusal(tree, desktop, run::rmTest), std::nullopt);
    // The removing pass after a pre-scan is not refused again.
    EXPECT_EQ(run::BrowserRefusal(tree, desktop, run::rmClean), std::nullopt);

    // Unticked browsers do not matter.
    run::TCleanItemTree other = run::CreateCleanItemTree();
    other.ClickStateImage(*other.FindItem("Windows - Clipboard"));
    EXPECT_EQ(run::BrowserRefusal(other, desktop, run::rmUnattended), std::nullopt);
}
