#include <cstdio>

#include "customlists/RunDataSection.h"
#include "removal/RemovalFixture.h"

using namespace nullvane;
using nullvane::customlists::RunDataSection;
using nullvane::platform::RegRoot;
using nullvane::testing::RemovalFixture;

namespace {

class RunDataSectionTest : public RemovalFixture {
protected:
    // Writes a list file beside the program: one section, entries in order.
    void WriteList(const std::string& file, const std::string& section, const std::vector<std::string>& entries) {
        std::string text = "[" + section + "]\r\n";
        for (const auto& entry : entries) text += entry + "\r\n";
        sim.MakeFile(sim.system().ProgramFolder() + file, text);
    }
    base::TRunContext& RunList(base::TRunMode mode, const std::string& file, const std::string& item) {
        auto& run = Run(mode);
        RunDataSection(run, file, item);
        return run;
    }
};

TEST_F(RunDataSectionTest, CustomListFoldersGoWholeAndMasksMatchAsDefined) {
    sim.MakeFile("C:\\Reports\\report.txt", "12");
    sim.MakeFile("C:\\Reports\\Report.TXT2", "3");
    sim.MakeFile("C:\\Reports\\Old\\deep.txt", "456");
    WriteList("Clist.dat", "<New List>", {"DelFile2=C:\\Reports,report.txt"});
    auto& exact = RunList(base::rmTest, "Clist.dat", "Custom Lists - <New List>");
    EXPECT_EQ(exact.ItemCount, 1);
    EXPECT_EQ(exact.ItemBytes, 2u);

    WriteList("Clist.dat", "<New List>", {"DelFile1=C:\\Reports"});
    auto& whole = RunList(base::rmClean, "Clist.dat", "Custom Lists - <New List>");
    EXPECT_EQ(whole.ItemCount, 3);
    EXPECT_EQ(whole.ItemSizeText, "1");
    EXPECT_FALSE(Exists("C:\\Reports"));
}

TEST_F(RunDataSectionTest, PlaceholdersAreReplacedOnlyWhenWrittenExactly) {
    std::string windows = sim.system().WindowsFolder();
    sim.MakeFile(windows + "\\Temp\\a.TMP", "x");
    sim.MakeFile(windows + "\\Temp\\Sub\\b.tmp", "x");
    WriteList("NVane.dat", "Windows Log Files", {"DelFile3=%windir%\\Temp,*.tmp", "DelFile4=%WINDIR%\\Temp,*.tmp"});
    auto& run = RunList(base::rmClean, "NVane.dat", "Windows - Windows Log Files");
    EXPECT_EQ(run.ItemCount, 1);
    EXPECT_FALSE(Exists(windows + "\\Temp\\a.TMP"));
    EXPECT_TRUE(Exists(windows + "\\Temp\\Sub\\b.tmp"));
}

TEST_F(RunDataSectionTest, EntriesThatWouldLeaveTheirFolderAreSkipped) {
    // No Shell Folders value: the entry's folder would begin with "\".
    sim.registry().OpenKey(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                           platform::RegAccess::Full)
        ->DeleteValue("AppData");
    sim.MakeFile("C:\\Reports\\keep.txt", "k");
    sim.MakeFile("C:\\Windows\\keep.log", "k");
    WriteList("Clist.dat", "<New List>",
              {"DelFile1={Current AppData}\\Reports", "DelFile2=C:\\Reports\\..\\Windows,*.log", "DelFile3=\\Reports",
               "DelFile4=Reports"});
    auto& run = RunList(base::rmClean, "Clist.dat", "Custom Lists - <New List>");
    EXPECT_EQ(run.ItemCount, 0);
    EXPECT_TRUE(Exists("C:\\Reports\\keep.txt"));
    EXPECT_TRUE(Exists("C:\\Windows\\keep.log"));
}

TEST_F(RunDataSectionTest, RegistryEntriesTakeKeysValuesAndWholeKeys) {
    sim.registry().SetString(RegRoot::CurrentUser, "Software\\Reports", "a", "x");
    sim.registry().SetString(RegRoot::CurrentUser, "Software\\Reports\\Sub", "b", "x");
    sim.registry().SetString(RegRoot::CurrentUser, "Software\\Recent", "one", "x");
    sim.registry().SetString(RegRoot::CurrentUser, "Software\\Recent", "two", "x");
    sim.registry().SetString(RegRoot::CurrentUser, "Software\\Single", "Path", "x");
    sim.registry().SetString(RegRoot::CurrentUser, "Software\\Single", "Other", "x");
    WriteList("Clist.dat", "<New List>",
              {"DelRegValue1=HKEY_CURRENT_USER\\Software\\Reports", "DelRegValue2=hkey_current_user\\Software\\Recent,",
               "DelRegValue3=HKEY_CURRENT_USER\\Software\\Single,Path", "DelRegValue4=HKEY_NOWHERE\\Software\\Single,Other"});
    auto& run = RunList(base::rmClean, "Clist.dat", "Custom Lists - <New List>");
    EXPECT_EQ(run.ItemCount, 5);
    EXPECT_FALSE(sim.registry().OpenKey(RegRoot::CurrentUser, "Software\\Reports", platform::RegAccess::Read));
    EXPECT_EQ(sim.registry().OpenKey(RegRoot::CurrentUser, "Software\\Recent", platform::RegAccess::Read)->ValueCount(), 0u);
    EXPECT_TRUE(sim.registry().ReadValue(RegRoot::CurrentUser, "Software\\Single", "Other"));
    EXPECT_FALSE(sim.registry().ReadValue(RegRoot::CurrentUser, "Software\\Single", "Path"));
}

TEST_F(RunDataSectionTest, EntriesNamingAWholeHiveRemoveNothingAndSaySo) {
    // HKEY_USERS\<SID> is HKEY_CURRENT_USER and the Classes keys make up
    // HKEY_CLASSES_ROOT: each is a whole root under another name.
    const std::string sid = "S-1-5-21-1-2-3-1001";
    sim.registry().SetString(RegRoot::Users, sid + "\\Software\\Classes\\.txt", "", "x");
    sim.registry().SetString(RegRoot::Users, sid + "_Classes\\.txt", "", "x");
    sim.registry().SetString(RegRoot::Users, ".DEFAULT\\Software\\Keep", "a", "x");
    sim.registry().SetString(RegRoot::LocalMachine, "Software\\Classes\\.txt", "", "x");
    sim.registry().SetString(RegRoot::LocalMachine, "SYSTEM\\Setup", "a", "x");
    sim.registry().SetString(RegRoot::CurrentUser, "Software\\Classes\\.log", "", "x");
    sim.registry().SetString(RegRoot::CurrentUser, "Software\\Reports", "a", "x");
    const std::vector<std::string> wholes{"HKEY_USERS\\" + sid,
                                          "hkey_users\\\\" + sid + "_Classes\\",
                                          "HKU\\.DEFAULT",
                                          "HKEY_USERS\\" + sid + "\\Software\\Classes",
                                          "HKEY_LOCAL_MACHINE\\Software\\Classes",
                                          "HKLM\\\\SOFTWARE\\CLASSES\\\\",
                                          "HKEY_LOCAL_MACHINE\\SYSTEM",
                                          "HKEY_CURRENT_USER\\software\\classes"};
    std::vector<std::string> entries;
    for (const std::string& key : wholes)
        entries.push_back("DelRegValue" + std::to_string(entries.size() + 1) + "=" + key);
    entries.push_back("DelRegValue20=HKEY_USERS\\" + sid + "\\Software\\Classes,");
    entries.push_back("DelRegValue21=HKEY_CURRENT_USER\\Software\\Reports");
    WriteList("Clist.dat", "<New List>", entries);
    auto& run = RunList(base::rmClean, "Clist.dat", "Custom Lists - <New List>");

    EXPECT_EQ(run.ItemCount, 1);
    EXPECT_FALSE(sim.registry().KeyExists(RegRoot::CurrentUser, "Software\\Reports"));
    for (auto [root, path] : std::vector<std::pair<RegRoot, std::string>>{
             {RegRoot::Users, sid + "\\Software\\Classes\\.txt"},
             {RegRoot::Users, sid + "_Classes\\.txt"},
             {RegRoot::Users, ".DEFAULT\\Software\\Keep"},
             {RegRoot::LocalMachine, "Software\\Classes\\.txt"},
             {RegRoot::LocalMachine, "SYSTEM\\Setup"},
             {RegRoot::CurrentUser, "Software\\Classes\\.log"}})
        EXPECT_TRUE(sim.registry().KeyExists(root, path)) << path;
    EXPECT_TRUE(sim.registry().ReadValue(RegRoot::Users, ".DEFAULT\\Software\\Keep", "a"));
    std::vector<std::string> expected;
    for (const std::string& key : wholes) expected.push_back("Clean: skipping a whole registry root: " + key);
    expected.push_back("Clean: skipping a whole registry root: HKEY_USERS\\" + sid + "\\Software\\Classes");
    expected.push_back("Clean: deleting registry key HKEY_CURRENT_USER\\Software\\Reports");
    EXPECT_EQ(log.Lines(), expected);
}

TEST_F(RunDataSectionTest, MachineValuesNeedAnAdministratorAndSayItOncePerItem) {
    sim.system().SetAdministrator(false);
    sim.registry().SetString(RegRoot::LocalMachine, "Software\\Reports", "Path", "x");
    WriteList("NVane.dat", "Reports",
              {"DelRegValue1=HKEY_LOCAL_MACHINE\\Software\\Reports,Path", "DelRegValue2=HKEY_LOCAL_MACHINE\\Software\\Reports,"});
    auto& run = RunList(base::rmClean, "NVane.dat", "Applications - Reports");
    EXPECT_EQ(run.ItemCount, 0);
    EXPECT_TRUE(sim.registry().ReadValue(RegRoot::LocalMachine, "Software\\Reports", "Path"));
    auto asked = sim.dialogs().Asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "You must have administrators user.");
    EXPECT_EQ(asked[0].caption, "");
    EXPECT_EQ(asked[0].flags, 0u);

    RunList(base::rmUnattended, "NVane.dat", "Applications - Reports");
    EXPECT_EQ(sim.dialogs().Asked().size(), 1u);

    sim.system().SetVersion(platform::piWindows, 4, 10);  // the 95/98/Me family has no such rule
    EXPECT_EQ(RunList(base::rmClean, "NVane.dat", "Applications - Reports").ItemCount, 1);
}

TEST_F(RunDataSectionTest, MissingFilesSectionsAndLocationsGiveNothing) {
    auto& none = RunList(base::rmTest, "Clist.dat", "Custom Lists - <New List>");
    EXPECT_EQ(none.ItemCount, 0);
    std::vector<std::string> entries;
    for (int i = 1; i <= 10; ++i) entries.push_back("DelFile" + std::to_string(i) + "=C:\\Nowhere" + std::to_string(i));
    WriteList("Clist.dat", "<New List>", entries);
    auto& missing = RunList(base::rmTest, "Clist.dat", "Custom Lists - <New List>");
    EXPECT_EQ(missing.ItemCount, 0);
    EXPECT_EQ(missing.ItemSizeText, "0");
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(RunDataSectionTest, ShippedDataFileServesItsItems) {
    // The data file beside the program is the one the build installs.
    std::string text;
    {
        // The tests run in the build folder, where the build copies it.
        std::FILE* in = std::fopen("NVane.dat", "rb");
        ASSERT_TRUE(in);
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, got);
        std::fclose(in);
    }
    sim.MakeFile(sim.system().ProgramFolder() + "NVane.dat", text);
    for (const char* section : {"Windows Log Files", "ICQ", "AOL Instant Messenger", "Google Toolbar History",
                                "MSN Toolbar History", "Yahoo! Toolbar History"}) {
        auto keys = sim.profiles().KeyNames(sim.system().ProgramFolder() + "NVane.dat", section);
        EXPECT_FALSE(keys.empty()) << section;
        for (const auto& key : keys) EXPECT_TRUE(key.rfind("Del", 0) == 0) << section << ": " << key;
    }
    std::string history = "Software\\Yahoo\\Companion\\SearchHistory";
    sim.registry().SetString(RegRoot::CurrentUser, history, "1", "searched words");
    auto& run = RunList(base::rmClean, "NVane.dat", "Advanced - Yahoo! Toolbar History");
    EXPECT_EQ(run.ItemCount, 1);
    EXPECT_TRUE(sim.registry().OpenKey(RegRoot::CurrentUser, history, platform::RegAccess::Read));
}

}  // namespace
