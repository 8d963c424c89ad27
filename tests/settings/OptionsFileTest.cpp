#include <gtest/gtest.h>

#include "platform/sim/SimMachine.h"
#include "run/CleanItemCatalogue.h"
#include "settings/OptionsFile.h"
#include "settings/ExpandStates.h"

using namespace nullvane;
using settings::TOptionsSetting;
using settings::TReadWrite;

namespace {

class OptionsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim.system().SetScreenSize(1280, 1024);
        path = settings::OptionsFilePath(sim.Machine());
    }

    TOptionsSetting Read(run::TCleanItemTree& into) {
        TOptionsSetting options;
        settings::ReadWriteOptions(TReadWrite::Read, sim.Machine(), path, into, options);
        return options;
    }
    void Write(TOptionsSetting& options, run::TCleanItemTree& from, settings::TWindowPlacement* window = nullptr) {
        settings::ReadWriteOptions(TReadWrite::Write, sim.Machine(), path, from, options, window);
    }
    void Put(const std::string& section, const std::string& key, const std::string& value) {
        ASSERT_TRUE(sim.Machine().profiles.WriteString(path, section, key, value));
    }
    std::string Get(const std::string& section, const std::string& key) {
        return sim.Machine().profiles.GetString(path, section, key, "<missing>");
    }

    platform::sim::SimMachine sim;
    std::string path;
    run::TCleanItemTree tree = run::CreateCleanItemTree();
};

class TFakeWindow final : public settings::TWindowPlacement {
public:
    std::optional<int> state;
    settings::TWindowBounds bounds;
    std::optional<int> GetShowState() override { return state; }
    settings::TWindowBounds GetBounds() override { return bounds; }
    void SetMaximized() override { maximized = true; }
    void SetBounds(const settings::TWindowBounds& b) override { bounds = b; }
    bool maximized = false;
};

}  // namespace

TEST_F(OptionsFileTest, LivesUnderTheApplicationDataFolder) {
    std::string appData = sim.system().SpecialFolder(platform::csidlAppData);
    EXPECT_EQ(path, appData + "\\Quillmark\\Nullvane\\options.ini");
    EXPECT_TRUE(sim.files().DirectoryExists(appData + "\\Quillmark\\Nullvane"));
}

TEST_F(OptionsFileTest, FallsBackToTheProgramFolderWhenTheFolderCannotBeMade) {
    // A file where the folder should be keeps the folder from being created.
    platform::sim::SimMachine other;
    std::string otherAppData = other.system().SpecialFolder(platform::csidlAppData);
    ASSERT_TRUE(other.files().WriteAll(otherAppData + "\\Quillmark", "in the way"));
    EXPECT_EQ(settings::OptionsFilePath(other.Machine()), other.system().ProgramFolder() + "options.ini");
}

TEST(OptionsFilePath, AReaderCreatesNoFolderAndFindsTheFileBesideTheProgram) {
    platform::sim::SimMachine sim;
    const std::string folder = sim.system().SpecialFolder(platform::csidlAppData) + "\\Quillmark\\Nullvane";
    EXPECT_EQ(settings::OptionsFilePathForReading(sim.Machine()), folder + "\\options.ini");
    EXPECT_FALSE(sim.files().Exists(folder));

    sim.MakeFile(sim.system().ProgramFolder() + "options.ini", "[Settings]\r\nFastScan=0\r\n");
    EXPECT_EQ(settings::OptionsFilePathForReading(sim.Machine()), sim.system().ProgramFolder() + "options.ini");

    // Once the folder exists, the file in it is the one.
    sim.MakeFolder(folder);
    EXPECT_EQ(settings::OptionsFilePathForReading(sim.Machine()), folder + "\\options.ini");
}

TEST_F(OptionsFileTest, NoFileGivesTheDefaults) {
    tree.ClickStateImage(*tree.FindCategory("Windows"));
    TOptionsSetting options;
    options.FastScan = false;
    options.AskForSweep = false;
    options.FirstNodeExpand.fill(false);
    settings::ReadWriteOptions(TReadWrite::Read, sim.Machine(), path, tree, options);

    EXPECT_TRUE(options.FastScan);
    EXPECT_TRUE(options.AskForSweep);
    EXPECT_FALSE(options.OverwriteFile);
    EXPECT_EQ(options.OverwriteNumber, 1);
    EXPECT_FALSE(options.EnableHotkey);
    EXPECT_EQ(settings::ShortcutText(options.Hotkey), "Ctrl  F5");
    EXPECT_EQ(options.Hotkey.CharAscII, 116);
    EXPECT_FALSE(options.AutoWash);
    EXPECT_EQ(options.WashInterval, 0);
    EXPECT_FALSE(options.StartWash);
    EXPECT_FALSE(options.ShutdownWash);
    EXPECT_TRUE(tree.TickedNodeNames().empty());
    for (int flag = 1; flag <= 11; ++flag) EXPECT_TRUE(options.FirstNodeExpand[flag]) << flag;
    EXPECT_EQ(options.WindowState, settings::TWindowState::wsNormal);
    EXPECT_EQ(options.Left, (1280 - 704) / 2);
    EXPECT_EQ(options.Top, (1024 - 507) / 2);
    EXPECT_EQ(options.Width, 704);
    EXPECT_EQ(options.Height, 507);
    EXPECT_FALSE(sim.files().Exists(path));  // reading creates no file
}

TEST_F(OptionsFileTest, WhatIsWrittenReadsBackTheSame) {
    TOptionsSetting written;
    written.AskForSweep = false;
    written.OverwriteFile = true;
    written.OverwriteNumber = 7;
    written.EnableHotkey = true;
    written.Hotkey = settings::TShortcut{false, true, true, "Q", 81};
    written.AutoWash = true;
    written.WashInterval = 3;
    written.StartWash = true;
    written.ShutdownWash = true;
    written.FirstNodeExpand.fill(false);
    written.FirstNodeExpand[5] = true;
    written.ShowLogTempInternetFiles = true;
    written.ShowLogRecycleBin = true;
    written.FastScan = false;
    written.Left = -20;
    written.Top = 40;
    written.Width = 900;
    written.Height = 650;
    tree.ClickStateImage(*tree.FindItem("Opera - Cookies"));
    tree.ClickStateImage(*tree.FindCategory("Instant Messengers"));
    Write(written, tree);
    EXPECT_EQ(written.SelectedCount, 8);  // two categories and six items

    run::TCleanItemTree readTree = run::CreateCleanItemTree();
    TOptionsSetting read = Read(readTree);
    EXPECT_EQ(readTree.TickedNodeNames(), tree.TickedNodeNames());
    EXPECT_EQ(read.AskForSweep, false);
    EXPECT_EQ(read.OverwriteFile, true);
    EXPECT_EQ(read.OverwriteNumber, 7);
    EXPECT_EQ(read.EnableHotkey, true);
    EXPECT_EQ(settings::ShortcutText(read.Hotkey), "Shift  Alt  Q");
    EXPECT_EQ(read.Hotkey.CharAscII, 81);
    EXPECT_EQ(read.AutoWash, true);
    EXPECT_EQ(read.WashInterval, 3);
    EXPECT_EQ(read.StartWash, true);
    EXPECT_EQ(read.ShutdownWash, true);
    EXPECT_EQ(read.SelectedCount, 8);
    EXPECT_EQ(read.FirstNodeExpand, written.FirstNodeExpand);
    EXPECT_EQ(read.ShowLogTempInternetFiles, true);
    EXPECT_EQ(read.ShowLogRecycleBin, true);
    EXPECT_EQ(read.FastScan, false);
    EXPECT_EQ(read.Left, -20);
    EXPECT_EQ(read.Top, 40);
    EXPECT_EQ(read.Width, 900);
    EXPECT_EQ(read.Height, 650);

    // The names are spelled as other versions of the file expect them.
    EXPECT_EQ(Get("SChedule", "WashInterval"), "3");
    EXPECT_EQ(Get("Hotkey", "CharAscII"), "81");
    EXPECT_EQ(Get("NodeSelected", "1"), "Opera");
    EXPECT_EQ(Get("NodeSelected", "2"), "Opera - Cookies");
    EXPECT_EQ(Get("NodeSelected", "3"), "Instant Messengers");
    EXPECT_EQ(Get("Window", "State"), "1");
    EXPECT_EQ(Get("Settings", "FastScan"), "0");
}

TEST_F(OptionsFileTest, OverwritePassesOutsideOneToTenReadAsOne) {
    for (auto [text, expected] : std::vector<std::pair<std::string, int>>{
             {"0", 1}, {"11", 1}, {"-3", 1}, {"10", 10}, {"4", 4}, {"many", 1}, {"99999999999", 1}}) {
        Put("Settings", "OverwriteNumber", text);
        EXPECT_EQ(Read(tree).OverwriteNumber, expected) << text;
    }
}

TEST_F(OptionsFileTest, ValuesThatAreNotNumbersReadAsTheDefault) {
    Put("Settings", "FastScan", "yes");
    Put("Settings", "AskForSweep", "0x");
    Put("Settings", "OverwriteFile", "5");  // any non-zero number is true
    Put("Hotkey", "CharAscII", "70000");
    Put("Window", "Width", "");
    TOptionsSetting options = Read(tree);
    EXPECT_TRUE(options.FastScan);
    EXPECT_TRUE(options.AskForSweep);
    EXPECT_TRUE(options.OverwriteFile);
    EXPECT_EQ(options.Hotkey.CharAscII, 116);
    EXPECT_EQ(options.Width, 704);
}

TEST_F(OptionsFileTest, UntickingEverythingSavesACountOfZeroAndLeavesTheOldNames) {
    TOptionsSetting options;
    tree.ClickStateImage(*tree.FindItem("Windows - Clipboard"));
    tree.ClickStateImage(*tree.FindItem("Windows - Start Run"));
    Write(options, tree);
    EXPECT_EQ(Get("NodeSelected", "SelectedCount"), "3");

    tree.SetAllStates(run::kStateUnticked);
    Write(options, tree);
    EXPECT_EQ(Get("NodeSelected", "SelectedCount"), "0");
    EXPECT_EQ(Get("NodeSelected", "1"), "Windows");
    EXPECT_EQ(Get("NodeSelected", "3"), "Windows - Clipboard");

    run::TCleanItemTree readTree = run::CreateCleanItemTree();
    EXPECT_EQ(Read(readTree).SelectedCount, 0);
    EXPECT_TRUE(readTree.TickedNodeNames().empty());
}

TEST_F(OptionsFileTest, SavedNamesAboveTheCountOrMatchingNothingTickNothing) {
    Put("NodeSelected", "SelectedCount", "2");
    Put("NodeSelected", "1", "Applications - Uninstalled Tool");
    Put("NodeSelected", "2", "Windows - Clipboard");
    Put("NodeSelected", "3", "Windows - Start Run");
    Put("NodeSelected", "02", "Opera - Cookies");
    Read(tree);
    EXPECT_EQ(tree.TickedNodeNames(), std::vector<std::string>{"Windows - Clipboard"});
}

TEST_F(OptionsFileTest, AHugeSavedCountDoesNotStallTheRead) {
    Put("NodeSelected", "SelectedCount", "2147483647");
    Put("NodeSelected", "1", "Windows - Clipboard");
    Read(tree);
    EXPECT_EQ(tree.TickedNodeNames(), std::vector<std::string>{"Windows - Clipboard"});
}

TEST_F(OptionsFileTest, AMaximisedWindowIgnoresTheSavedPosition) {
    Put("Window", "State", "3");
    Put("Window", "Left", "5");
    Put("Window", "Width", "300");
    TOptionsSetting options = Read(tree);
    EXPECT_EQ(options.WindowState, settings::TWindowState::wsMaximized);
    EXPECT_EQ(options.Left, (1280 - 704) / 2);
    EXPECT_EQ(options.Width, 704);

    TFakeWindow window;
    settings::ApplyPlacement(options, window, sim.Machine());
    EXPECT_TRUE(window.maximized);

    Put("Window", "State", "2");  // minimised comes back as a normal window
    options = Read(tree);
    EXPECT_EQ(options.WindowState, settings::TWindowState::wsNormal);
    EXPECT_EQ(options.Left, 5);
    EXPECT_EQ(options.Width, 300);
}

TEST_F(OptionsFileTest, TheWindowsPlacementIsWrittenAsTheWindowReportsIt) {
    TOptionsSetting options;
    TFakeWindow window;
    window.state = 3;
    window.bounds = {10, 20, 800, 600};
    Write(options, tree, &window);
    EXPECT_EQ(Get("Window", "State"), "3");
    EXPECT_EQ(Get("Window", "Left"), "10");
    EXPECT_EQ(Get("Window", "Height"), "600");

    // A placement the system cannot tell leaves "State" as it was.
    window.state.reset();
    window.bounds = {1, 2, 700, 500};
    Write(options, tree, &window);
    EXPECT_EQ(Get("Window", "State"), "3");
    EXPECT_EQ(Get("Window", "Left"), "1");
}

TEST_F(OptionsFileTest, TheChromeExpandedStateHasItsOwnKeyAndTouchesNoOtherSetting) {
    TOptionsSetting options;
    options.ShowLogTempInternetFiles = false;
    // A browser found on the machine shows Chrome's image, but never decides Chrome's key.
    tree.InsertCategoryAfter(*tree.FindCategory("Google Chrome"), "Microsoft Edge", 11);
    for (size_t i = 0; i < tree.Count(); ++i) tree.SetExpanded(i, tree.Node(i).Level == 0);
    tree.SetExpanded(*tree.FindCategory("Google Chrome"), false);
    settings::ExpandStates(tree, settings::TExpandStates::Save, options);
    Write(options, tree);
    EXPECT_EQ(Get("FirstNodeExpand", "11"), "0");
    EXPECT_EQ(Get("FirstNodeExpand", "10"), "1");
    EXPECT_EQ(Get("Settings", "ShowLogTempInternetFiles"), "0");

    run::TCleanItemTree readTree = run::CreateCleanItemTree();
    TOptionsSetting read = Read(readTree);
    settings::ExpandStates(readTree, settings::TExpandStates::Restore, read);
    EXPECT_FALSE(readTree.Node(*readTree.FindCategory("Google Chrome")).Expanded);
    EXPECT_TRUE(readTree.Node(*readTree.FindCategory("Windows")).Expanded);
    EXPECT_FALSE(read.ShowLogTempInternetFiles);
}

TEST(OptionsSetting, WashIntervalsAndShortcutText) {
    EXPECT_EQ(settings::WashIntervalMs(0), 900000);
    EXPECT_EQ(settings::WashIntervalMs(1), 1800000);
    EXPECT_EQ(settings::WashIntervalMs(2), 3600000);
    EXPECT_EQ(settings::WashIntervalMs(3), 14400000);
    EXPECT_EQ(settings::WashIntervalMs(4), 28800000);
    EXPECT_EQ(settings::WashIntervalMs(5), 900000);
    EXPECT_EQ(settings::WashIntervalMs(-1), 900000);
    EXPECT_EQ(settings::ShortcutText(settings::TShortcut{true, true, true, "F12", 123}), "Ctrl  Shift  Alt  F12");
    EXPECT_EQ(settings::ShortcutText(settings::TShortcut{false, false, false, "", 0}), "");
}
