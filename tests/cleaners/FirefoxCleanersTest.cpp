#include <algorithm>
#include <filesystem>

#include "browsers/GeckoProfiles.h"
#include "cleaners/Cleaners.h"
#include "removal/RemovalFixture.h"
#include "run/BrowserCheck.h"
#include "run/CleanItemCatalogue.h"
#include "stores/SQLiteFixture.h"
#include "support/BrowserFixture.h"

using namespace nullvane;
using namespace nullvane::cleaners;
using namespace nullvane::browsers;
using nullvane::testing::MakeBrowserDatabase;
using nullvane::testing::QueryNumber;
using nullvane::testing::RemovalFixture;

namespace {

constexpr char kAppData[] = "C:\\Users\\Test\\AppData\\Roaming\\";
constexpr char kLocal[] = "C:\\Users\\Test\\AppData\\Local\\";
constexpr char kRoaming[] = "C:\\Users\\Test\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\";
constexpr char kLocalProfiles[] = "C:\\Users\\Test\\AppData\\Local\\Mozilla\\Firefox\\Profiles\\";

class FirefoxCleanersTest : public RemovalFixture {
protected:
    // A second drive for profiles kept outside the user's folders.
    FirefoxCleanersTest() { std::filesystem::create_directories(sim.HostRoot() / "D"); }
    void WriteProfilesIni(const std::string& text) {
        sim.MakeFile(std::string(kAppData) + "Mozilla\\Firefox\\profiles.ini", text);
    }
    std::string Host(const std::string& path) { return stores::testing::Utf8(sim.HostPath(path)); }
    std::vector<std::string> Folders(const std::vector<TGeckoProfile>& profiles, std::string TGeckoProfile::*field) {
        std::vector<std::string> folders;
        for (const auto& profile : profiles) folders.push_back(profile.*field);
        return folders;
    }
    int LinesWith(const std::string& text) {
        int n = 0;
        for (const auto& line : log.Lines()) n += line.find(text) != std::string::npos;
        return n;
    }
};

TEST_F(FirefoxCleanersTest, ProfilesComeFromBothProfilesFoldersAndProfilesIniEachOnce) {
    sim.MakeFolder(std::string(kRoaming) + "a1.default");
    sim.MakeFolder(std::string(kRoaming) + "Übung");
    sim.MakeFolder(std::string(kLocalProfiles) + "a1.default\\cache2");
    sim.MakeFolder(std::string(kLocalProfiles) + "orphan");
    sim.MakeFile("C:\\Users\\Test\\AppData\\Roaming\\Mozilla\\Firefox\\Elsewhere\\José\\prefs.js", "");
    sim.MakeFile("D:\\Profil für Ärger\\times.json", "{}");
    WriteProfilesIni("\xEF\xBB\xBF[General]\r\nStartWithLastProfile=1\r\n\r\n"
                     "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/A1.DEFAULT\r\n\r\n"
                     "[Profile1]\r\nName=moved\r\nIsRelative=1\r\nPath=Elsewhere/José\r\n\r\n"
                     "[Profile2]\r\nName=abs\r\nIsRelative=0\r\nPath=D:\\Profil für Ärger\\\r\n\r\n"
                     "[Profile3]\r\nName=twice\r\nIsRelative=0\r\nPath=d:\\PROFIL FÜR ÄRGER\r\n\r\n"
                     "[Profile4]\r\nName=climbs\r\nIsRelative=1\r\nPath=../../Local\r\n\r\n"
                     "[Profile5]\r\nName=missing\r\nIsRelative=1\r\nPath=Profiles/gone\r\n\r\n"
                     "[Install4F96D1932A9F858E]\r\nDefault=Profiles/orphan\r\n");
    auto profiles = FindGeckoProfiles(sim.Machine(), MozillaFirefox()).Profiles;
    std::vector<std::string> folders = Folders(profiles, &TGeckoProfile::Folder);
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (std::vector<std::string>{
                           "",  // the local folder alone
                           "C:\\Users\\Test\\AppData\\Roaming\\Mozilla\\Firefox\\Elsewhere\\José",
                           std::string(kRoaming) + "a1.default",
                           std::string(kRoaming) + "Übung",
                           "D:\\Profil für Ärger",
                       }));
    for (const auto& profile : profiles) {
        if (profile.Folder == std::string(kRoaming) + "a1.default") {
            EXPECT_EQ(profile.LocalFolder, std::string(kLocalProfiles) + "a1.default");
            EXPECT_TRUE(profile.InProfilesFolder);
        } else if (profile.Folder.empty()) {
            EXPECT_EQ(profile.LocalFolder, std::string(kLocalProfiles) + "orphan");
        } else {
            EXPECT_EQ(profile.LocalFolder, "") << profile.Folder;  // no local counterpart, or absolute
        }
    }
}

TEST_F(FirefoxCleanersTest, FileItemsMatchExactNamesAndSearchOutsideProfilesOnlyAtTheTop) {
    sim.MakeFile(std::string(kRoaming) + "p.default\\cookies.txt", "1");
    sim.MakeFile(std::string(kRoaming) + "p.default\\deep\\Cookies2.TXT", "22");
    sim.MakeFile(std::string(kRoaming) + "p.default\\cookies.sqlite", "4444");
    sim.MakeFile(std::string(kRoaming) + "p.default\\cookies.sqlite-wal", "55555");
    sim.MakeFile(std::string(kRoaming) + "p.work\\Cookies.sqlite", "x");
    sim.MakeFile("D:\\Ffx\\cookies.sqlite", "333");
    sim.MakeFile("D:\\Ffx\\old\\cookies.sqlite", "x");
    sim.MakeFile("D:\\Ffx\\prefs.js", "");
    WriteProfilesIni("[Profile0]\nIsRelative=0\nPath=D:\\Ffx\n");
    auto& run = Run(base::rmClean);
    CleanGeckoCookies(run, browsers::MozillaFirefox());
    EXPECT_EQ(run.ItemCount, 5);
    EXPECT_EQ(run.ItemBytes, 15u);
    EXPECT_FALSE(Exists(std::string(kRoaming) + "p.default\\cookies.sqlite-wal"));
    EXPECT_TRUE(Exists(std::string(kRoaming) + "p.work\\Cookies.sqlite"));
    EXPECT_TRUE(Exists("D:\\Ffx\\old\\cookies.sqlite"));
}

TEST_F(FirefoxCleanersTest, TemporaryFilesTakeTheCachesOfRoamingAndLocalFoldersOnce) {
    sim.MakeFile(std::string(kRoaming) + "p.default\\thumbnails\\t.png", "1");
    sim.MakeFile(std::string(kLocalProfiles) + "p.default\\cache2\\entries\\E1", "22");
    sim.MakeFile(std::string(kLocalProfiles) + "p.default\\Cache\\_CACHE_001_", "333");
    sim.MakeFile(std::string(kLocalProfiles) + "p.default\\startupCache\\s.bin", "x");
    sim.MakeFile("D:\\Abs\\cache2\\entries\\E2", "4444");
    sim.MakeFile("D:\\Abs\\times.json", "{}");
    WriteProfilesIni("[Profile0]\nIsRelative=0\nPath=D:\\Abs\n");
    auto& test = Run(base::rmTest);
    CleanGeckoTemporaryInternetFiles(test, browsers::MozillaFirefox());
    EXPECT_EQ(test.ItemCount, 4);
    EXPECT_EQ(test.ItemBytes, 10u);
    EXPECT_TRUE(log.Lines().empty());  // neither the notice nor file lines in a Test by default

    auto& clean = Run(base::rmClean);
    CleanGeckoTemporaryInternetFiles(clean, browsers::MozillaFirefox());
    EXPECT_EQ(clean.ItemCount, 4);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Clearing, please wait..."});
    EXPECT_TRUE(sim.files().DirectoryExists(std::string(kLocalProfiles) + "p.default\\cache2"));
    EXPECT_FALSE(Exists(std::string(kLocalProfiles) + "p.default\\cache2\\entries"));
    EXPECT_TRUE(Exists(std::string(kLocalProfiles) + "p.default\\startupCache\\s.bin"));
}

class FirefoxPlacesTest : public FirefoxCleanersTest {
protected:
    // One profile of today and one old one without a bookmarks table, neither named ".default".
    void SetUp() override {
        sim.MakeFolder(places.substr(0, places.rfind('\\')));
        sim.MakeFolder(oldPlaces.substr(0, oldPlaces.rfind('\\')));
        MakeBrowserDatabase(Host(places), "Firefox places.sqlite (", true, nullvane::testing::kFirefoxPlacesRows);
        MakeBrowserDatabase(Host(oldPlaces), "Firefox places.sqlite of an old profile", false,
                            "INSERT INTO moz_places (id, url, visit_count) VALUES (1, 'https://old.example/', 4);"
                            "INSERT INTO moz_historyvisits (place_id, visit_type) VALUES (1, 1), (1, 7);");
    }
    long long Number(const std::string& query, const std::string& on = {}) {
        return QueryNumber(Host(on.empty() ? places : on), query);
    }
    long long Count(const std::string& table) { return Number("SELECT count(*) FROM " + table); }
    std::string places = std::string(kRoaming) + "x9y8z7.work\\places.sqlite";
    std::string oldPlaces = std::string(kRoaming) + "old\\places.sqlite";
};

TEST_F(FirefoxPlacesTest, HistoryEmptiesVisitsAndKeepsEveryBookmarkTagAndKeywordPlace) {
    auto& run = Run(base::rmClean);
    CleanGeckoVisitedUrlHistory(run, browsers::MozillaFirefox());
    EXPECT_EQ(run.ItemCount, 0);  // rows are never counted
    EXPECT_EQ(Count("moz_historyvisits"), 0);
    EXPECT_EQ(Count("moz_places"), 5);
    EXPECT_EQ(Number("SELECT count(*) FROM moz_places WHERE id IN (1, 2, 3, 7, 8)"), 5);
    EXPECT_EQ(Number("SELECT count(*) FROM moz_places WHERE visit_count <> 0 OR typed <> 0 OR last_visit_date IS NOT NULL"), 0);
    EXPECT_EQ(Count("moz_bookmarks"), 5);
    EXPECT_EQ(Count("moz_keywords"), 2);
    EXPECT_EQ(Count("moz_inputhistory") + Count("moz_places_metadata") + Count("moz_places_metadata_search_queries"), 0);
    EXPECT_EQ(Number("SELECT count(*) FROM moz_annos WHERE place_id NOT IN (1, 7)"), 0);
    EXPECT_EQ(Count("moz_annos"), 2);
    EXPECT_EQ(Number("SELECT count(*) FROM moz_origins WHERE id = 1") + Count("moz_origins"), 2);
    EXPECT_EQ(Count("moz_meta"), 1);
    // The old profile's places stay (nothing says which are bookmarks); its visits go.
    EXPECT_EQ(Number("SELECT count(*) FROM moz_historyvisits", oldPlaces), 0);
    EXPECT_EQ(Number("SELECT visit_count FROM moz_places", oldPlaces), 0);
    EXPECT_FALSE(run.FinishedWithErrors());
}

TEST_F(FirefoxPlacesTest, DownloadsLeaveOnlyDownloadVisitsAndPlacesNothingElseNames) {
    auto& run = Run(base::rmClean);
    CleanGeckoDownloadManager(run, browsers::MozillaFirefox());
    EXPECT_EQ(Number("SELECT count(*) FROM moz_places WHERE id = 5"), 0);
    EXPECT_EQ(Count("moz_places"), 7);
    EXPECT_EQ(Number("SELECT count(*) FROM moz_historyvisits WHERE visit_type = 7"), 0);
    EXPECT_EQ(Count("moz_historyvisits"), 6);
    EXPECT_EQ(Number("SELECT count(*) FROM moz_annos WHERE anno_attribute_id = 1"), 0);
    EXPECT_EQ(Count("moz_annos"), 2);
    EXPECT_EQ(Count("moz_origins"), 2);
    EXPECT_EQ(Count("moz_inputhistory"), 2);
    EXPECT_EQ(Count("moz_places_metadata"), 2);
    EXPECT_EQ(Count("moz_bookmarks"), 5);
    EXPECT_EQ(Number("SELECT count(*) FROM moz_historyvisits", oldPlaces), 1);
}

TEST_F(FirefoxPlacesTest, AHeldProfileLockRefusesACleanOfTickedFirefoxItems) {
    const std::string lock = places.substr(0, places.rfind('\\')) + "\\parent.lock";
    sim.MakeFile(lock);
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    tree.ClickStateImage(*tree.FindItem("Mozilla Firefox - Cookies"));
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmCleanRequested), std::nullopt);  // left behind, not held
    sim.files().SetInUse(lock);
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmCleanRequested), "Please close Mozilla Firefox firstly!");
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmUnattended), "Please close Mozilla Firefox firstly!");
    EXPECT_EQ(run::BrowserRefusal(tree, sim.Machine(), base::rmTest), std::nullopt);
    run::TCleanItemTree other = run::CreateCleanItemTree();
    other.ClickStateImage(*other.FindItem("Windows - Clipboard"));
    EXPECT_EQ(run::BrowserRefusal(other, sim.Machine(), base::rmCleanRequested), std::nullopt);
}

}  // namespace
