// The traces of Windows 10 and 11 in the "Windows" category: jump lists with
// their pins kept, files Explorer holds scheduled for the restart, and the
// folders and keys the items leave in place.
#include <filesystem>

#include "cleaners/Cleaners.h"
#include "removal/RemovalFixture.h"
#include "stores/DestList.h"
#include "support/JumpListFiles.h"

using namespace nullvane;
using namespace nullvane::cleaners;
using nullvane::platform::RegRoot;
using nullvane::testing::MakeAutomaticJumpList;
using nullvane::testing::MakeDestList;
using nullvane::testing::RemovalFixture;

namespace {

const std::string kRoaming = "C:\\Users\\Test\\AppData\\Roaming\\";
const std::string kLocal = "C:\\Users\\Test\\AppData\\Local\\";
const std::string kAutomatic = kRoaming + "Microsoft\\Windows\\Recent\\AutomaticDestinations\\";
const std::string kCustom = kRoaming + "Microsoft\\Windows\\Recent\\CustomDestinations\\";
const std::string kExplorer = kLocal + "Microsoft\\Windows\\Explorer\\";

class WindowsTracesTest : public RemovalFixture {
protected:
    int LinesWith(const std::string& text) {
        int n = 0;
        for (const auto& line : log.Lines()) n += line.find(text) != std::string::npos;
        return n;
    }
};

TEST(DestListPins, PinsAreReadFromEachFormatAndAStreamThatEndsEarlyIsDamage) {
    for (int version : {1, 3, 4}) {
        SCOPED_TRACE(version);
        auto pins = stores::ReadDestListPins(MakeDestList(version, {{"C:\\a.txt", false}, {"C:\\b.txt", true}}));
        EXPECT_TRUE(pins.Readable);
        EXPECT_EQ(pins.Entries, 2);
        EXPECT_EQ(pins.Pinned, 1);
        pins = stores::ReadDestListPins(MakeDestList(version, {{"C:\\a.txt", false}, {"C:\\longer name.txt", false}}));
        EXPECT_TRUE(pins.Readable);
        EXPECT_EQ(pins.Pinned, 0);
    }
    EXPECT_TRUE(stores::ReadDestListPins("").Readable) << "Windows writes an empty list so";

    const std::string list = MakeDestList(3, {{"C:\\a.txt", false}, {"C:\\b.txt", false}});
    for (size_t cut : {size_t{1}, size_t{31}, size_t{40}, list.size() - 1}) {
        auto pins = stores::ReadDestListPins(std::string_view(list).substr(0, cut));
        EXPECT_FALSE(pins.Readable) << cut;
        EXPECT_FALSE(pins.Reason.empty());
    }
    // A header that claims a pin where no entry is pinned still counts it.
    std::string claimed = list;
    claimed[8] = 1;
    EXPECT_EQ(stores::ReadDestListPins(claimed).Pinned, 1);
    std::string unknown = list;
    unknown[0] = 9;
    EXPECT_FALSE(stores::ReadDestListPins(unknown).Readable);
}

TEST_F(WindowsTracesTest, JumpListsGoUnlessTheyHoldAPinOrCannotBeReadAndTheTestCountsWhatTheCleanRemoves) {
    sim.MakeFile(kAutomatic + "1a2b.automaticDestinations-ms", MakeAutomaticJumpList(4, {{"C:\\done.txt", false}}));
    sim.MakeFile(kAutomatic + "f01b4d95cf55d32a.automaticDestinations-ms",
                 MakeAutomaticJumpList(3, {{"C:\\Projects", true}, {"C:\\old.txt", false}}));
    sim.MakeFile(kAutomatic + "bad.automaticDestinations-ms", "not a compound file");
    const std::string truncated = MakeAutomaticJumpList(1, {{"C:\\x.txt", false}});
    sim.MakeFile(kAutomatic + "short.automaticDestinations-ms", truncated.substr(0, truncated.size() / 2));
    sim.MakeFile(kAutomatic + "notes.txt", "not a jump list");
    sim.MakeFile(kCustom + "5c3d.customDestinations-ms", "tasks");

    auto& test = Run(base::rmTest);
    CleanJumpLists(test);
    EXPECT_EQ(test.ItemCount, 2);
    EXPECT_EQ(LinesWith("kept: holds pinned items: " + kAutomatic + "f01b4d95cf55d32a.automaticDestinations-ms"), 1);
    EXPECT_EQ(LinesWith("kept: damaged ("), 2);
    EXPECT_TRUE(Exists(kAutomatic + "1a2b.automaticDestinations-ms"));

    auto& clean = Run(base::rmClean);
    CleanJumpLists(clean);
    EXPECT_EQ(clean.ItemCount, 2);
    EXPECT_FALSE(Exists(kAutomatic + "1a2b.automaticDestinations-ms"));
    EXPECT_FALSE(Exists(kCustom + "5c3d.customDestinations-ms"));
    for (const char* kept : {"f01b4d95cf55d32a.automaticDestinations-ms", "bad.automaticDestinations-ms",
                             "short.automaticDestinations-ms", "notes.txt"})
        EXPECT_TRUE(Exists(kAutomatic + kept)) << kept;
    EXPECT_FALSE(clean.FinishedWithErrors()) << "a kept list is no error";
}

TEST_F(WindowsTracesTest, AThumbnailCacheExplorerHoldsIsScheduledForTheRestartAndCountedWithoutError) {
    sim.MakeFile(kExplorer + "thumbcache_96.db", "1234");
    sim.MakeFile(kExplorer + "thumbcache_256.db", "12345678");
    sim.MakeFile(kExplorer + "iconcache_32.db", "icons");
    sim.files().SetInUse(kExplorer + "thumbcache_256.db");

    auto& clean = Run(base::rmClean);
    CleanThumbnailCache(clean);
    EXPECT_EQ(clean.ItemCount, 2);
    EXPECT_EQ(clean.ItemScheduled, 1);
    EXPECT_EQ(clean.ItemBytes, 12u);
    EXPECT_FALSE(Exists(kExplorer + "thumbcache_96.db"));
    EXPECT_EQ(sim.files().ScheduledDeletes(), std::vector<std::string>{kExplorer + "thumbcache_256.db"});
    EXPECT_EQ(LinesWith("will be removed at the next restart: " + kExplorer + "thumbcache_256.db"), 1);
    EXPECT_TRUE(Exists(kExplorer + "iconcache_32.db"));
    EXPECT_FALSE(clean.FinishedWithErrors());

    // Without the right to schedule, the held file is in use: an error.
    sim.files().RefuseRebootSchedules(true);
    auto& refused = Run(base::rmClean);
    CleanThumbnailCache(refused);
    EXPECT_EQ(refused.ItemCount, 0);
    EXPECT_TRUE(refused.FinishedWithErrors());
}

TEST_F(WindowsTracesTest, SearchesTypedPathsReportsDumpsHistoriesAndActivitiesGoWhileTheirKeysAndFoldersStay) {
    const std::string explorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    sim.registry().SetString(RegRoot::CurrentUser, explorerKey + "WordWheelQuery", "0", "secret search");
    sim.registry().SetString(RegRoot::CurrentUser, explorerKey + "WordWheelQuery", "MRUListEx", "x");
    sim.registry().SetString(RegRoot::CurrentUser, explorerKey + "TypedPaths", "url1", "C:\\Private");
    sim.MakeFile(kLocal + "Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x\\Report.wer", "r");
    sim.MakeFile(kLocal + "Microsoft\\Windows\\WER\\ReportQueue\\AppHang_y\\memory.hdmp", "dump");
    sim.MakeFile(kLocal + "CrashDumps\\editor.exe.1234.dmp", "dump");
    sim.MakeFile(kRoaming + "Microsoft\\Windows\\PowerShell\\PSReadLine\\ConsoleHost_history.txt", "Get-Secret");
    sim.MakeFile(kRoaming + "Microsoft\\Windows\\PowerShell\\PSReadLine\\settings.json", "{}");
    const std::string account = kLocal + "ConnectedDevicesPlatform\\L.Test\\";
    sim.MakeFile(account + "ActivitiesCache.db", "db");
    sim.MakeFile(account + "ActivitiesCache.db-wal", "wal");
    sim.MakeFile(account + "Settings.db", "kept");

    auto& clean = Run(base::rmClean);
    CleanExplorerSearchHistory(clean);
    CleanExplorerTypedPaths(clean);
    EXPECT_EQ(clean.ItemCount, 3);
    clean.ItemCount = 0;
    CleanErrorReports(clean);
    EXPECT_EQ(clean.ItemCount, 3);
    clean.ItemCount = 0;
    CleanShellHistories(clean);
    CleanActivityHistory(clean);
    EXPECT_EQ(clean.ItemCount, 3);

    for (const char* key : {"WordWheelQuery", "TypedPaths"}) {
        auto opened = sim.registry().OpenKey(RegRoot::CurrentUser, explorerKey + key, platform::RegAccess::Read);
        ASSERT_TRUE(opened) << key;
        EXPECT_TRUE(opened->Values().empty()) << key;
    }
    for (const char* folder : {"Microsoft\\Windows\\WER\\ReportArchive", "Microsoft\\Windows\\WER\\ReportQueue", "CrashDumps"})
        EXPECT_TRUE(sim.files().DirectoryExists(kLocal + folder)) << folder;
    EXPECT_FALSE(Exists(kLocal + "CrashDumps\\editor.exe.1234.dmp"));
    EXPECT_FALSE(Exists(kRoaming + "Microsoft\\Windows\\PowerShell\\PSReadLine\\ConsoleHost_history.txt"));
    EXPECT_TRUE(Exists(kRoaming + "Microsoft\\Windows\\PowerShell\\PSReadLine\\settings.json"));
    EXPECT_FALSE(Exists(account + "ActivitiesCache.db-wal"));
    EXPECT_TRUE(Exists(account + "Settings.db"));
}

TEST_F(WindowsTracesTest, TheDnsCacheCountsOneWhereWindowsOffersItsFlushAndIsNoErrorWhereNot) {
    auto& absent = Run(base::rmClean);
    CleanDnsCache(absent);
    EXPECT_EQ(absent.ItemCount, 0);
    EXPECT_EQ(LinesWith("not available on this system"), 1);
    EXPECT_FALSE(absent.FinishedWithErrors());

    sim.system().OfferDnsCacheFlush(true);
    auto& test = Run(base::rmTest);
    CleanDnsCache(test);
    EXPECT_EQ(test.ItemCount, 1);
    EXPECT_EQ(sim.system().DnsCacheFlushes(), 0);
    auto& clean = Run(base::rmClean);
    CleanDnsCache(clean);
    EXPECT_EQ(clean.ItemCount, 1);
    EXPECT_EQ(sim.system().DnsCacheFlushes(), 1);
}

}  // namespace
