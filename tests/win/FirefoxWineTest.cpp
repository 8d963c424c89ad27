// The Firefox items on real files under Wine, with the Windows build's own SQLite.
#include "platform/win32/Win32Machine.h"
#include "cleaners/Cleaners.h"
#include "platform/win32/WideText.h"
#include "run/BrowserCheck.h"
#include "run/CleanItemCatalogue.h"
#include "run/RecordingLogSink.h"
#include "settings/OptionsSetting.h"
#include "support/BrowserFixture.h"
#include "win/CliProgram.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

using namespace nullvane;
using nullvane::testing::MakeBrowserDatabase;
using nullvane::testing::QueryNumber;
using platform::win32::Widen;

namespace {

// An open handle another program would hold, closed with the test.
struct THeldFile {
    explicit THeldFile(const std::string& path, DWORD share)
        : handle(CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~THeldFile() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    THeldFile(const THeldFile&) = delete;
    THeldFile& operator=(const THeldFile&) = delete;
    HANDLE handle;
};

class FirefoxWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings::CurrentOptions = settings::TOptionsSetting{};
        settings::CurrentOptions.FastScan = false;
        firefox = machine.system().SpecialFolder(platform::csidlAppData) + "\\Mozilla\\Firefox";
        profiles = firefox + "\\Profiles";
        std::filesystem::remove_all(Widen(firefox));
        std::filesystem::create_directories(Widen(profiles));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(Widen(firefox), ignored);
    }
    base::TRunContext& Run(base::TRunMode mode) {
        run_ = std::make_unique<base::TRunContext>(machine.Machine(), mode, 0, log,
                                                  settings::RunOptionsOf(settings::CurrentOptions));
        run_->LogPrefix = mode == base::rmTest ? "Test: " : "Clean: ";
        return *run_;
    }
    // A profile of today: places.sqlite and cookies.sqlite in WAL mode with
    // their newest rows still in the "-wal" files, and a few plain files.
    std::string MakeProfile(const std::string& name) {
        std::string folder = profiles + "\\" + name;
        std::filesystem::create_directories(Widen(folder));
        MakeBrowserDatabase(folder + "\\places.sqlite", "Firefox places.sqlite (", true,
                            nullvane::testing::kFirefoxPlacesRows);
        MakeBrowserDatabase(folder + "\\cookies.sqlite", "Firefox cookies.sqlite", true,
                            "INSERT INTO moz_cookies (name, value, host) VALUES ('sid', '1', 'a.example');");
        for (const char* file : {"prefs.js", "logins.json", "key4.db", "sessionstore.jsonlz4"})
            EXPECT_TRUE(machine.files().WriteAll(folder + "\\" + file, std::string("content of ") + file));
        return folder;
    }
    std::map<std::wstring, std::string> Snapshot() {
        std::map<std::wstring, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(Widen(firefox))) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            files[entry.path().wstring()] = {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        }
        return files;
    }

    platform::win32::Win32Machine machine;
    nullvane::testing::TRecordingLogSink log;
    std::unique_ptr<base::TRunContext> run_;
    std::string firefox, profiles;
};

TEST_F(FirefoxWineTest, HistoryAndDownloadsOnWalFilesKeepEveryMarkedPlaceInANonAsciiProfile) {
    const std::string places = MakeProfile("k3x9.Übung José") + "\\places.sqlite";
    ASSERT_TRUE(std::filesystem::exists(Widen(places + "-wal")));
    ASSERT_EQ(QueryNumber(places, "SELECT count(*) FROM moz_historyvisits"), 10);

    cleaners::CleanGeckoDownloadManager(Run(base::rmClean), browsers::MozillaFirefox());
    EXPECT_EQ(QueryNumber(places, "SELECT count(*) FROM moz_historyvisits WHERE visit_type = 7"), 0);
    EXPECT_EQ(QueryNumber(places, "SELECT count(*) FROM moz_places"), 7);

    cleaners::CleanGeckoVisitedUrlHistory(Run(base::rmClean), browsers::MozillaFirefox());
    EXPECT_FALSE(run_->FinishedWithErrors());
    EXPECT_EQ(QueryNumber(places, "SELECT count(*) FROM moz_historyvisits"), 0);
    EXPECT_EQ(QueryNumber(places, "SELECT count(*) FROM moz_places WHERE id IN (1, 2, 3, 7, 8)"), 5);
    EXPECT_EQ(QueryNumber(places, "SELECT count(*) FROM moz_places"), 5);
    EXPECT_EQ(QueryNumber(places, "SELECT count(*) FROM moz_bookmarks"), 5);
    EXPECT_EQ(QueryNumber(places, "SELECT count(*) FROM moz_keywords"), 2);
}

TEST_F(FirefoxWineTest, ATestOfEveryItemChangesNoByte) {
    const std::string folder = MakeProfile("t1.default-release");
    std::filesystem::create_directories(Widen(folder + "\\cache2\\entries"));
    ASSERT_TRUE(machine.files().WriteAll(folder + "\\cache2\\entries\\E1", "cached"));
    const auto before = Snapshot();
    auto& run = Run(base::rmTest);
    for (auto item : {cleaners::CleanGeckoCookies, cleaners::CleanGeckoVisitedUrlHistory,
                      cleaners::CleanGeckoDownloadManager, cleaners::CleanGeckoTemporaryInternetFiles,
                      cleaners::CleanGeckoAutocompleteHistory, cleaners::CleanGeckoPreferences,
                      cleaners::CleanGeckoSavedFormInformation, cleaners::CleanGeckoSession})
        item(run, browsers::MozillaFirefox());
    EXPECT_TRUE(Snapshot() == before);
    int databaseLines = 0;
    for (const auto& line : log.Lines()) databaseLines += line == "Test: cleaning database " + folder + "\\places.sqlite";
    EXPECT_EQ(databaseLines, 2);  // history and downloads
}

TEST_F(FirefoxWineTest, AHeldProfileLockRefusesAClean) {
    const std::string folder = MakeProfile("lockd.default");
    ASSERT_TRUE(machine.files().WriteAll(folder + "\\parent.lock", ""));
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    tree.ClickStateImage(*tree.FindItem("Mozilla Firefox - Session"));
    EXPECT_EQ(run::BrowserRefusal(tree, machine.Machine(), base::rmCleanRequested), std::nullopt);
    THeldFile lock(folder + "\\parent.lock", 0);
    ASSERT_NE(lock.handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(run::BrowserRefusal(tree, machine.Machine(), base::rmCleanRequested),
              "Please close Mozilla Firefox firstly!");
    EXPECT_EQ(run::BrowserRefusal(tree, machine.Machine(), base::rmTest), std::nullopt);
}

TEST_F(FirefoxWineTest, CliLeavesAHeldDatabaseUnchangedCleansTheRestAndExitsFive) {
    const std::string folder = MakeProfile("held.default");
    const std::string other = MakeProfile("free.default");
    nullvane::testing::TCliResult preview =
        nullvane::testing::RunCliProgram("--preview \"Mozilla Firefox - Visited URL History\" --detail");
    EXPECT_EQ(preview.Status, 0) << preview.Err;
    int databaseLines = 0;
    for (const auto& line : preview.Out) databaseLines += line.find("Test: cleaning database ") == 0;
    EXPECT_EQ(databaseLines, 2);

    const auto before = Snapshot();
    std::map<std::wstring, std::string> heldBefore;
    for (const auto& [path, bytes] : before)
        if (path.find(Widen(folder + "\\places.sqlite")) == 0) heldBefore[path] = bytes;
    ASSERT_FALSE(heldBefore.empty());
    {
        // Held as SQLite holds an open database: others may read and write.
        THeldFile held(folder + "\\places.sqlite", FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_NE(held.handle, INVALID_HANDLE_VALUE);
        nullvane::testing::TCliResult clean = nullvane::testing::RunCliProgram(
            "--clean --yes \"Mozilla Firefox - Visited URL History\" \"Mozilla Firefox - Cookies\"");
        EXPECT_EQ(clean.Status, 5) << clean.Err;
        int inUse = 0;
        for (const auto& line : clean.Out)
            inUse += line == "The file is in use by another program: " + folder + "\\places.sqlite";
        EXPECT_EQ(inUse, 1);
    }
    for (const auto& [path, bytes] : heldBefore) {
        std::ifstream in(std::filesystem::path(path), std::ios::binary);
        EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) == bytes)
            << "changed: " << std::filesystem::path(path).filename().string();
    }
    // The other profile and the next item were cleaned all the same.
    EXPECT_EQ(QueryNumber(other + "\\places.sqlite", "SELECT count(*) FROM moz_historyvisits"), 0);
    for (const char* gone : {"\\cookies.sqlite", "\\cookies.sqlite-wal"}) {
        EXPECT_FALSE(std::filesystem::exists(Widen(folder + gone))) << gone;
        EXPECT_FALSE(std::filesystem::exists(Widen(other + gone))) << gone;
    }
}

}  // namespace
