#include "removal/RegistryRemoval.h"
#include "RemovalFixture.h"

using namespace nullvane;
using namespace nullvane::removal;
using nullvane::platform::RegRoot;
using nullvane::testing::RemovalFixture;

namespace {

class RegistryRemovalTest : public RemovalFixture {
protected:
    void SetValues(RegRoot root, const std::string& path, int n) {
        for (int i = 0; i < n; ++i) sim.registry().SetString(root, path, "v" + std::to_string(i), "x");
    }
    bool KeyExists(RegRoot root, const std::string& path) {
        return static_cast<bool>(sim.registry().OpenKey(root, path, platform::RegAccess::Read));
    }
    const std::string mru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
};

TEST_F(RegistryRemovalTest, KeyRemovalCountsEveryValueBelowAndRemovesTheTree) {
    SetValues(RegRoot::CurrentUser, mru, 3);
    SetValues(RegRoot::CurrentUser, mru + "\\Sub", 2);
    EXPECT_EQ(DeleteUserRegistryKey(Run(base::rmTest), mru), 5);
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, mru + "\\Sub"));
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Test: deleting registry key HKEY_CURRENT_USER\\" + mru});

    EXPECT_EQ(DeleteUserRegistryKey(Run(base::rmClean), mru), 5);
    EXPECT_FALSE(KeyExists(RegRoot::CurrentUser, mru));
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"));
}

TEST_F(RegistryRemovalTest, EmptyKeyCountsOneAndMissingKeyCountsNothing) {
    sim.registry().AddKey(RegRoot::CurrentUser, "Software\\Empty");
    EXPECT_EQ(DeleteUserRegistryKey(Run(base::rmClean), "Software\\Empty"), 1);
    EXPECT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(DeleteUserRegistryKey(Run(base::rmClean), "Software\\Empty"), 0);
    EXPECT_EQ(DeleteRegistryKey(Run(base::rmClean), "HKEY_NOWHERE", "Software"), 0);
    EXPECT_EQ(log.Lines().size(), 1u);
}

TEST_F(RegistryRemovalTest, KeyReadableButNotWritableCountsOneInATestAndNothingInACleanWhereItStays) {
    SetValues(RegRoot::LocalMachine, "Software\\Locked", 4);
    sim.registry().DenyFullAccess(RegRoot::LocalMachine, "Software\\Locked");
    EXPECT_EQ(DeleteRegistryKey(Run(base::rmTest), "HKEY_LOCAL_MACHINE", "Software\\Locked"), 1);
    EXPECT_EQ(DeleteRegistryKey(Run(base::rmClean), "HKEY_LOCAL_MACHINE", "Software\\Locked"), 0);
    EXPECT_TRUE(KeyExists(RegRoot::LocalMachine, "Software\\Locked"));
    EXPECT_EQ(log.Lines().size(), 2u);
}

TEST_F(RegistryRemovalTest, CleanCountsWhatIsGoneNotWhatWasFound) {
    const std::string key = "Software\\Held";
    SetValues(RegRoot::CurrentUser, key, 3);
    SetValues(RegRoot::CurrentUser, key + "\\Free", 1);
    SetValues(RegRoot::CurrentUser, key + "\\Locked", 2);
    sim.registry().DenyFullAccess(RegRoot::CurrentUser, key + "\\Locked");
    // A Test counts what a Clean would try: the values it can reach.
    EXPECT_EQ(DeleteUserRegistryKey(Run(base::rmTest), key), 4);
    // The locked subkey keeps its parent, and the parent its own values: only Free is gone.
    EXPECT_EQ(DeleteUserRegistryKey(Run(base::rmClean), key), 1);
    EXPECT_FALSE(KeyExists(RegRoot::CurrentUser, key + "\\Free"));
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, key + "\\Locked"));
    EXPECT_EQ(sim.registry().OpenKey(RegRoot::CurrentUser, key, platform::RegAccess::Read)->ValueCount(), 3u);

    // Emptying the values of the key: its own go, the locked subkey stays and counts nothing.
    EXPECT_EQ(DeleteUserRegistryValues(Run(base::rmClean), key, ""), 3);
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, key + "\\Locked"));
}

TEST_F(RegistryRemovalTest, AllValuesOfAKeyGoWithItsSubkeysWhileTheKeyStays) {
    SetValues(RegRoot::LocalMachine, "Software\\Reports", 2);
    SetValues(RegRoot::LocalMachine, "Software\\Reports\\Old", 4);
    EXPECT_EQ(DeleteRegistryValues(Run(base::rmClean), "hkey_local_machine", "Software\\Reports", ""), 6);
    auto key = sim.registry().OpenKey(RegRoot::LocalMachine, "Software\\Reports", platform::RegAccess::Read);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ValueCount(), 0u);
    EXPECT_EQ(key->SubkeyCount(), 0u);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                               "Clean: deleting registry value HKEY_LOCAL_MACHINE\\Software\\Reports\\v0",
                               "Clean: deleting registry value HKEY_LOCAL_MACHINE\\Software\\Reports\\v1",
                               "Clean: deleting registry key HKEY_LOCAL_MACHINE\\Software\\Reports\\Old"}));
}

TEST_F(RegistryRemovalTest, NamedValueCountsOneOnlyWhenPresent) {
    std::string tray = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TrayNotify";
    sim.registry().SetBinary(RegRoot::CurrentUser, tray, "IconStreams", {1, 2});
    sim.registry().SetString(RegRoot::CurrentUser, tray, "Other", "keep");
    EXPECT_EQ(DeleteUserRegistryValues(Run(base::rmClean), tray, "PastIconsStream"), 0);
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(DeleteUserRegistryValues(Run(base::rmClean), tray, "IconStreams"), 1);
    EXPECT_FALSE(sim.registry().ReadValue(RegRoot::CurrentUser, tray, "IconStreams"));
    EXPECT_TRUE(sim.registry().ReadValue(RegRoot::CurrentUser, tray, "Other"));
}

TEST_F(RegistryRemovalTest, TestRunAndFastModeChangeWhatIsWrittenButNotTheCounts) {
    SetValues(RegRoot::CurrentUser, mru, 3);
    EXPECT_EQ(DeleteUserRegistryValues(Run(base::rmTest), mru, ""), 3);
    EXPECT_EQ(DeleteUserRegistryValues(Run(base::rmTest), mru, "v1"), 1);
    EXPECT_EQ(sim.registry().OpenKey(RegRoot::CurrentUser, mru, platform::RegAccess::Read)->ValueCount(), 3u);

    auto& clean = Run(base::rmClean);
    clean.SetFastScan(true);
    size_t before = log.Lines().size();
    EXPECT_EQ(DeleteUserRegistryKey(clean, mru), 3);
    EXPECT_EQ(log.Lines().size(), before);
    EXPECT_FALSE(KeyExists(RegRoot::CurrentUser, mru));
}

TEST_F(RegistryRemovalTest, AWholeRootIsNeverRemoved) {
    SetValues(RegRoot::CurrentUser, "Software\\Keep", 2);
    auto& run = Run(base::rmClean);
    EXPECT_EQ(DeleteRegistryKey(run, "HKEY_CURRENT_USER", ""), 0);
    EXPECT_EQ(DeleteRegistryKey(run, "HKEY_CURRENT_USER", "\\"), 0);
    EXPECT_EQ(DeleteRegistryValues(run, "HKEY_CURRENT_USER", "", ""), 0);
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, "Software\\Keep"));
}

TEST_F(RegistryRemovalTest, ARootSpelledWithRepeatedOrTrailingBackslashesIsStillNeverRemoved) {
    SetValues(RegRoot::CurrentUser, "Software\\Keep", 2);
    // "HKEY_CURRENT_USER\\\" in a data file leaves "\\" after the root.
    for (auto mode : {base::rmTest, base::rmClean}) {
        for (const std::string subkey : {"\\\\", "\\\\\\", "\\\\\\\\"}) {
            EXPECT_EQ(DeleteRegistryKey(Run(mode), "HKEY_CURRENT_USER", subkey), 0) << subkey;
            EXPECT_EQ(DeleteRegistryValues(Run(mode), "HKEY_CURRENT_USER", subkey, ""), 0) << subkey;
        }
    }
    // Each refusal says so; nothing says it was deleted.
    EXPECT_EQ(log.Lines().size(), 12u);
    for (const std::string& line : log.Lines())
        EXPECT_NE(line.find(": skipping a whole registry root: HKEY_CURRENT_USER\\\\"), std::string::npos) << line;
    EXPECT_TRUE(KeyExists(RegRoot::CurrentUser, "Software\\Keep"));
    EXPECT_EQ(sim.registry().OpenKey(RegRoot::CurrentUser, "Software\\Keep", platform::RegAccess::Read)->ValueCount(),
              2u);
}

TEST_F(RegistryRemovalTest, RepeatedAndTrailingBackslashesNameTheSameKeyAndLogInOneForm) {
    SetValues(RegRoot::CurrentUser, "Software\\Keep", 2);
    EXPECT_EQ(DeleteUserRegistryKey(Run(base::rmTest), "\\Software\\\\Keep\\"), 2);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Test: deleting registry key HKEY_CURRENT_USER\\Software\\Keep"});
}

TEST(RootKeyNames, RoundTripAndRejectOtherTexts) {
    for (auto root : {RegRoot::CurrentUser, RegRoot::ClassesRoot, RegRoot::Users, RegRoot::CurrentConfig,
                      RegRoot::LocalMachine})
        EXPECT_EQ(RootKeyFromName(RootKeyName(root)), root);
    EXPECT_EQ(RootKeyFromName("hkey_users"), RegRoot::Users);
    EXPECT_FALSE(RootKeyFromName("HKCU"));
    EXPECT_FALSE(RootKeyFromName(""));
}

}  // namespace
