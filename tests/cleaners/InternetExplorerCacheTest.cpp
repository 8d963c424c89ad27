#include <algorithm>
#include <filesystem>

#include "cleaners/Cleaners.h"
#include "cleaners/InternetExplorerCache.h"
#include "cleaners/InternetExplorerUrls.h"
#include "indexdat/IndexDatBuilder.h"
#include "removal/RemovalFixture.h"

using namespace nullvane;
using namespace nullvane::cleaners;
using nullvane::platform::HistoryDelete;
using nullvane::platform::RegRoot;
using nullvane::testing::RemovalFixture;

namespace {

class InternetExplorerCacheTest : public RemovalFixture {
protected:
    std::string Folder(int csidl) { return sim.system().SpecialFolder(csidl); }
    std::string Local() { return Folder(platform::csidlLocalAppData); }
    // An index.dat with one recorded URL, which a wipe turns to zeros.
    void MakeIndexDat(const std::string& path) {
        indexdat::testing::TIndexDatBuilder b;
        b.FirstTable(b.kFirstTable).Table(b.kFirstTable, 8, 0);
        b.UrlRecord(0x5000, "URL ", 1, "http://recorded.example/").Entry(b.kFirstTable, 0, 0x5000);
        sim.MakeFile(path, b.Image());
    }
    bool Wiped(const std::string& path) { return Read(path).find("recorded.example") == std::string::npos; }
    void SetVersionCode(int code) {
        if (code == 11) sim.system().SetVersion(platform::piNT, 6, 2);  // every current Windows reports 6.2
        if (code == 12) sim.system().SetVersion(platform::piNT, 6, 1);
        if (code == 3) sim.system().SetVersion(platform::piWindows, 4, 10);
    }
    int Lines(const std::string& text) {
        auto lines = log.Lines();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                              [&](const std::string& l) { return l.find(text) != std::string::npos; }));
    }
};

TEST_F(InternetExplorerCacheTest, CacheEntriesOfPlainPagesAreCountedAndOnlyThoseTheSystemDeletedCountInAClean) {
    for (const char* url : {"http://a.example/", "https://secure.example/", "Cookie:test@example/",
                            "Visited: test@http://a.example/", "http://refused.example/", "http://b.example/"})
        sim.internet().AddCacheEntry(url);
    sim.internet().RefuseCacheDelete("http://refused.example/");

    EXPECT_EQ(ClearUrlCacheEntries(Run(base::rmTest)), 3);
    EXPECT_EQ(sim.internet().CacheEntries().size(), 6u);
    EXPECT_EQ(Lines("Test: deleting http://"), 3);

    EXPECT_EQ(ClearUrlCacheEntries(Run(base::rmClean)), 2);
    EXPECT_EQ(sim.internet().CacheEntries(),
              (std::vector<std::string>{"https://secure.example/", "Cookie:test@example/",
                                        "Visited: test@http://a.example/", "http://refused.example/"}));
}

TEST_F(InternetExplorerCacheTest, HistoryStoreCountsWhatWasDeletedStopsWhenAskedAndIsReleased) {
    for (const char* url : {"http://one/", "http://failing/", "http://two/", "http://stop/", "http://after/"})
        sim.internet().AddHistoryUrl(url);
    sim.internet().SetHistoryDeleteAnswer("http://failing/", HistoryDelete::Failed);
    sim.internet().SetHistoryDeleteAnswer("http://stop/", HistoryDelete::Refused);

    auto& test = Run(base::rmTest);
    ClearUrlHistoryStore(test);
    EXPECT_EQ(test.ItemCount, 5);
    EXPECT_EQ(sim.internet().HistoryUrls().size(), 5u);

    auto& clean = Run(base::rmClean);
    ClearUrlHistoryStore(clean);
    EXPECT_EQ(clean.ItemCount, 2);  // one and two; the refusal ends the walk before "after"
    EXPECT_EQ(sim.internet().DeletedHistoryUrls(), (std::vector<std::string>{"http://one/", "http://two/"}));
    EXPECT_EQ(sim.internet().OpenHistoryStores(), 0);

    // Without the history class the item goes on with the cache.
    sim.internet().SetHistoryClassAvailable(false);
    sim.internet().AddCacheEntry("http://cached/");
    auto& next = Run(base::rmClean);
    CleanVisitedUrlHistory(next);
    EXPECT_EQ(next.ItemCount, 1);
}

TEST_F(InternetExplorerCacheTest, VisitedHistoryOnOlderWindowsEmptiesHistoryIe5AndNeverRunsTheBrowsersCommand) {
    SetVersionCode(12);
    const std::string history = Folder(platform::csidlHistory);
    MakeIndexDat(history + "\\History.IE5\\index.dat");
    MakeIndexDat(history + "\\History.IE5\\MSHist012026010120260108\\index.dat");
    sim.MakeFile(history + "\\History.IE5\\MSHist012026010120260108\\page.htm", "12345");
    sim.registry().SetString(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer\\Version Vector", "IE",
                             "11.0000");

    auto& test = Run(base::rmTest);
    CleanVisitedUrlHistory(test);
    EXPECT_EQ(test.ItemCount, 1);  // the page: index files are left to the wipe
    EXPECT_EQ(test.ItemFolder, history + "\\History.IE5");

    auto& clean = Run(base::rmClean);
    CleanVisitedUrlHistory(clean);
    EXPECT_FALSE(Exists(history + "\\History.IE5\\MSHist012026010120260108\\page.htm"));
    EXPECT_TRUE(Wiped(history + "\\History.IE5\\MSHist012026010120260108\\index.dat"));
    EXPECT_FALSE(Wiped(history + "\\History.IE5\\index.dat"));  // directly in the walk's top folder
    EXPECT_TRUE(sim.system().StartedProcesses().empty());
}

TEST_F(InternetExplorerCacheTest, VisitedHistoryOnCurrentWindowsKeepsTodaysFolderAndRunsTheCommandFromTheSystemFolder) {
    SetVersionCode(11);
    sim.system().SetNow({2026, 3, 8, 12, 0, 0, 0});
    const std::string low = Folder(platform::csidlHistory) + "\\Low\\History.IE5";
    sim.MakeFile(low + "\\mshist012026030820260309\\today.htm", "t");  // today's, in another case
    sim.MakeFile(low + "\\MSHist012026030120260308\\week.htm", "w");
    MakeIndexDat(low + "\\MSHist012026030120260308\\index.dat");
    sim.MakeFile(Local() + "\\Microsoft\\Internet Explorer\\Recovery\\Active\\tab.dat", "r");
    sim.MakeFile(Local() + "\\Microsoft\\Internet Explorer\\Recovery\\keep.txt", "k");
    const std::string vector = "SOFTWARE\\Microsoft\\Internet Explorer\\Version Vector";

    auto& clean = Run(base::rmClean);
    CleanVisitedUrlHistory(clean);
    EXPECT_EQ(clean.ItemCount, 3);  // the week's page and index, the tab
    EXPECT_TRUE(Exists(low + "\\mshist012026030820260309\\today.htm"));
    EXPECT_FALSE(Exists(low + "\\MSHist012026030120260308\\week.htm"));
    EXPECT_TRUE(Exists(Local() + "\\Microsoft\\Internet Explorer\\Recovery\\keep.txt"));
    EXPECT_TRUE(sim.system().StartedProcesses().empty());  // no version recorded

    for (auto [version, runs] : {std::pair<const char*, bool>{"7.0000", false}, {"11", false}, {"8.00", true}}) {
        sim.registry().SetString(RegRoot::LocalMachine, vector, "IE", version);
        const size_t before = sim.system().StartedProcesses().size();
        CleanVisitedUrlHistory(Run(base::rmClean));
        EXPECT_EQ(sim.system().StartedProcesses().size(), before + (runs ? 1 : 0)) << version;
    }
    const auto started = sim.system().StartedProcesses().back();
    const std::string rundll = sim.system().SystemFolder() + "\\RunDll32.exe";
    EXPECT_EQ(started.application, rundll);
    EXPECT_EQ(started.commandLine, "\"" + rundll + "\" InetCpl.cpl,ClearMyTracksByProcess 1");
}

TEST_F(InternetExplorerCacheTest, IndexDatTreeWipesOnlyBelowTheTopFolderAndNeverThroughALink) {
    const std::string top = "C:\\Tree";
    MakeIndexDat(top + "\\index.dat");
    MakeIndexDat(top + "\\Sub\\INDEX.DAT");
    MakeIndexDat("C:\\Elsewhere\\index.dat");
    std::error_code linkError;  // the Windows build's host under Wine makes no links
    std::filesystem::create_directory_symlink(sim.HostPath("C:\\Elsewhere"), sim.HostPath(top) / "link", linkError);

    WipeIndexDatTree(Run(base::rmClean), top);
    EXPECT_FALSE(Wiped(top + "\\index.dat"));
    EXPECT_TRUE(Wiped(top + "\\Sub\\INDEX.DAT"));
    EXPECT_FALSE(Wiped("C:\\Elsewhere\\index.dat"));
}

TEST_F(InternetExplorerCacheTest, TemporaryInternetFilesEmptyTheCacheSubfoldersButKeepThem) {
    const std::string cache = Folder(platform::csidlInternetCache);
    MakeIndexDat(cache + "\\Content.IE5\\index.dat");
    sim.MakeFile(cache + "\\Content.IE5\\AB12CD34\\page[1].htm", "1234");
    sim.MakeFile(cache + "\\Content.IE5\\EF56GH78\\img[1].png", "12");
    sim.MakeFile(cache + "\\Other\\stale.tmp", "1");

    auto& test = Run(base::rmTest);
    CleanTemporaryInternetFiles(test);
    EXPECT_EQ(test.ItemCount, 3);  // the index is not counted in a Test
    EXPECT_EQ(test.ItemBytes, 7u);
    EXPECT_TRUE(log.Lines().empty());

    auto& clean = Run(base::rmClean);
    CleanTemporaryInternetFiles(clean);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Clearing, please wait..."});
    EXPECT_TRUE(sim.files().DirectoryExists(cache + "\\Content.IE5\\AB12CD34"));
    EXPECT_TRUE(sim.files().DirectoryExists(cache + "\\Content.IE5\\EF56GH78"));
    EXPECT_FALSE(Exists(cache + "\\Content.IE5\\AB12CD34\\page[1].htm"));
    EXPECT_FALSE(Exists(cache + "\\Other"));
    EXPECT_TRUE(sim.files().DirectoryExists(cache));
}

TEST_F(InternetExplorerCacheTest, IndexDatFilesCountThreeForAnyFileAndScheduleTheirRemoval) {
    const std::string cookies = Folder(platform::csidlCookies) + "\\index.dat";
    const std::string cacheIndex = Folder(platform::csidlInternetCache) + "\\Content.IE5\\index.dat";
    MakeIndexDat(cookies);

    auto& test = Run(base::rmTest);
    CleanIndexDatFiles(test);
    EXPECT_EQ(test.ItemCount, 3);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Warning: This will take effect next time windows is rebooted."});

    // The 95/98/Me family: Wininit deletes what "NUL=" names; absent files get no line.
    SetVersionCode(3);
    CleanIndexDatFiles(Run(base::rmClean));
    EXPECT_TRUE(Wiped(cookies));
    EXPECT_EQ(Read(sim.system().WindowsFolder() + "\\Wininit.ini"), "[rename]\r\nNUL=" + cookies + "\r\n");

    // The NT family without the right to schedule: one line says so.
    SetVersionCode(12);
    MakeIndexDat(cacheIndex);
    sim.files().RefuseRebootSchedules();
    CleanIndexDatFiles(Run(base::rmClean));
    EXPECT_EQ(Lines("cannot be removed at the next start"), 1);
    sim.files().RefuseRebootSchedules(false);
    CleanIndexDatFiles(Run(base::rmClean));
    EXPECT_EQ(sim.files().ScheduledDeletes(), (std::vector<std::string>{cookies, cacheIndex}));
    EXPECT_EQ(Lines("cannot be removed at the next start"), 1);
}

TEST_F(InternetExplorerCacheTest, ItemsWithoutTheirFoldersFindNothingAndTouchNoRelativePath) {
    for (int csidl : {platform::csidlCookies, platform::csidlInternetCache, platform::csidlHistory})
        sim.system().SetSpecialFolder(csidl, "");
    MakeIndexDat("C:\\Content.IE5\\index.dat");
    sim.MakeFile("C:\\History.IE5\\page.htm", "p");
    for (auto item : {CleanTemporaryInternetFiles, CleanVisitedUrlHistory, CleanIndexDatFiles}) {
        auto& clean = Run(base::rmClean);
        item(clean);
        EXPECT_EQ(clean.ItemCount, 0);
    }
    EXPECT_TRUE(Exists("C:\\History.IE5\\page.htm"));
    EXPECT_FALSE(Wiped("C:\\Content.IE5\\index.dat"));
    EXPECT_TRUE(sim.files().ScheduledDeletes().empty());
}

TEST_F(InternetExplorerCacheTest, TypedUrlsLogTheirAddressesExceptInFastMode) {
    const std::string typed = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
    sim.registry().SetString(RegRoot::CurrentUser, typed, "url1", "http://typed.example/");
    sim.registry().SetString(RegRoot::CurrentUser, typed, "url2", "http://other.example/");
    auto& test = Run(base::rmTest);
    CleanRecentlyTypedUrls(test);
    EXPECT_EQ(test.ItemCount, 2);
    EXPECT_EQ(Lines("Test: deleting http://typed.example/"), 1);

    auto& fast = Run(base::rmClean);
    fast.SetFastScan(true);
    const size_t before = log.Lines().size();
    CleanRecentlyTypedUrls(fast);
    EXPECT_EQ(fast.ItemCount, 2);
    EXPECT_EQ(log.Lines().size(), before);
    EXPECT_FALSE(sim.registry().OpenKey(RegRoot::CurrentUser, typed, platform::RegAccess::Read));
}

}  // namespace
