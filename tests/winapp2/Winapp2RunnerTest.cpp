// One winapp2.ini entry run behind the gate: what it takes, what the gate
// and the exclusions keep, and what REMOVESELF leaves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "removal/RemovalFixture.h"
#include "stores/Winapp2File.h"
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
