#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

#include "removal/FileRemoval.h"
#include "removal/RemovalErrors.h"
#include "RemovalFixture.h"

using namespace nullvane;
using namespace nullvane::removal;
using nullvane::testing::RemovalFixture;

namespace {

class FileRemovalTest : public RemovalFixture {
protected:
    // C:\Work: three files and a subfolder with two more (sizes 1 to 5 bytes).
    void MakeWorkTree() {
        sim.MakeFile("C:\\Work\\a.txt", "1");
        sim.MakeFile("C:\\Work\\b.tmp", "22");
        sim.MakeFile("C:\\Work\\c.log", "333");
        sim.MakeFile("C:\\Work\\Sub\\d.txt", "4444");
        sim.MakeFile("C:\\Work\\Sub\\e.txt", "55555");
    }
    std::vector<std::string> Questions() {
        std::vector<std::string> texts;
        for (const auto& asked : sim.dialogs().Asked()) texts.push_back(asked.text);
        return texts;
    }
};

TEST_F(FileRemovalTest, TestRunCountsListsAndKeepsEverything) {
    MakeWorkTree();
    auto& run = Run(base::rmTest);
    int32_t count = 0;
    uint64_t bytes = CleanFolder(run, "C:\\Work", {.removeFolder = true});
    count = run.ItemCount;
    EXPECT_EQ(count, 5);
    EXPECT_EQ(bytes, 15u);
    auto lines = log.Lines();
    ASSERT_EQ(lines.size(), 5u);
    for (const auto& line : lines) EXPECT_EQ(line.rfind("Test: deleting C:\\Work\\", 0), 0u) << line;
    EXPECT_TRUE(Exists("C:\\Work\\Sub\\e.txt"));
    EXPECT_TRUE(Exists("C:\\Work\\a.txt"));
    EXPECT_TRUE(sim.dialogs().Asked().empty());
}

TEST_F(FileRemovalTest, TestRunOnADriveRootAsksNothing) {
    sim.MakeFile("C:\\x.tmp", "x");
    int32_t count = 0;
    CleanFolder(Run(base::rmTest), "C:\\", {.logIt = false});
    count = LastRun().ItemCount;
    EXPECT_GE(count, 1);
    EXPECT_TRUE(sim.dialogs().Asked().empty());
}

TEST_F(FileRemovalTest, CleanRunRemovesFilesAndSubfoldersButKeepsTheFolderUnlessAsked) {
    MakeWorkTree();
    int32_t count = 0;
    uint64_t bytes = CleanFolder(Run(base::rmClean), "C:\\Work\\");
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 5);
    EXPECT_EQ(bytes, 15u);
    EXPECT_TRUE(sim.files().DirectoryExists("C:\\Work"));
    EXPECT_FALSE(Exists("C:\\Work\\Sub"));
    EXPECT_FALSE(Exists("C:\\Work\\a.txt"));

    count = 0;
    sim.MakeFile("C:\\Work\\again.txt", "z");
    CleanFolder(Run(base::rmClean), "C:\\Work", {.removeFolder = true, .logIt = false});
    count = LastRun().ItemCount;
    EXPECT_FALSE(Exists("C:\\Work"));
}

TEST_F(FileRemovalTest, ExcludedNameStaysInEveryFolderAndKeepsItsFolder) {
    sim.MakeFile("C:\\Cache\\INDEX.DAT", "keep");
    sim.MakeFile("C:\\Cache\\x.gif", "gone");
    sim.MakeFile("C:\\Cache\\Sub\\index.dat", "keep");
    sim.MakeFile("C:\\Cache\\Sub\\y.gif", "gone");
    int32_t count = 0;
    CleanFolder(Run(base::rmClean), "C:\\Cache", {.keepName = "index.dat"});
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(Exists("C:\\Cache\\INDEX.DAT"));
    EXPECT_TRUE(Exists("C:\\Cache\\Sub\\index.dat"));
    EXPECT_FALSE(Exists("C:\\Cache\\Sub\\y.gif"));
}

TEST_F(FileRemovalTest, CleanFolderExceptKeepsNamesContainingTheText) {
    sim.MakeFile("C:\\Local\\chrome-extension_abc_0.localstorage", "keep");
    sim.MakeFile("C:\\Local\\http_site_0.localstorage", "gone");
    sim.MakeFile("C:\\Local\\Deep\\other.txt", "gone");
    int32_t count = 0;
    CleanFolder(Run(base::rmClean), "C:\\Local", {.keepContaining = "CHROME-EXTENSION_"});
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(Exists("C:\\Local\\chrome-extension_abc_0.localstorage"));
    EXPECT_FALSE(Exists("C:\\Local\\http_site_0.localstorage"));
    EXPECT_FALSE(Exists("C:\\Local\\Deep"));
}

TEST_F(FileRemovalTest, DriveRootQuestionAnsweredNoLeavesTheDriveAlone) {
    sim.MakeFile("C:\\keep.txt", "k");
    sim.dialogs().QueueAnswer(platform::idNo);
    int32_t count = 7;
    EXPECT_EQ(CleanFolder(Run(base::rmClean), "C:\\"), 0u);
    EXPECT_EQ(count, 7);
    EXPECT_TRUE(Exists("C:\\keep.txt"));
    ASSERT_EQ(sim.dialogs().Asked().size(), 1u);
    const auto asked = sim.dialogs().Asked()[0];
    EXPECT_EQ(asked.text, "Do you want to delete all files and folders under C:\\?");
    EXPECT_EQ(asked.caption, "Nullvane");
    EXPECT_EQ(asked.flags, 0x144u);
}

TEST_F(FileRemovalTest, MaskQuestionsDependOnTheMaskAndTheFolder) {
    std::string documents = sim.system().SpecialFolder(platform::csidlPersonal) + "\\";
    sim.MakeFile(documents + "letter.doc", "d");
    sim.dialogs().QueueAnswer(platform::idNo);
    CleanFilesByMask(Run(base::rmClean), documents, "*.doc");
    EXPECT_EQ(Questions(), std::vector<std::string>{"Do you want to delete the files on " + documents + "?"});
    EXPECT_TRUE(Exists(documents + "letter.doc"));

    // A mask without "*" on a drive root skips the root question.
    sim.MakeFile("C:\\memory.dmp", "m");
    CleanFilesByMask(Run(base::rmClean), "C:\\", "memory.dmp");
    EXPECT_EQ(Questions().size(), 1u);
    EXPECT_FALSE(Exists("C:\\memory.dmp"));
}

TEST_F(FileRemovalTest, MasksMatchAsTheWalkDefinesThem) {
    for (const char* name : {"FILE0000.CHK", "file1.chk", "other.chk", "crash.DMP", "memory.dmp", "README",
                             "Sub\\deep.dmp"})
        sim.MakeFile(std::string("C:\\M\\") + name, "x");
    sim.MakeFile("C:\\N\\MEMORY.DMP", "x");
    auto countFor = [&](const std::string& mask, bool recurse) {
        int32_t count = 0;
        CleanFilesByMask(Run(base::rmTest), "C:\\M", mask, {.recurse = recurse});
        count = LastRun().ItemCount;
        return count;
    };
    EXPECT_EQ(countFor("File*.chk", false), 2);
    EXPECT_EQ(countFor("*.dmp", false), 2);
    EXPECT_EQ(countFor("*.dmp", true), 3);
    EXPECT_EQ(countFor("memory.dmp", false), 1);
    EXPECT_EQ(countFor("*.*", false), 6);  // README has no extension
    int32_t exact = 0;
    CleanFilesByMask(Run(base::rmTest), "C:\\N", "memory.dmp");
    exact = LastRun().ItemCount;
    EXPECT_EQ(exact, 0);  // a mask without "*" matches the exact name, case included
}

TEST_F(FileRemovalTest, WipeWritesOneRandomByteValuePerPassAndKeepsTheLength) {
    sim.MakeFile("C:\\w.bin", std::string(10000, 'A'));
    sim.system().SetRandomSequence({7, 254, 300});  // 300 is taken modulo 255: 45
    WipeFile(Run(base::rmClean), "C:\\w.bin", 3);
    EXPECT_EQ(Read("C:\\w.bin"), std::string(10000, static_cast<char>(45)));

    sim.system().SetRandomSequence({9});
    WipeFile(Run(base::rmClean), "C:\\w.bin", 0);
    EXPECT_EQ(Read("C:\\w.bin"), std::string(10000, static_cast<char>(45)));
}

TEST_F(FileRemovalTest, OverwriteLeavesReadOnlyAndInUseFilesUnwrittenButStillDeletesTheReadOnlyOne) {
    Options.OverwriteFile = true;
    Options.OverwriteNumber = 2;
    sim.MakeFile("C:\\ro.txt", "secret");
    sim.files().SetAttributes("C:\\ro.txt", platform::faReadOnly);
    WipeFile(Run(base::rmClean), "C:\\ro.txt", 2);
    EXPECT_EQ(Read("C:\\ro.txt"), "secret");
    EXPECT_TRUE(EraseFile(Run(base::rmClean), "C:\\ro.txt", true));
    EXPECT_FALSE(Exists("C:\\ro.txt"));

    sim.MakeFile("C:\\busy.txt", "busy");
    sim.files().SetInUse("C:\\busy.txt");
    EXPECT_TRUE(IsFileLocked(Run(base::rmClean), "C:\\busy.txt"));
    EXPECT_FALSE(EraseFile(Run(base::rmClean), "C:\\busy.txt", false));
    sim.files().SetInUse("C:\\busy.txt", false);
    EXPECT_EQ(Read("C:\\busy.txt"), "busy");
    EXPECT_FALSE(IsFileLocked(Run(base::rmClean), "C:\\missing.txt"));
}

// Passes over a file NTFS writes elsewhere (compressed, encrypted, sparse) or
// on a drive that moves every write never reach the old data: such files are
// only deleted, and the log says why, the drive once per run.
TEST_F(FileRemovalTest, OverwritingPassesOverFilesNtfsMovesAndDrivesThatMoveWritesSayingSoOncePerDrive) {
    Options.OverwriteFile = true;
    Options.OverwriteNumber = 2;
    const std::pair<const char*, uint32_t> files[] = {{"plain.tmp", 0},
                                                      {"packed.tmp", platform::faCompressed},
                                                      {"sealed.tmp", platform::faEncrypted},
                                                      {"holes.tmp", platform::faSparse}};
    for (const auto& [name, attributes] : files) {
        sim.MakeFile(std::string("C:\\Temp\\") + name, "secret");
        if (attributes) ASSERT_TRUE(sim.files().SetStorageAttributes(std::string("C:\\Temp\\") + name, attributes));
    }
    // Every overwritten file draws its pass values afresh.
    int overwrites = sim.system().RandomizeCount();
    CleanFolder(Run(base::rmClean), "C:\\Temp", {.logIt = false});
    EXPECT_EQ(sim.system().RandomizeCount() - overwrites, 1);
    EXPECT_EQ(LastRun().ItemCount, 4);
    for (const auto& [name, attributes] : files) EXPECT_FALSE(Exists(std::string("C:\\Temp\\") + name)) << name;
    EXPECT_THAT(log.Lines(), ::testing::UnorderedElementsAre("Clean: not overwritten (compressed): C:\\Temp\\packed.tmp",
                                                             "Clean: not overwritten (encrypted): C:\\Temp\\sealed.tmp",
                                                             "Clean: not overwritten (sparse): C:\\Temp\\holes.tmp"));

    // A drive that did not answer is overwritten as before; one without seek
    // penalty, or with TRIM, is not, and is named once.
    const std::string solidState =
        "Overwriting cannot guarantee that deleted data is gone on the solid-state drive C:; the files are deleted.";
    const std::pair<platform::TStorageTraits, bool> drives[] = {{{.SeekPenalty = true, .Trim = false}, true},
                                                                {{.SeekPenalty = false}, false},
                                                                {{.SeekPenalty = true, .Trim = true}, false},
                                                                {{.Trim = true}, false}};
    for (const auto& [traits, overwritten] : drives) {
        sim.system().SetStorageTraits("C:", traits);
        sim.MakeFile("C:\\Temp\\one.tmp", "secret");
        sim.MakeFile("C:\\Temp\\Sub\\two.tmp", "secret");
        log.Clear();
        overwrites = sim.system().RandomizeCount();
        const size_t asked = sim.system().StorageQueries().size();
        CleanFolder(Run(base::rmClean), "C:\\Temp", {.logIt = false});
        EXPECT_EQ(sim.system().RandomizeCount() - overwrites, overwritten ? 2 : 0);
        EXPECT_EQ(sim.system().StorageQueries().size(), asked + 1);
        EXPECT_FALSE(Exists("C:\\Temp\\one.tmp"));
        EXPECT_FALSE(Exists("C:\\Temp\\Sub\\two.tmp"));
        EXPECT_EQ(log.Lines(), overwritten ? std::vector<std::string>{} : std::vector<std::string>{solidState});
    }
    // A Test never asks the drive.
    sim.MakeFile("C:\\Temp\\three.tmp", "secret");
    const size_t asked = sim.system().StorageQueries().size();
    CleanFolder(Run(base::rmTest), "C:\\Temp", {.logIt = false});
    EXPECT_EQ(sim.system().StorageQueries().size(), asked);
}

TEST_F(FileRemovalTest, LinkedFoldersAreNeverEnteredAndOnlyTheLinkGoes) {
    sim.MakeFile("C:\\Outside\\precious.doc", "precious");
    sim.MakeFile("C:\\Temp\\junk.tmp", "junk");
    std::error_code linkError;
    std::filesystem::create_directory_symlink(sim.HostPath("C:\\Outside"), sim.HostPath("C:\\Temp") / "link", linkError);
    // The Windows build runs these under Wine, whose host cannot make links;
    // the Wine tests cover the link rule there.
    if (linkError) GTEST_SKIP() << "no symbolic links on this host: " << linkError.message();

    int32_t count = 0;
    CleanFolder(Run(base::rmTest), "C:\\Temp");
    count = LastRun().ItemCount;
    EXPECT_EQ(count, 1);  // junk.tmp; nothing behind the link
    for (const auto& line : log.Lines()) EXPECT_EQ(line.find("precious"), std::string::npos) << line;

    Options.OverwriteFile = true;
    count = 0;
    CleanFolder(Run(base::rmClean), "C:\\Temp");
    count = LastRun().ItemCount;
    EXPECT_EQ(Read("C:\\Outside\\precious.doc"), "precious");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sim.HostPath("C:\\Temp") / "link")));
    EXPECT_FALSE(Exists("C:\\Temp\\junk.tmp"));
    for (const char* mask : {"*.*", "*.doc"}) {
        count = 0;
        std::filesystem::create_directory_symlink(sim.HostPath("C:\\Outside"), sim.HostPath("C:\\Temp") / "again");
        CleanFilesByMask(Run(base::rmClean), "C:\\Temp", mask, {.recurse = true});
        count = LastRun().ItemCount;
        CleanFolder(Run(base::rmClean), "C:\\Temp");
        count = LastRun().ItemCount;
        EXPECT_EQ(Read("C:\\Outside\\precious.doc"), "precious") << mask;
    }
}

TEST_F(FileRemovalTest, SizesAreSixtyFourBit) {
    sim.MakeFolder("C:\\Big");
    {
        std::ofstream(sim.HostPath("C:\\Big") / "huge.bin").put('x');
    }
    std::filesystem::resize_file(sim.HostPath("C:\\Big") / "huge.bin", 5ull << 30);  // sparse
    EXPECT_EQ(CleanFolder(Run(base::rmTest), "C:\\Big", {.logIt = false}), 5ull << 30);
}

TEST_F(FileRemovalTest, CancelledOrMissingFoldersGiveNothing) {
    MakeWorkTree();
    auto& run = Run(base::rmClean);
    EXPECT_EQ(CleanFolder(run, "C:\\Nowhere", {.removeFolder = true}), 0u);
    EXPECT_EQ(CleanFolder(run, "\\", {.removeFolder = true}), 0u);
    run.Terminate();
    EXPECT_EQ(CleanFolder(run, "C:\\Work", {.removeFolder = true}), 0u);
    EXPECT_EQ(CleanFilesByMask(run, "C:\\Work", "*.*", {.recurse = true}), 0u);
    EXPECT_EQ(CleanFolder(run, "C:\\Work", {.removeFolder = true}), 0u);
    EXPECT_EQ(run.ItemCount, 0);
    EXPECT_TRUE(Exists("C:\\Work\\a.txt"));
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(FileRemovalTest, ProgressIsPostedAtMostEveryTwoSecondsWithTheRunningTotal) {
    MakeWorkTree();
    auto& run = Run(base::rmTest);
    run.TotalItems = 100;
    run.LastProgressTime = sim.system().TickMs() - 2001;
    int32_t count = 0;
    CleanFolder(run, "C:\\Work", {.logIt = false});
    count = run.ItemCount;
    auto posted = sim.desktop().PostedTo(mainWindow);
    ASSERT_EQ(posted.size(), 1u);  // the clock stands still after the first post
    EXPECT_EQ(posted[0].message, base::WM_RUNPROGRESS);
    EXPECT_EQ(posted[0].wParam, 101u);
}

TEST_F(FileRemovalTest, LogScrollsEveryFiftiethLineInATestAndEveryTwentyFifthOtherwise) {
    auto& test = Run(base::rmTest);
    for (int i = 0; i < 100; ++i) ScrollLogIfDue(test, 50);
    EXPECT_EQ(log.Scrolls(), 2);
    auto& clean = Run(base::rmClean);
    for (int i = 0; i < 100; ++i) ScrollLogIfDue(clean, 50);
    EXPECT_EQ(log.Scrolls(), 6);
    ScrollLogIfDue(clean, 0);
    EXPECT_EQ(log.Scrolls(), 7);
}

TEST_F(FileRemovalTest, DeleteAtRebootSchedulesOnlyExistingFiles) {
    auto& run = Run(base::rmClean);
    EXPECT_EQ(DeleteAtReboot(run, "C:\\absent.dat"), TRebootDeletion::Absent);
    EXPECT_TRUE(sim.files().ScheduledDeletes().empty());
    sim.MakeFile("C:\\index.dat", "x");
    EXPECT_EQ(DeleteAtReboot(run, "C:\\index.dat"), TRebootDeletion::Scheduled);
    EXPECT_EQ(sim.files().ScheduledDeletes().size(), 1u);
}

TEST_F(FileRemovalTest, WininitRenamesGoBelowTheHeaderInReverseOrderOrIntoANewSection) {
    std::string wininit = sim.system().WindowsFolder() + "\\Wininit.ini";
    AddWininitRenames(Run(base::rmClean), {"A", "B"});
    EXPECT_EQ(Read(wininit), "[rename]\r\nA\r\nB\r\n");

    sim.MakeFile(wininit, "[Other]\r\nx=1\r\n[Rename]\r\nOLD\r\n");
    AddWininitRenames(Run(base::rmClean), {"A", "B"});
    EXPECT_EQ(Read(wininit), "[Other]\r\nx=1\r\n[Rename]\r\nB\r\nA\r\nOLD\r\n");

    sim.files().SetInUse(wininit);
    EXPECT_THROW(AddWininitRenames(Run(base::rmClean), {"C"}), EWininitError);
}

}  // namespace
