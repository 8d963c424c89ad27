#include <filesystem>

#include "cleaners/Cleaners.h"
#include "removal/RemovalFixture.h"

using namespace nullvane;
using namespace nullvane::cleaners;
using nullvane::platform::RegRoot;
using nullvane::testing::RemovalFixture;

namespace {

class WindowsCleanersTest : public RemovalFixture {
protected:
    std::string Folder(int csidl) { return sim.system().SpecialFolder(csidl) + "\\"; }
    int DeletingLines() {
        int n = 0;
        for (const auto& line : log.Lines()) n += line.find("deleting") != std::string::npos;
        return n;
    }
};

TEST_F(WindowsCleanersTest, RecentDocumentsCountsTheListAndTheShortcutsWithoutChangingThemInATest) {
    std::string recentDocs = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
    for (int i = 0; i < 12; ++i) sim.registry().SetString(RegRoot::CurrentUser, recentDocs, std::to_string(i), "x");
    for (int i = 0; i < 30; ++i) sim.MakeFile(Folder(platform::csidlRecent) + "doc" + std::to_string(i) + ".lnk", "1234");
    auto& run = Run(base::rmTest);
    CleanRecentDocuments(run);
    EXPECT_EQ(run.ItemCount, 42);
    EXPECT_EQ(run.ItemBytes, 120u);
    EXPECT_EQ(run.ItemSizeText, "1");
    EXPECT_TRUE(sim.registry().OpenKey(RegRoot::CurrentUser, recentDocs, platform::RegAccess::Read));
    EXPECT_TRUE(Exists(Folder(platform::csidlRecent) + "doc29.lnk"));
    EXPECT_GE(sim.internet().EndBrowserSessionCount(), 1);
}

TEST_F(WindowsCleanersTest, RecycleBinWalksOnlyMarkedFoldersOfFixedDrives) {
    std::filesystem::create_directories(sim.HostRoot() / "D");
    std::filesystem::create_directories(sim.HostRoot() / "E");
    sim.MakeFile("C:\\Recycled\\INFO2", "i");
    sim.MakeFile("C:\\Recycled\\Desktop.ini", "d");
    sim.MakeFile("C:\\Recycled\\Dc1.txt", "12");
    sim.MakeFile("C:\\Recycled\\Dc2\\inner.txt", "345");
    sim.MakeFile("D:\\Recycled\\INFO2", "i");  // D: is removable
    sim.MakeFile("D:\\Recycled\\desktop.ini", "d");
    sim.MakeFile("D:\\Recycled\\Dd1.txt", "x");
    sim.system().SetDriveType("D:\\", platform::DriveType::Removable);
    sim.MakeFile("E:\\Recycled\\De1.txt", "x");  // no INFO2
    sim.system().SetDriveType("E:\\", platform::DriveType::Fixed);

    auto& test = Run(base::rmTest);
    CleanRecycleBin(test);
    EXPECT_EQ(test.ItemCount, 2);
    EXPECT_EQ(test.ItemBytes, 5u);
    EXPECT_TRUE(log.Lines().empty());  // neither the notice nor file lines in a Test
    EXPECT_EQ(sim.desktop().EmptyRecycleBinCount(), 0);

    auto& clean = Run(base::rmClean);
    CleanRecycleBin(clean);
    EXPECT_EQ(clean.ItemCount, 2);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Clearing, please wait..."});
    EXPECT_TRUE(Exists("C:\\Recycled\\INFO2"));
    EXPECT_TRUE(Exists("C:\\Recycled\\Desktop.ini"));
    EXPECT_FALSE(Exists("C:\\Recycled\\Dc2"));
    EXPECT_TRUE(Exists("D:\\Recycled\\Dd1.txt"));
    EXPECT_TRUE(Exists("E:\\Recycled\\De1.txt"));
    EXPECT_EQ(sim.desktop().EmptyRecycleBinCount(), 1);

    Options.ShowLogRecycleBin = true;
    sim.MakeFile("C:\\Recycled\\Dc3.txt", "x");
    CleanRecycleBin(Run(base::rmClean));
    EXPECT_EQ(DeletingLines(), 1);
}

TEST_F(WindowsCleanersTest, TemporaryFilesEmptyTheFolderButKeepIt) {
    std::string temp = sim.system().TempFolder();
    sim.MakeFile(temp + "a.tmp", "aaaa");
    sim.MakeFile(temp + "Setup\\b.tmp", "bb");
    auto& run = Run(base::rmClean);
    CleanTemporaryFiles(run);
    EXPECT_EQ(run.ItemCount, 2);
    EXPECT_EQ(run.ItemBytes, 6u);
    EXPECT_TRUE(sim.files().DirectoryExists(temp));
    EXPECT_FALSE(Exists(temp + "Setup"));
}

TEST_F(WindowsCleanersTest, MemoryDumpsAndCheckDiskFragmentsMatchTheirMasks) {
    std::string windows = sim.system().WindowsFolder() + "\\";
    sim.MakeFile(windows + "memory.dmp", "12345");
    sim.MakeFile(windows + "other.dmp", "x");
    sim.MakeFile(windows + "MiniDump\\Mini1.DMP", "123");
    sim.MakeFile(windows + "MiniDump\\notes.txt", "x");
    auto& dumps = Run(base::rmClean);
    CleanMemoryDumps(dumps);
    EXPECT_EQ(dumps.ItemCount, 2);
    EXPECT_EQ(dumps.ItemBytes, 8u);
    EXPECT_TRUE(Exists(windows + "other.dmp"));
    EXPECT_TRUE(Exists(windows + "MiniDump\\notes.txt"));

    std::string system = sim.system().SystemFolder() + "\\";
    sim.MakeFile(system + "FILE0000.CHK", "x");
    sim.MakeFile(system + "file0001.chk", "x");
    sim.MakeFile(system + "kernel.chk", "x");
    auto& chk = Run(base::rmTest);
    CleanChkdskFragments(chk);
    EXPECT_EQ(chk.ItemCount, 2);
}

TEST_F(WindowsCleanersTest, ClipboardIsEmptiedOnlyByAClean) {
    sim.desktop().SetClipboardText("secret");
    auto& test = Run(base::rmTest);
    CleanClipboard(test);
    EXPECT_EQ(sim.desktop().ClipboardText(), "secret");
    EXPECT_EQ(test.ItemCount, 0);
    CleanClipboard(Run(base::rmClean));
    EXPECT_EQ(sim.desktop().ClipboardText(), "");
}

TEST_F(WindowsCleanersTest, AdvancedItemsCountAndRemoveTheirKeys) {
    std::string explorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    int sizes[] = {6, 4, 3};
    for (int k = 0; k < 3; ++k)
        for (int v = 0; v < sizes[k]; ++v)
            sim.registry().SetString(RegRoot::CurrentUser, explorer + "ComDlg32\\OpenSaveMRU\\ext" + std::to_string(k),
                                     std::to_string(v), "x");
    auto& test = Run(base::rmTest);
    CleanOpenFileHistory(test);
    EXPECT_EQ(test.ItemCount, 13);
    auto& clean = Run(base::rmClean);
    CleanOpenFileHistory(clean);
    EXPECT_FALSE(sim.registry().OpenKey(RegRoot::CurrentUser, explorer + "ComDlg32\\OpenSaveMRU",
                                        platform::RegAccess::Read));

    sim.registry().SetBinary(RegRoot::CurrentUser, explorer + "TrayNotify", "IconStreams", {1});
    sim.registry().SetBinary(RegRoot::CurrentUser, explorer + "TrayNotify", "Keep", {1});
    auto& tray = Run(base::rmClean);
    CleanTrayNotificationsCache(tray);
    EXPECT_EQ(tray.ItemCount, 1);
    EXPECT_TRUE(sim.registry().ReadValue(RegRoot::CurrentUser, explorer + "TrayNotify", "Keep"));

    size_t lines = log.Lines().size();
    auto& assist = Run(base::rmClean);
    CleanUserAssistHistory(assist);
    EXPECT_EQ(assist.ItemCount, 0);
    EXPECT_EQ(log.Lines().size(), lines);
    EXPECT_EQ(assist.ItemSizeText, "0");
}

}  // namespace
