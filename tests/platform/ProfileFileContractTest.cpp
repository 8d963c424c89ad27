// What the profile (INI) file service promises, checked against every
// backend: the sim must read and write files exactly as the system does.
#include <gtest/gtest.h>

#include "platform/FileBackends.h"

namespace nullvane::testing {
namespace {

using Names = std::vector<std::string>;

template <class Backend>
class ProfileFileContractTest : public ::testing::Test {
protected:
    Backend backend;
    platform::ProfileFile& Profiles() { return backend.profiles; }
    platform::FileSystem& Files() { return backend.files; }
    std::string Path(const std::string& name) const { return backend.root + "\\" + name; }

    // A file with exactly these bytes; each test case uses its own name.
    std::string MakeFile(const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(Files().WriteAll(Path(name), bytes));
        return Path(name);
    }
    std::string Bytes(const std::string& path) { return Files().ReadAll(path).ValueOr("<missing>"); }
};

TYPED_TEST_SUITE(ProfileFileContractTest, FilesBackends, FilesBackendName);

TYPED_TEST(ProfileFileContractTest, MissingFileSectionOrKeyGivesTheDefault) {
    auto& profiles = this->Profiles();
    const std::string missing = this->Path("missing.ini");
    const std::string file = this->MakeFile("a.ini", "[Sec]\r\nkey=value\r\nnoequals\r\n");

    EXPECT_EQ(profiles.GetString(missing, "Sec", "key", "def"), "def");
    EXPECT_EQ(profiles.GetString(file, "Other", "key", "def"), "def");
    EXPECT_EQ(profiles.GetString(file, "Sec", "nokey", "def"), "def");
    EXPECT_EQ(profiles.GetString(file, "Sec", "noequals", "def"), "def") << "a line without '='";
    EXPECT_EQ(profiles.GetString(file, "Sec", "nokey", "  def  "), "  def") << "trailing blanks of the default go";
    EXPECT_EQ(profiles.GetString(file, "Sec", "nokey", "abcdef", 3), "ab") << "the default is cut too";
    EXPECT_FALSE(this->Files().Exists(missing)) << "reading creates nothing";
}

TYPED_TEST(ProfileFileContractTest, WritingCreatesTheFileAndAppendsKeysAndSections) {
    auto& profiles = this->Profiles();
    const std::string file = this->Path("new.ini");
    ASSERT_TRUE(profiles.WriteString(file, "Sec", "Key", "Val"));
    EXPECT_EQ(this->Bytes(file), "[Sec]\r\nKey=Val\r\n");
    ASSERT_TRUE(profiles.WriteString(file, "Sec", "K2", "V2"));
    ASSERT_TRUE(profiles.WriteString(file, "Other", "A", "1"));
    ASSERT_TRUE(profiles.WriteString(file, "Sec", "Empty", ""));
    EXPECT_EQ(this->Bytes(file), "[Sec]\r\nKey=Val\r\nK2=V2\r\nEmpty=\r\n[Other]\r\nA=1\r\n");
    EXPECT_EQ(profiles.GetString(file, "Sec", "Empty", "def"), "") << "an empty value is a value";

    EXPECT_FALSE(profiles.WriteString(this->Path("nofolder\\x.ini"), "S", "K", "V"));
    EXPECT_FALSE(this->Files().Exists(this->Path("nofolder")));
}

TYPED_TEST(ProfileFileContractTest, NamesIgnoreCaseAndTheFirstOccurrenceWins) {
    auto& profiles = this->Profiles();
    const std::string file =
        this->MakeFile("dup.ini", "[Sec]\r\nkey=first\r\nKEY=second\r\n[sec]\r\nkey=third\r\nx=later\r\n");

    EXPECT_EQ(profiles.GetString(file, "SEC", "Key", "def"), "first");
    EXPECT_EQ(profiles.GetString(file, " sec ", " key ", "def"), "first") << "blanks around names do not count";
    EXPECT_EQ(profiles.GetString(file, "sec", "x", "def"), "def") << "only the first section of a name is read";
    EXPECT_EQ(profiles.KeyNames(file, "sec"), (Names{"key", "KEY"}));
    EXPECT_EQ(profiles.SectionNames(file), (Names{"Sec", "sec"}));

    // A write goes to the first key of the first section and keeps its name.
    ASSERT_TRUE(profiles.WriteString(file, "SEC", "Key", "new"));
    EXPECT_EQ(this->Bytes(file), "[Sec]\r\nkey=new\r\nKEY=second\r\n[sec]\r\nkey=third\r\nx=later\r\n");
}

TYPED_TEST(ProfileFileContractTest, AWriteReplacesInPlaceAndRewritesTheRestTidied) {
    auto& profiles = this->Profiles();
    const std::string file = this->MakeFile(
        "keep.ini", "; top\r\n[A]\r\n; note\r\nk=1\r\n\r\n  other =  2  \r\nbare\r\n[B] trailing\n[Unclosed\r\nk=3\r\n");

    ASSERT_TRUE(profiles.WriteString(file, "a", "K", "9"));
    EXPECT_EQ(this->Bytes(file), "; top\r\n[A]\r\n; note\r\nk=9\r\nother=2\r\nbare\r\n[B]\r\n[Unclosed\r\nk=3\r\n");
    ASSERT_TRUE(profiles.WriteString(file, "A", "added", "x"));
    EXPECT_EQ(this->Bytes(file),
              "; top\r\n[A]\r\n; note\r\nk=9\r\nother=2\r\nbare\r\nadded=x\r\n[B]\r\n[Unclosed\r\nk=3\r\n");
    EXPECT_EQ(profiles.GetString(file, "B", "k", "def"), "3") << "a header without ']' is a line of the section";

    // Writing the value a key already has leaves the file as it was.
    const std::string same = this->MakeFile("same.ini", "[A]\n\nx=1\n");
    ASSERT_TRUE(profiles.WriteString(same, "A", "x", "1"));
    EXPECT_EQ(this->Bytes(same), "[A]\n\nx=1\n");
}

TYPED_TEST(ProfileFileContractTest, ListsNamesInFileOrderWithoutCommentsOrBareLines) {
    auto& profiles = this->Profiles();
    const std::string file = this->MakeFile(
        "list.ini", "lead=0\r\n[Z]\r\n; c=1\r\nb=1\r\nbare\r\na=2\r\n=empty\r\n[Y]\r\n[X]\r\n[]\r\nq=1\r\n");

    EXPECT_EQ(profiles.SectionNames(file), (Names{"Z", "Y", "X"})) << "the nameless parts are not listed";
    EXPECT_EQ(profiles.KeyNames(file, "Z"), (Names{"b", "a", ""}));
    EXPECT_EQ(profiles.KeyNames(file, "Y"), Names{});
    EXPECT_EQ(profiles.GetString(file, "", "lead", "def"), "0") << "lines above the first header";
    EXPECT_EQ(profiles.GetString(file, "Z", "", "def"), "empty");
    EXPECT_EQ(profiles.KeyNames(file, "missing"), Names{});
    EXPECT_EQ(profiles.KeyNames(this->Path("missing.ini"), "Z"), Names{});
    EXPECT_EQ(profiles.SectionNames(this->Path("missing.ini")), Names{});
}

TYPED_TEST(ProfileFileContractTest, ValuesLoseSurroundingBlanksAndOnePairOfQuotes) {
    auto& profiles = this->Profiles();
    const std::string file = this->MakeFile("values.ini",
                                            "[S]\r\n  k  =  v  w  \r\n\tt\t=\tv2\t\r\nq=\"quoted\"\r\ns='single'\r\n"
                                            "u=\"unmatched\r\ninner=\"a\"b\"\r\none=\"\r\nm=a=b\r\n");
    EXPECT_EQ(profiles.GetString(file, "S", "k", "def"), "v  w");
    EXPECT_EQ(profiles.GetString(file, "S", "t", "def"), "v2");
    EXPECT_EQ(profiles.GetString(file, "S", "q", "def"), "quoted");
    EXPECT_EQ(profiles.GetString(file, "S", "s", "def"), "single");
    EXPECT_EQ(profiles.GetString(file, "S", "u", "def"), "\"unmatched");
    EXPECT_EQ(profiles.GetString(file, "S", "inner", "def"), "a\"b");
    EXPECT_EQ(profiles.GetString(file, "S", "one", "def"), "\"");
    EXPECT_EQ(profiles.GetString(file, "S", "m", "def"), "a=b");
    EXPECT_EQ(profiles.GetString(file, "S", "q", "def", 4), "quo") << "quotes go before the cut";

    const std::string endings = this->MakeFile("endings.ini", "[A]\nx=1\n[B]\ry=2\r");
    EXPECT_EQ(profiles.GetString(endings, "A", "x", "def"), "1");
    EXPECT_EQ(profiles.GetString(endings, "B", "y", "def"), "2");
}

TYPED_TEST(ProfileFileContractTest, ErasingTakesTheFirstMatchOnly) {
    auto& profiles = this->Profiles();
    const std::string file = this->MakeFile("erase.ini", "[A]\r\nx=1\r\n[B]\r\ny=2\r\nz=3\r\n[a]\r\nw=4\r\n");

    ASSERT_TRUE(profiles.EraseKey(file, "b", "Y"));
    EXPECT_EQ(this->Bytes(file), "[A]\r\nx=1\r\n[B]\r\nz=3\r\n[a]\r\nw=4\r\n");
    ASSERT_TRUE(profiles.EraseSection(file, "a"));
    EXPECT_EQ(this->Bytes(file), "[B]\r\nz=3\r\n[a]\r\nw=4\r\n");
    ASSERT_TRUE(profiles.EraseKey(file, "B", "z"));
    EXPECT_EQ(this->Bytes(file), "[B]\r\n[a]\r\nw=4\r\n") << "an emptied section stays";

    EXPECT_TRUE(profiles.EraseKey(file, "B", "missing"));
    EXPECT_TRUE(profiles.EraseSection(file, "missing"));
    EXPECT_EQ(this->Bytes(file), "[B]\r\n[a]\r\nw=4\r\n");
    EXPECT_TRUE(profiles.EraseSection(this->Path("none.ini"), "A"));
    EXPECT_TRUE(profiles.EraseKey(this->Path("none.ini"), "A", "k"));
    EXPECT_FALSE(this->Files().Exists(this->Path("none.ini"))) << "erasing creates no file";
}

TYPED_TEST(ProfileFileContractTest, ValuesAndNameListsAreCutToTheBuffer) {
    auto& profiles = this->Profiles();
    const std::string file = this->MakeFile("cut.ini", "[Sec]\r\nkey=first\r\nKEY=2\r\nspaced=3\r\n[sec]\r\n[Other]\r\n");

    EXPECT_EQ(profiles.GetString(file, "Sec", "key", "", 4), "fir");
    EXPECT_EQ(profiles.GetString(file, "Sec", "key", "", 1), "");
    // Names while two units are left; the last one cut to fit.
    EXPECT_EQ(profiles.KeyNames(file, "Sec", 12), (Names{"key", "KEY", "sp"}));
    EXPECT_EQ(profiles.KeyNames(file, "Sec", 10), (Names{"key", "KEY"}));
    EXPECT_EQ(profiles.KeyNames(file, "Sec", 3), (Names{"k"}));
    EXPECT_EQ(profiles.KeyNames(file, "Sec", 2), Names{});
    EXPECT_EQ(profiles.SectionNames(file, 7), (Names{"Sec", "s"}));
    EXPECT_EQ(profiles.SectionNames(file, 10), (Names{"Sec", "sec"}));

    // A custom list reads values into 2048 units.
    const std::string longValue(3000, 'v');
    ASSERT_TRUE(profiles.WriteString(file, "Long", "v", longValue));
    EXPECT_EQ(profiles.GetString(file, "Long", "v", "", 2048), longValue.substr(0, 2047));
    EXPECT_EQ(profiles.GetString(file, "Long", "v", "", 4096), longValue);
}

TYPED_TEST(ProfileFileContractTest, GetIntReadsTheNumberAtTheStartOfTheValue) {
    auto& profiles = this->Profiles();
    const std::string file = this->MakeFile("int.ini",
                                            "[S]\r\nplain=42\r\nsigned= -12x\r\nplus=+5\r\nhex=0x10\r\nupperhex=0X1f\r\n"
                                            "octal=0o17\r\nbinary=0b101\r\nword=abc\r\nempty=\r\nminus=-\r\n"
                                            "max=4294967295\r\nwrap=99999999999\r\nquoted=\" 7\"\r\n");
    const std::vector<std::pair<const char*, int>> cases = {
        {"plain", 42},   {"signed", -12}, {"plus", 5},    {"hex", 16},   {"upperhex", 0},
        {"octal", 15},   {"binary", 5},   {"word", 0},    {"empty", 77}, {"minus", 0},
        {"max", -1},     {"wrap", 1215752191},             {"quoted", 7}, {"missing", 77},
    };
    for (const auto& [key, expected] : cases) {
        EXPECT_EQ(profiles.GetInt(file, "S", key, 77), expected) << key;
    }
    EXPECT_EQ(profiles.GetInt(this->Path("missing.ini"), "S", "plain", 77), 77);
}

TYPED_TEST(ProfileFileContractTest, TextIsKeptInTheFilesOwnEncoding) {
    auto& profiles = this->Profiles();
    const std::string cafe = "caf\xC3\xA9";  // café
    const std::string ansi = this->Path("ansi.ini");
    ASSERT_TRUE(profiles.WriteString(ansi, "S", "k", cafe));
    EXPECT_EQ(this->Bytes(ansi), "[S]\r\nk=caf\xE9\r\n") << "a new file is written in the ANSI code page";
    EXPECT_EQ(profiles.GetString(ansi, "S", "k", ""), cafe);
    ASSERT_TRUE(profiles.WriteString(ansi, "S", "euro", "\xE2\x82\xAC"));  // €
    EXPECT_EQ(this->Bytes(ansi), "[S]\r\nk=caf\xE9\r\neuro=\x80\r\n");

    const std::string utf8 = this->MakeFile("utf8.ini", "\xEF\xBB\xBF[A]\r\nx=" + cafe + "\r\n");
    EXPECT_EQ(profiles.GetString(utf8, "A", "x", ""), cafe);
    ASSERT_TRUE(profiles.WriteString(utf8, "A", "y", "\xC3\xA9"));
    EXPECT_EQ(this->Bytes(utf8), "\xEF\xBB\xBF[A]\r\nx=" + cafe + "\r\ny=\xC3\xA9\r\n");
}

}  // namespace
}  // namespace nullvane::testing
