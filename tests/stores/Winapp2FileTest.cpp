// The winapp2.ini reader: every key kind, a file of the community file's
// size and shape, either line end, and damage skipped and counted.
#include <gtest/gtest.h>

#include <string>

#include "stores/Winapp2File.h"

using namespace nullvane::stores;
using namespace std::string_literals;

namespace {

// An entry with every kind of key; `n` makes its names its own.
std::string EntryText(int n, const char* lineEnd) {
    const std::string id = std::to_string(n);
    std::string text;
    auto line = [&](const std::string& content) { text += content + lineEnd; };
    line("[Sample Tool " + id + " *]");
    line(n % 2 ? "LangSecRef=3024" : "Section=Sample Suites");
    line("Detect=HKCU\\Software\\Sample Vendor\\Tool " + id);
    line("DetectFile=%AppData%\\Sample Tool " + id);
    line("DetectOS=6.1|");
    line("Default=False");
    if (n % 7 == 0) line("Warning=This removes the tool's saved sessions.");
    line("FileKey1=%AppData%\\Sample Tool " + id + "\\Cache|*.*|RECURSE");
    line("FileKey2=%LocalAppData%\\Sample Tool " + id + "|*.log;*.tmp");
    line("FileKey3=%LocalAppData%\\Sample Tool " + id + "\\*\\Thumbs|*.*|REMOVESELF");
    line("RegKey1=HKCU\\Software\\Sample Vendor\\Tool " + id + "\\Recent");
    line("RegKey2=HKCU\\Software\\Sample Vendor\\Tool " + id + "|LastFolder");
    line("ExcludeKey1=FILE|%AppData%\\Sample Tool " + id + "\\Cache\\|keep.dat;settings.json");
    line("ExcludeKey2=PATH|%AppData%\\Sample Tool " + id + "\\Cache\\Pinned\\|*.*");
    line("ExcludeKey3=REG|HKCU\\Software\\Sample Vendor\\Tool " + id + "\\Recent\\Pinned");
    line("");
    return text;
}

}  // namespace

TEST(Winapp2File, AFileOfTheCommunityFilesSizeReadsEveryEntryWithEveryKeyKindInEitherLineEnd) {
    for (const char* lineEnd : {"\r\n", "\n"}) {
        SCOPED_TRACE(lineEnd[0] == '\r' ? "CRLF" : "LF");
        std::string text = "\xEF\xBB\xBF; A catalogue written by the test\r\n; Version: 1\r\n\r\n";
        for (int n = 0; n < 4000; ++n) text += EntryText(n, lineEnd);
        ASSERT_GT(text.size(), 1'800'000u);
        const TWinapp2File file = ParseWinapp2(text);
        EXPECT_EQ(file.MalformedLines, 0);
        ASSERT_EQ(file.Entries.size(), 4000u);

        const TWinapp2Entry& odd = file.Entries[7];
        EXPECT_EQ(odd.Name, "Sample Tool 7");
        EXPECT_EQ(odd.Group, "Utilities");
        EXPECT_EQ(file.Entries[8].Group, "Sample Suites");
        EXPECT_EQ(odd.Detects, std::vector<std::string>{"HKCU\\Software\\Sample Vendor\\Tool 7"});
        EXPECT_EQ(odd.DetectFiles, std::vector<std::string>{"%AppData%\\Sample Tool 7"});
        EXPECT_EQ(odd.Warning, "This removes the tool's saved sessions.");
        EXPECT_EQ(file.Entries[8].Warning, "");
        ASSERT_EQ(odd.FileKeys.size(), 3u);
        EXPECT_EQ(odd.FileKeys[0].Folder, "%AppData%\\Sample Tool 7\\Cache");
        EXPECT_EQ(odd.FileKeys[0].Flag, TWinapp2FileKey::fkRecurse);
        EXPECT_EQ(odd.FileKeys[1].Masks, (std::vector<std::string>{"*.log", "*.tmp"}));
        EXPECT_EQ(odd.FileKeys[1].Flag, TWinapp2FileKey::fkFolderOnly);
        EXPECT_EQ(odd.FileKeys[2].Folder, "%LocalAppData%\\Sample Tool 7\\*\\Thumbs");
        EXPECT_EQ(odd.FileKeys[2].Flag, TWinapp2FileKey::fkRemoveSelf);
        ASSERT_EQ(odd.RegKeys.size(), 2u);
        EXPECT_FALSE(odd.RegKeys[0].Value);
        EXPECT_EQ(odd.RegKeys[1].Key, "HKCU\\Software\\Sample Vendor\\Tool 7");
        EXPECT_EQ(odd.RegKeys[1].Value, "LastFolder");
        ASSERT_EQ(odd.ExcludeKeys.size(), 3u);
        EXPECT_EQ(odd.ExcludeKeys[0].Kind, TWinapp2ExcludeKey::ekFile);
        EXPECT_EQ(odd.ExcludeKeys[0].Names, (std::vector<std::string>{"keep.dat", "settings.json"}));
        EXPECT_EQ(odd.ExcludeKeys[1].Kind, TWinapp2ExcludeKey::ekPath);
        EXPECT_EQ(odd.ExcludeKeys[1].Where, "%AppData%\\Sample Tool 7\\Cache\\Pinned\\");
        EXPECT_EQ(odd.ExcludeKeys[2].Kind, TWinapp2ExcludeKey::ekRegistry);
        EXPECT_TRUE(odd.ExcludeKeys[2].Names.empty());
    }
}

TEST(Winapp2File, DamagedLinesAreSkippedAndCountedAndTheEntryKeepsWhatFit) {
    const std::string text =
        "FileKey1=%Temp%|*.*\n"                     // before any entry
        "[Good *]\n"
        "FileKey1=%AppData%\\Good|*.tmp\n"
        "FileKey2=%AppData%\\Good\n"                // no masks
        "FileKey3=%AppData%\\Good|*.*|EVERYTHING\n"  // an unknown flag
        "FileKey4=%AppData%\\Good||RECURSE\n"       // empty masks
        "FileKeyX=%AppData%\\Good|*.*\n"            // not a numbered key
        "RegKey1=A|B|C\n"
        "ExcludeKey1=DISK|C:\\|*.*\n"
        "ExcludeKey2=FILE|%AppData%\\Good\\\n"      // a FILE exclusion without names
        "Detect=\n"
        "Frobnicate=1\n"
        "no equals sign here\n"
        "=value without a key\n"
        "RegKey2=HKCU\\Software\\Good\n"
        "[Unclosed\n"
        "RegKey1=HKCU\\Software\\Lost\n"            // belongs to no entry
        "[]\n"
        "[ * ]\n"
        "[Bad\0Name]\n"
        "RegKey1=HKCU\\Software\\Damaged\n"     // belongs to no entry
        "[After]\n"
        "Section=Mine\n"s;
    const TWinapp2File file = ParseWinapp2(std::string_view(text.data(), text.size()));
    EXPECT_EQ(file.MalformedLines, 18);
    ASSERT_EQ(file.Entries.size(), 2u);
    const TWinapp2Entry& good = file.Entries[0];
    EXPECT_EQ(good.Name, "Good");
    ASSERT_EQ(good.FileKeys.size(), 1u);
    EXPECT_EQ(good.FileKeys[0].Masks, std::vector<std::string>{"*.tmp"});
    ASSERT_EQ(good.RegKeys.size(), 1u);
    EXPECT_EQ(good.RegKeys[0].Key, "HKCU\\Software\\Good");
    EXPECT_TRUE(good.ExcludeKeys.empty());
    EXPECT_TRUE(good.Detects.empty());
    EXPECT_EQ(file.Entries[1].Name, "After");
    EXPECT_EQ(file.Entries[1].Group, "Mine");
    EXPECT_EQ(Winapp2GroupOf("3021"), "Applications");
    EXPECT_EQ(Winapp2GroupOf("4242"), "4242");
}
