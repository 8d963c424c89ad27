// A winapp2.ini named to nullvane-cli under Wine: the entries of programs
// laid out in the prefix are listed and run behind the gate, the others not,
// and a warned entry runs with --yes, its warning printed.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/Text.h"
#include "platform/win32/Win32Machine.h"
#include "platform/win32/WideText.h"
#include "win/CliProgram.h"
#include "win/HostLinks.h"

using namespace nullvane;
using nullvane::testing::RunCliProgram;
using platform::win32::Widen;

namespace {

class Winapp2WineTest : public ::testing::Test {
protected:
    void SetUp() override {
        roaming = platform::WithTrailingBackslash(machine.system().SpecialFolder(platform::csidlAppData));
        catalogue = roaming + "nullvane-winapp2-test\\winapp2.ini";
        Write(catalogue,
              "; written by the test\r\n"
              "[Sample Browser *]\r\nLangSecRef=3022\r\nDetectFile=%AppData%\\Sample Browser\r\n"
              "FileKey1=%AppData%\\Sample Browser|*.*|RECURSE\r\n"
              "[Careful Tool *]\r\nSection=Tools\r\nDetectFile=%AppData%\\Careful Tool\r\n"
              "Warning=This deletes unsaved sessions.\r\nFileKey1=%AppData%\\Careful Tool|*.dat\r\n"
              "[Absent Tool *]\r\nDetectFile=%AppData%\\Absent Tool\r\nFileKey1=%AppData%\\Absent Tool|*.*\r\n");
        Write(roaming + "Sample Browser\\Cache\\page.bin", "page");
        Write(roaming + "Sample Browser\\Profile\\cert9.db", "certificates");
        Write(roaming + "Sample Browser\\Profile\\key4.db", "keys");
        Write(roaming + "Careful Tool\\session.dat", "unsaved work");
    }
    void TearDown() override {
        std::error_code ignored;
        for (const char* folder : {"nullvane-winapp2-test", "Sample Browser", "Careful Tool"})
            std::filesystem::remove_all(std::filesystem::path(Widen(roaming + folder)), ignored);
    }
    void Write(const std::string& path, const std::string& text) {
        ASSERT_TRUE(machine.files().MakeFolders(path.substr(0, path.find_last_of('\\'))));
        ASSERT_TRUE(machine.files().WriteAll(path, text));
    }
    bool Printed(const nullvane::testing::TCliResult& result, const std::string& line) {
        return std::find(result.Out.begin(), result.Out.end(), line) != result.Out.end();
    }
    platform::win32::Win32Machine machine;
    std::string roaming, catalogue;
};

}  // namespace

TEST_F(Winapp2WineTest, TheDetectedEntriesAreListedAndCleanedBehindTheGateAndAWarnedOneRunsWithYesSayingItsWarning) {
    const std::string named = " --winapp2 \"" + catalogue + "\"";
    auto list = RunCliProgram("--list" + named);
    ASSERT_EQ(list.Status, 0) << list.Err;
    EXPECT_TRUE(Printed(list, "winapp2.ini"));
    EXPECT_TRUE(Printed(list, "  winapp2.ini - Careful Tool\tTools"));
    EXPECT_TRUE(Printed(list, "  winapp2.ini - Sample Browser\tInternet"));
    EXPECT_FALSE(Printed(list, "  winapp2.ini - Absent Tool"));

    auto preview = RunCliProgram("--preview \"winapp2.ini - Sample Browser\" --detail" + named);
    ASSERT_EQ(preview.Status, 0) << preview.Err;
    EXPECT_TRUE(machine.files().Exists(roaming + "Sample Browser\\Cache\\page.bin"));

    auto clean = RunCliProgram("--clean \"winapp2.ini - Sample Browser\" \"winapp2.ini - Careful Tool\" --yes" + named);
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_TRUE(Printed(clean, "winapp2.ini: 3 entries read, 2 shown, 0 refused"));
    EXPECT_FALSE(machine.files().Exists(roaming + "Sample Browser\\Cache\\page.bin"));
    EXPECT_TRUE(machine.files().Exists(roaming + "Sample Browser\\Profile\\cert9.db"));
    EXPECT_TRUE(machine.files().Exists(roaming + "Sample Browser\\Profile\\key4.db"));
    EXPECT_TRUE(Printed(clean, "winapp2.ini: Sample Browser: refused: a browser's certificate store (cert9.db): " +
                                   roaming + "Sample Browser\\Profile\\cert9.db"));
    // --yes runs a warned entry too, its warning printed.
    EXPECT_TRUE(Printed(clean, "winapp2.ini: Careful Tool: warning: This deletes unsaved sessions."));
    EXPECT_FALSE(machine.files().Exists(roaming + "Careful Tool\\session.dat"));

    auto unreadable = RunCliProgram("--list --winapp2 \"" + roaming + "nowhere\\winapp2.ini\"");
    EXPECT_EQ(unreadable.Status, 2);
}

TEST_F(Winapp2WineTest, AnEntryNeverReachesThroughALinkAndAFileHeldOpenIsLeftAndReported) {
    const std::string outside = roaming + "nullvane-winapp2-test\\outside";
    Write(outside + "\\keep.txt", "not the entry's");
    Write(roaming + "Sample Browser\\Cache\\held.bin", "held");
    // A link inside a swept folder, and one at a level a folder wildcard lists.
    ASSERT_TRUE(nullvane::testing::MakeHostLink(outside, roaming + "Sample Browser\\Cache\\linked"));
    ASSERT_TRUE(nullvane::testing::MakeHostLink(outside, roaming + "Sample Browser\\Linked Profile"));
    const std::string linked = roaming + "nullvane-winapp2-test\\linked.ini";
    Write(linked, "[Linked Tool *]\r\nDetectFile=%AppData%\\Sample Browser\r\n"
                  "FileKey1=%AppData%\\Sample Browser\\*|*.txt\r\n"
                  "FileKey2=%AppData%\\Sample Browser|*.*|REMOVESELF\r\n");
    HANDLE held = CreateFileW(Widen(roaming + "Sample Browser\\Cache\\held.bin").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    auto clean = RunCliProgram("--clean \"winapp2.ini - Linked Tool\" --yes --winapp2 \"" + linked + "\"");
    CloseHandle(held);
    EXPECT_EQ(clean.Status, 5) << "a held file ends the Clean with errors";
    EXPECT_TRUE(machine.files().Exists(outside + "\\keep.txt")) << "nothing is reached through a link";
    EXPECT_FALSE(machine.files().Exists(roaming + "Sample Browser\\Cache\\page.bin"));
    EXPECT_TRUE(machine.files().Exists(roaming + "Sample Browser\\Cache\\held.bin"));
    EXPECT_TRUE(machine.files().Exists(roaming + "Sample Browser\\Profile\\cert9.db"));
    EXPECT_TRUE(std::any_of(clean.Out.begin(), clean.Out.end(), [](const std::string& line) {
        return line.find("held.bin") != std::string::npos;
    })) << "the log names the file it left";
}
