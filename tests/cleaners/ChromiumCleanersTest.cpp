// The Chrome and Opera items over simulated profiles: which profiles are
// found, which files go and which stay.
#include <algorithm>

#include "browsers/ChromiumProfiles.h"
#include "cleaners/Cleaners.h"
#include "removal/RemovalFixture.h"
#include "run/BrowserCheck.h"
#include "run/CleanItemCatalogue.h"

using namespace nullvane;
using namespace nullvane::cleaners;
using namespace nullvane::browsers;
using nullvane::testing::RemovalFixture;

namespace {

const std::string kLocal = "C:\\Users\\Test\\AppData\\Local\\";
const std::string kRoaming = "C:\\Users\\Test\\AppData\\Roaming\\";
const std::string kUserData = kLocal + "Google\\Chrome\\User Data\\";
const std::string kOpera = kRoaming + "Opera Software\\Opera Stable\\";
const std::string kOperaGx = kRoaming + "Opera Software\\Opera GX Stable\\";

class ChromiumCleanersTest : public RemovalFixture {
protected:
    // What a profile holds that no item may touch.
    void MakeKeptFiles(const std::string& profile) {
        sim.MakeFile(profile + "Bookmarks", "b");
        sim.MakeFile(profile + "Preferences", "p");
        sim.MakeFile(profile + "Local Storage\\leveldb\\000003.log", "site and extension data");
        sim.MakeFile(profile + "Local Storage\\leveldb\\CURRENT", "MANIFEST-000001");
        sim.MakeFile(profile + "Local Storage\\chrome-extension_abc_0.localstorage", "e");
    }
    void ExpectKeptFiles(const std::string& profile) {
        for (const char* name : {"Bookmarks", "Preferences", "Local Storage\\leveldb\\000003.log",
                                 "Local Storage\\leveldb\\CURRENT", "Local Storage\\chrome-extension_abc_0.localstorage"})
            EXPECT_TRUE(Exists(profile + name)) << profile + name;
    }
    int LinesContaining(const std::string& text) {
        auto lines = log.Lines();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        }));
    }
};

TEST_F(ChromiumCleanersTest, ProfilesAreDefaultThenNumberedProfilesByNumberAndNothingElse) {
    for (const char* name : {"Profile 10", "Profile 2", "Default", "Profile 1", "Guest Profile", "System Profile",
                             "Profile X", "Profile 2a", "Profile ", "Crashpad", "profile 3"})
        sim.MakeFolder(kUserData + name);
    sim.MakeFile(kUserData + "Profile 4", "a file, not a profile");
    sim.MakeFile(kUserData + "Local State", "{}");
    EXPECT_EQ(ChromiumProfileNames(sim.Machine(), kUserData),
              (std::vector<std::string>{"Default", "Profile 1", "Profile 2", "profile 3", "Profile 10"}));

    std::vector<TChromiumProfile> profiles = ChromeProfiles(sim.Machine());
    ASSERT_EQ(profiles.size(), 5u);
    EXPECT_EQ(profiles[0].Folder, kUserData + "Default\\");
    EXPECT_EQ(profiles[0].CacheFolder, "");  // Chrome's profiles already live under Local AppData
}

TEST_F(ChromiumCleanersTest, CookiesGoInEveryProfileWhileLeveldbExtensionDataAndSettingsStay) {
    for (const std::string& profile : {kUserData + "Default\\", kUserData + "Profile 1\\"}) {
        MakeKeptFiles(profile);
        sim.MakeFile(profile + "Network\\Cookies", "1234");
        sim.MakeFile(profile + "Local Storage\\https_site_0.localstorage", "12");
    }
    sim.MakeFile(kUserData + "Default\\Cookies", "123456");  // an older profile's place
    sim.MakeFile(kUserData + "Guest Profile\\Network\\Cookies", "not a user profile");

    auto& test = Run(base::rmTest);
    CleanChromiumCookies(test, browsers::GoogleChrome());
    EXPECT_EQ(test.ItemCount, 5);
    EXPECT_EQ(test.ItemBytes, 18u);
    EXPECT_TRUE(Exists(kUserData + "Default\\Network\\Cookies"));

    auto& clean = Run(base::rmClean);
    CleanChromiumCookies(clean, browsers::GoogleChrome());
    EXPECT_EQ(clean.ItemCount, 5);
    for (const std::string& profile : {kUserData + "Default\\", kUserData + "Profile 1\\"}) {
        EXPECT_FALSE(Exists(profile + "Network\\Cookies"));
        EXPECT_FALSE(Exists(profile + "Local Storage\\https_site_0.localstorage"));
        ExpectKeptFiles(profile);
    }
    EXPECT_TRUE(Exists(kUserData + "Guest Profile\\Network\\Cookies"));
}

TEST_F(ChromiumCleanersTest, HistoryTakesTodaysFilesAndOldIndexesAndEmptiesSessionsButKeepsTheFolder) {
    std::string profile = kUserData + "Default\\";
    MakeKeptFiles(profile);
    for (const char* name : {"History", "Favicons", "Top Sites", "Visited Links", "Network Action Predictor",
                             "History Index 2011-05", "history index 2011-06", "Sessions\\Session_1",
                             "Sessions\\Tabs_1", "Current Session"})
        sim.MakeFile(profile + name, "x");
    sim.MakeFile(profile + "Extension State\\History Index 2011-05", "also found below");

    auto& clean = Run(base::rmClean);
    CleanChromiumHistory(clean, browsers::GoogleChrome());
    EXPECT_EQ(clean.ItemCount, 11);
    EXPECT_TRUE(sim.files().DirectoryExists(profile + "Sessions"));
    EXPECT_FALSE(Exists(profile + "Sessions\\Tabs_1"));
    EXPECT_FALSE(Exists(profile + "history index 2011-06"));
    EXPECT_FALSE(Exists(profile + "Extension State\\History Index 2011-05"));
    ExpectKeptFiles(profile);
}

TEST_F(ChromiumCleanersTest, CachesOfAnOperaProfileAreEmptiedInBothFoldersWithoutAnOldOperaFolder) {
    for (const std::string& folder : {kOpera, kLocal + "Opera Software\\Opera Stable\\", kOperaGx}) {
        sim.MakeFile(folder + "Cache\\Cache_Data\\f_000001", "1234");
        sim.MakeFile(folder + "Code Cache\\js\\index", "12");
        sim.MakeFile(folder + "GPUCache\\data_0", "1");
    }
    MakeKeptFiles(kOpera);
    auto& clean = Run(base::rmClean);
    CleanOperaTemporaryFiles(clean);
    EXPECT_EQ(clean.ItemCount, 9);
    EXPECT_EQ(clean.ItemBytes, 21u);
    EXPECT_TRUE(sim.files().DirectoryExists(kLocal + "Opera Software\\Opera Stable\\Cache"));
    EXPECT_FALSE(Exists(kLocal + "Opera Software\\Opera Stable\\Cache\\Cache_Data"));
    ExpectKeptFiles(kOpera);
}

TEST_F(ChromiumCleanersTest, OldOperaFilesAreMatchedByExactNameAndTypedHistoryServesTwoItems) {
    std::string opera = kRoaming + "Opera\\Opera\\";
    sim.MakeFile(opera + "typed_history.xml", "123");
    sim.MakeFile(opera + "Cookies4.dat", "not the cookie file");
    sim.MakeFile(opera + "profile\\cookies4.dat", "12");
    sim.MakeFile(kLocal + "Opera\\Opera\\vps\\0000\\md.dat", "1");

    auto& test = Run(base::rmTest);
    CleanOperaTypedUrls(test);
    EXPECT_EQ(test.ItemCount, 1);

    auto& history = Run(base::rmTest);
    CleanOperaHistory(history);
    EXPECT_EQ(history.ItemCount, 2);  // typed_history.xml and the local vps file

    auto& cookies = Run(base::rmClean);
    CleanOperaCookies(cookies);
    EXPECT_EQ(cookies.ItemCount, 1);
    EXPECT_TRUE(Exists(opera + "Cookies4.dat"));
}

TEST_F(ChromiumCleanersTest, AHeldProfileLockRefusesACleanOfThatBrowserOnly) {
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    tree.ClickStateImage(*tree.FindItem("Google Chrome - Cookies"));
    sim.MakeFile(kUserData + "lockfile", "");
    sim.MakeFile(kOperaGx + "lockfile", "");
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmCleanRequested), std::nullopt);  // lock not held

    sim.files().SetInUse(kOperaGx + "lockfile");
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmCleanRequested), std::nullopt);  // Opera not ticked
    tree.ClickStateImage(*tree.FindItem("Opera - Transfers"));
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmUnattended), "Please close Opera firstly!");

    sim.files().SetInUse(kUserData + "lockfile");
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmCleanRequested), "Please close Google Chrome firstly!");
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmTest), std::nullopt);
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmClean), std::nullopt);
}

TEST_F(ChromiumCleanersTest, AHeldDatabaseStaysWithItsCompanionsWhileTheRestOfTheItemGoes) {
    std::string profile = kUserData + "Default\\";
    sim.MakeFile(profile + "Network\\Cookies", "db");
    sim.MakeFile(profile + "Network\\Cookies-journal", "hot journal");
    sim.MakeFile(profile + "Cookies", "old db");
    sim.MakeFile(profile + "Cookies-wal", "log");
    sim.MakeFile(profile + "Local Storage\\https_site_0.localstorage", "s");
    sim.files().SetInUse(profile + "Network\\Cookies");

    auto& clean = Run(base::rmClean);
    CleanChromiumCookies(clean, browsers::GoogleChrome());
    EXPECT_TRUE(Exists(profile + "Network\\Cookies"));
    EXPECT_TRUE(Exists(profile + "Network\\Cookies-journal"));
    EXPECT_FALSE(Exists(profile + "Cookies"));
    EXPECT_FALSE(Exists(profile + "Cookies-wal"));
    EXPECT_FALSE(Exists(profile + "Local Storage\\https_site_0.localstorage"));
    EXPECT_EQ(clean.ItemCount, 3);
    EXPECT_EQ(LinesContaining("The file is in use by another program: " + profile + "Network\\Cookies"), 1);
    EXPECT_TRUE(clean.FinishedWithErrors());
}

}  // namespace
