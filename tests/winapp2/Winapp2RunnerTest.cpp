// One winapp2.ini entry run behind the gate: what it takes, what the gate
// and the exclusions keep, and what REMOVESELF leaves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "removal/RemovalFixture.h"
#include "stores/Winapp2File.h"
#include "winapp2/Winapp2Folders.h"
#include "winapp2/Winapp2Runner.h"

using namespace nullvane;
using ::testing::Contains;

namespace {

const std::string kRoaming = "C:\\Users\\Test\\AppData\\Roaming\\";
const std::string kLocal = "C:\\Users\\Test\\AppData\\Local\\";

class Winapp2RunnerTest : public nullvane::testing::RemovalFixture {
protected:
    Winapp2RunnerTest() {
        // Written as a catalogue writes it, through the reader.
        const std::string text =
            "[Sample Browser *]\r\n"
            "FileKey1=%AppData%\\Sample Browser|*.*|RECURSE\r\n"
            "FileKey2=%LocalAppData%\\Sample Browser\\*\\Thumbs|*.*|REMOVESELF\r\n"
            "FileKey3=%Steam%\\logs|*.*\r\n"
            "FileKey4=%WinDir%\\Temp|*.tmp\r\n"
            "FileKey5=%AppData%|*.*\r\n"
            "ExcludeKey1=FILE|%AppData%\\Sample Browser\\|keep.dat\r\n"
            "ExcludeKey2=PATH|%AppData%\\Sample Browser\\Pinned\\|*.*\r\n"
            "RegKey1=HKCU\\Software\\Sample Browser\\Recent\r\n"
            "RegKey2=HKCU\\Software\\Sample Browser|LastFolder\r\n"
            "RegKey3=HKCU\r\n"
            "RegKey4=HKCU\\Software\\Sample Browser\\Kept\r\n"
            "ExcludeKey3=REG|HKCU\\Software\\Sample Browser\\Kept\r\n";
        entry = stores::ParseWinapp2(text).Entries.at(0);
        for (const char* name : {"cache.bin", "keep.dat", "cert9.db", "Profile\\logins.json", "Profile\\history.db",
                                 "Pinned\\page.bin"})
            sim.MakeFile(kRoaming + "Sample Browser\\" + name, "1234");
        sim.MakeFile(kLocal + "Sample Browser\\Default\\Thumbs\\a.jpg", "12");
        sim.MakeFile(kLocal + "Sample Browser\\Profile 1\\Thumbs\\Sub\\b.jpg", "12");
        sim.MakeFile("C:\\Windows\\Temp\\setup.tmp", "1");
        auto key = sim.Machine().registry.CreateKey(platform::RegRoot::CurrentUser, "Software\\Sample Browser");
        (void)key->SetValue(platform::RegValue::String("LastFolder", "C:\\Photos"));
        (void)key->SetValue(platform::RegValue::String("Window", "max"));
        auto recent = sim.Machine().registry.CreateKey(platform::RegRoot::CurrentUser, "Software\\Sample Browser\\Recent");
        (void)recent->SetValue(platform::RegValue::String("1", "C:\\Photos\\a.jpg"));
        auto kept = sim.Machine().registry.CreateKey(platform::RegRoot::CurrentUser, "Software\\Sample Browser\\Kept");
        (void)kept->SetValue(platform::RegValue::String("1", "stays"));
        sim.system().SetElevated(false);
    }
    bool KeyExists(const std::string& path) {
        return sim.Machine().registry.OpenKey(platform::RegRoot::CurrentUser, path, platform::RegAccess::Read).Succeeded();
    }
    stores::TWinapp2Entry entry;
};

}  // namespace

TEST_F(Winapp2RunnerTest, AnEntryTakesItsFilesAndKeysWhileTheGateAndItsExclusionsKeepTheRestAndSaySo) {
    auto& test = Run(base::rmTest);
    winapp2::RunWinapp2Entry(test, entry);
    // cache.bin, history.db, a.jpg, b.jpg; the LastFolder value and Recent's one value.
    EXPECT_EQ(test.ItemCount, 6);
    EXPECT_TRUE(Exists(kRoaming + "Sample Browser\\cache.bin"));

    auto& clean = Run(base::rmClean);
    winapp2::RunWinapp2Entry(clean, entry);
    EXPECT_EQ(clean.ItemCount, 6);
    for (const char* gone : {"cache.bin", "Profile\\history.db"}) EXPECT_FALSE(Exists(kRoaming + "Sample Browser\\" + gone)) << gone;
    for (const char* kept : {"keep.dat", "cert9.db", "Profile\\logins.json", "Pinned\\page.bin"})
        EXPECT_TRUE(Exists(kRoaming + "Sample Browser\\" + kept)) << kept;
    // REMOVESELF: the emptied Thumbs folders and their subfolders go, their parents stay.
    EXPECT_FALSE(sim.files().DirectoryExists(kLocal + "Sample Browser\\Default\\Thumbs"));
    EXPECT_FALSE(sim.files().DirectoryExists(kLocal + "Sample Browser\\Profile 1\\Thumbs"));
    EXPECT_TRUE(sim.files().DirectoryExists(kLocal + "Sample Browser\\Profile 1"));
    EXPECT_TRUE(Exists("C:\\Windows\\Temp\\setup.tmp")) << "a system folder needs an elevated program";
    EXPECT_FALSE(KeyExists("Software\\Sample Browser\\Recent"));
    EXPECT_TRUE(KeyExists("Software\\Sample Browser\\Kept"));
    auto key = sim.Machine().registry.OpenKey(platform::RegRoot::CurrentUser, "Software\\Sample Browser",
                                              platform::RegAccess::Read);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->QueryValue("LastFolder"));
    EXPECT_TRUE(key->QueryValue("Window"));

    const auto lines = log.Lines();
    const std::string refused = "winapp2.ini: Sample Browser: refused: ";
    EXPECT_THAT(lines, Contains(refused + "a browser's certificate store (cert9.db): " + kRoaming + "Sample Browser\\cert9.db"));
    EXPECT_THAT(lines, Contains(refused + "a browser's saved passwords (logins.json): " + kRoaming +
                                "Sample Browser\\Profile\\logins.json"));
    EXPECT_THAT(lines, Contains(refused + "an unknown variable %Steam%"));
    EXPECT_THAT(lines, Contains(refused + "a system folder, and Nullvane does not run elevated: C:\\Windows\\Temp"));
    EXPECT_THAT(lines, Contains(refused + "a shell folder: " + kRoaming.substr(0, kRoaming.size() - 1)));
    EXPECT_THAT(lines, Contains(refused + "a whole registry hive: HKCU"));
    EXPECT_THAT(lines, Contains(refused + "an excluded key: HKCU\\Software\\Sample Browser\\Kept"));

    // Elevated, the system folder is cleaned.
    sim.system().SetElevated(true);
    winapp2::RunWinapp2Entry(Run(base::rmClean), entry);
    EXPECT_FALSE(Exists("C:\\Windows\\Temp\\setup.tmp"));
}

// Another spelling of a folder or key, or an exclusion that cannot be read,
// never turns into a deletion of what the gate or the entry means to keep.
TEST_F(Winapp2RunnerTest, WhatTheGateOrTheEntryKeepsStaysHoweverTheFileSpellsIt) {
    sim.system().SetElevated(true);
    sim.MakeFile("C:\\Windows\\Installer\\a.msi", "1");
    sim.MakeFile(kRoaming + "Spelt Tool\\Data\\keep.db", "1");
    sim.MakeFile(kRoaming + "Spelt Tool\\Data\\old.db", "1");
    sim.MakeFile(kRoaming + "Spelt Tool\\Profiles\\One\\keep.db", "1");
    (void)sim.Machine().registry.CreateKey(platform::RegRoot::CurrentUser, "Software\\Spelt Tool\\Keep");
    const auto entries = stores::ParseWinapp2(
        "[Spelt Tool *]\r\n"
        "FileKey1=%WinDir%\\.\\Installer|*.msi\r\n"
        "FileKey2=%AppData%\\Spelt Tool|*.db|RECURSE\r\n"
        "ExcludeKey1=FILE|%AppData%\\Spelt Tool\\\\Data|keep.db\r\n"
        "ExcludeKey2=FILE|%AppData%\\Spelt Tool\\Profiles\\*|keep.db\r\n"
        "RegKey1=HKCU\\Software\\\\Spelt Tool\r\n"
        "RegKey2=HKCU\\Software|\r\n"
        "ExcludeKey3=REG|HKCU\\Software\\Spelt Tool\\Keep\\\r\n"
        "[Damaged Tool *]\r\n"
        "FileKey1=%AppData%\\Spelt Tool|*.db|RECURSE\r\n"
        "ExcludeKey1=FILE|%AppData%\\Spelt Tool\r\n")
                             .Entries;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].RegKeys.size() == 1) << "an empty value name is no value: the line is skipped";
    EXPECT_TRUE(entries[1].DamagedExcludeKey);

    winapp2::RunWinapp2Entry(Run(base::rmClean), entries[1]);
    EXPECT_TRUE(Exists(kRoaming + "Spelt Tool\\Data\\old.db")) << "an unreadable exclusion stops the whole entry";
    winapp2::RunWinapp2Entry(Run(base::rmClean), entries[0]);
    EXPECT_TRUE(Exists("C:\\Windows\\Installer\\a.msi"));
    EXPECT_TRUE(Exists(kRoaming + "Spelt Tool\\Data\\keep.db"));
    EXPECT_TRUE(Exists(kRoaming + "Spelt Tool\\Profiles\\One\\keep.db"));
    EXPECT_FALSE(Exists(kRoaming + "Spelt Tool\\Data\\old.db"));
    EXPECT_TRUE(KeyExists("Software\\Spelt Tool\\Keep"));
    EXPECT_TRUE(KeyExists("Software\\Sample Browser"));
    const auto lines = log.Lines();
    EXPECT_THAT(lines, Contains("winapp2.ini: Spelt Tool: refused: Windows' installer cache: C:\\Windows\\Installer"));
    EXPECT_THAT(lines, Contains("winapp2.ini: Damaged Tool: refused: an ExcludeKey line that could not be read: none of "
                                "its keys run"));
}

// RECURSE and REMOVESELF never walk into a guarded folder or a variable's own
// folder; a key that takes only a folder's own files may still start there;
// REMOVESELF removes only the folders it emptied.
TEST_F(Winapp2RunnerTest, ARecursiveKeyNeverWalksIntoAGuardedFolderOrAVariablesFolder) {
    sim.system().SetElevated(true);
    sim.system().SetSpecialFolder(platform::csidlProgramFilesCommon, "C:\\Program Files\\Common Files");
    const std::string localLow = winapp2::VariableFolders(sim.Machine(), "LocalLowAppData").at(0) + "\\";
    const std::string common = winapp2::VariableFolders(sim.Machine(), "CommonProgramFiles").at(0) + "\\";
    sim.MakeFile(kLocal + "Tool\\settings.db", "1");
    sim.MakeFile(kLocal + "Tool\\Cache\\a.tmp", "1");
    sim.MakeFolder(kLocal + "Tool\\Plugins");  // empty before the run
    sim.MakeFile(localLow + "Tool\\state.db", "1");
    sim.MakeFile(localLow + "crash.log", "1");
    sim.MakeFile(common + "Shared\\lib.db", "1");
    sim.MakeFile("C:\\Users\\Other\\data.db", "1");
    sim.MakeFile(kRoaming + "Microsoft\\Windows\\Start Menu\\Programs\\Tool.db", "1");
    sim.MakeFile(kLocal + "Packages\\Notepad\\LocalState\\TabState\\tab.bin", "1");
    const auto entries = stores::ParseWinapp2(
                             "[Wide Tool *]\r\n"
                             "FileKey1=%UserProfile%\\AppData|*.db|RECURSE\r\n"
                             "FileKey2=%LocalLowAppData%|*.db|REMOVESELF\r\n"
                             "FileKey3=%CommonProgramFiles%|*.db|RECURSE\r\n"
                             "FileKey4=%SystemDrive%\\Users|*.db|RECURSE\r\n"
                             "FileKey5=%AppData%\\Microsoft\\Windows|*.db|RECURSE\r\n"
                             "FileKey6=%LocalLowAppData%|*.log\r\n"
                             "FileKey7=%LocalAppData%\\Packages\\Notepad\\LocalState\\TabState::$INDEX_ALLOCATION|*.*\r\n"
                             "FileKey8=%UserProfile%\\FAVORI~1|*.*|RECURSE\r\n"
                             "FileKey9=%LocalAppData%\\Tool|*.tmp|REMOVESELF\r\n")
                             .Entries;
    winapp2::RunWinapp2Entry(Run(base::rmClean), entries.at(0));
    for (const std::string& kept :
         {kLocal + "Tool\\settings.db", localLow + "Tool\\state.db", common + "Shared\\lib.db",
          std::string("C:\\Users\\Other\\data.db"), kRoaming + "Microsoft\\Windows\\Start Menu\\Programs\\Tool.db",
          kLocal + "Packages\\Notepad\\LocalState\\TabState\\tab.bin"})
        EXPECT_TRUE(Exists(kept)) << kept;
    EXPECT_FALSE(Exists(localLow + "crash.log")) << "the folder's own files may still be taken";
    EXPECT_FALSE(sim.files().DirectoryExists(kLocal + "Tool\\Cache")) << "REMOVESELF removes the folder it emptied";
    EXPECT_TRUE(sim.files().DirectoryExists(kLocal + "Tool\\Plugins")) << "and leaves one that was empty before";
    const auto lines = log.Lines();
    EXPECT_THAT(lines, Contains("winapp2.ini: Wide Tool: refused: the folder of %LocalLowAppData% with its subfolders: " +
                                localLow.substr(0, localLow.size() - 1)));
    EXPECT_THAT(lines, Contains(::testing::StartsWith("winapp2.ini: Wide Tool: refused: a folder holding a shell folder: ")));
}
