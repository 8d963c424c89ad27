// The Chrome and Opera items on real profile files under Wine, with the
// Windows build's own SQLite.
#include "platform/win32/Win32Machine.h"
#include "cleaners/Cleaners.h"
#include "platform/win32/WideText.h"
#include "removal/Lookups.h"
#include "run/BrowserCheck.h"
#include "run/CleanItemCatalogue.h"
#include "run/RecordingLogSink.h"
#include "settings/OptionsSetting.h"
#include "support/BrowserFixture.h"
#include "win/CliProgram.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

using namespace nullvane;
using nullvane::testing::MakeBrowserDatabase;
using nullvane::testing::QueryNumber;
using platform::win32::Widen;

namespace {

// A file held open with no sharing, as a running browser holds its lock and databases.
class THeldFile {
public:
    explicit THeldFile(const std::string& path)
        : handle_(CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~THeldFile() { Release(); }
    THeldFile(const THeldFile&) = delete;
    THeldFile& operator=(const THeldFile&) = delete;
    [[nodiscard]] bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (Held()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

class ChromiumWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings::CurrentOptions = settings::TOptionsSetting{};
        settings::CurrentOptions.FastScan = false;  // so that a Test lists what it would do
        local = removal::GetLocalAppDataFolder(machine.Machine());
        ASSERT_FALSE(local.empty());
        profile = local + "Google\\Chrome\\User Data\\Default\\";
        ASSERT_TRUE(machine.files().MakeFolders(profile + "Network"));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(Widen(local + "Google")), ignored);
    }
    base::TRunContext& Run(base::TRunMode mode) {
        run_ = std::make_unique<base::TRunContext>(machine.Machine(), mode, 0, log,
                                                  settings::RunOptionsOf(settings::CurrentOptions));
        run_->LogPrefix = mode == base::rmTest ? "Test: " : "Clean: ";
        return *run_;
    }
    long long Rows(const std::string& database, const std::string& table) {
        return QueryNumber(database, "SELECT count(*) FROM " + table);
    }
    // Every file of the profile with its bytes.
    std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(Widen(profile))))
            if (entry.is_regular_file())
                files[entry.path().string()] = machine.files().ReadAll(entry.path().string()).ValueOr("<unread>");
        return files;
    }

    platform::win32::Win32Machine machine;
    nullvane::testing::TRecordingLogSink log;
    std::unique_ptr<base::TRunContext> run_;
    std::string local, profile;
};

TEST_F(ChromiumWineTest, StatementsLeaveTheOtherTablesAloneAndATestChangesNoByte) {
    std::string history = profile + "History", webData = profile + "Web Data", shortcuts = profile + "Shortcuts";
    MakeBrowserDatabase(history, "Chromium History", true,
                        "INSERT INTO urls (url, last_visit_time) VALUES ('https://a/', 1);"
                        "INSERT INTO downloads VALUES (1,'g','c','t',1,1,1,1,0,0,x'00',1,0,0,0,'','','','','','','','','','','','','');"
                        "INSERT INTO downloads_url_chains VALUES (1, 0, 'https://a/file');");
    MakeBrowserDatabase(webData, "Chromium Web Data", false,
                        "INSERT INTO autofill (name, value) VALUES ('email', 'me@example.org');"
                        "INSERT INTO credit_cards (guid) VALUES ('c');"
                        "INSERT INTO keywords (short_name, keyword, favicon_url, url) VALUES ('s', 's', '', 'https://s/');");
    MakeBrowserDatabase(shortcuts, "Chromium Shortcuts", false, "INSERT INTO omni_box_shortcuts (id) VALUES ('1');");

    auto before = Snapshot();
    ASSERT_TRUE(before.count(history + "-wal"));  // the newest rows wait in the log
    for (auto item : {cleaners::CleanChromiumDownloadHistory, cleaners::CleanChromiumFormData,
                      cleaners::CleanChromiumHistory})
        item(Run(base::rmTest), browsers::GoogleChrome());
    EXPECT_EQ(Snapshot(), before);
    auto lines = log.Lines();
    // The address bar's shortcuts go whole with the history.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Test: deleting " + shortcuts), 1);

    cleaners::CleanChromiumDownloadHistory(Run(base::rmClean), browsers::GoogleChrome());
    cleaners::CleanChromiumFormData(Run(base::rmClean), browsers::GoogleChrome());
    EXPECT_EQ(Rows(history, "downloads"), 0);
    EXPECT_EQ(Rows(history, "downloads_url_chains"), 0);
    EXPECT_EQ(Rows(history, "urls"), 1);
    EXPECT_EQ(Rows(webData, "autofill"), 0);
    EXPECT_EQ(Rows(webData, "credit_cards"), 1);
    EXPECT_EQ(Rows(webData, "keywords"), 1);
}

TEST_F(ChromiumWineTest, AHeldProfileLockRefusesTheCleanUntilItIsLetGo) {
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    tree.ClickStateImage(*tree.FindItem("Google Chrome - Session"));
    tree.ClickStateImage(*tree.FindItem("Opera - Cookies"));
    std::string operaSoftware = machine.system().SpecialFolder(platform::csidlAppData) + "\\Opera Software\\";
    std::string opera = operaSoftware + "Opera GX Stable\\";
    ASSERT_TRUE(machine.files().MakeFolders(opera));
    {
        THeldFile chrome(local + "Google\\Chrome\\User Data\\lockfile");
        ASSERT_TRUE(chrome.Held());
        EXPECT_EQ(run::BrowserRefusal(tree, machine.Machine(), base::rmCleanRequested), "Please close Google Chrome firstly!");
        EXPECT_EQ(run::BrowserRefusal(tree, machine.Machine(), base::rmTest), std::nullopt);
        auto cli = nullvane::testing::RunCliProgram("--clean \"Google Chrome - Session\" --yes");
        EXPECT_EQ(cli.Status, 3) << cli.Err;
    }
    {
        THeldFile gx(opera + "lockfile");
        ASSERT_TRUE(gx.Held());
        EXPECT_EQ(run::BrowserRefusal(tree, machine.Machine(), base::rmUnattended), "Please close Opera firstly!");
    }
    EXPECT_EQ(run::BrowserRefusal(tree, machine.Machine(), base::rmCleanRequested), std::nullopt);
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(Widen(operaSoftware)), ignored);
}

TEST_F(ChromiumWineTest, CliLeavesAHeldCookieDatabaseUnchangedReportsItAndEndsWithStatusFive) {
    std::string cookies = profile + "Network\\Cookies";
    MakeBrowserDatabase(cookies, "Chromium Network\\Cookies", false, "");
    ASSERT_TRUE(machine.files().WriteAll(cookies + "-journal", "hot journal"));
    ASSERT_TRUE(machine.files().MakeFolders(profile + "Local Storage"));
    ASSERT_TRUE(machine.files().WriteAll(profile + "Local Storage\\https_site_0.localstorage", "site"));
    MakeBrowserDatabase(profile + "History", "Chromium History", false, "");
    auto cookieBytes = machine.files().ReadAll(cookies);

    auto preview = nullvane::testing::RunCliProgram(
        "--preview \"Google Chrome - Cookies\" \"Google Chrome - Download History\" --detail");
    EXPECT_EQ(preview.Status, 0) << preview.Err;
    EXPECT_EQ(std::count(preview.Out.begin(), preview.Out.end(), "Test: cleaning database " + profile + "History"), 1);
    EXPECT_EQ(std::count(preview.Out.begin(), preview.Out.end(), "Test: deleting " + cookies + "-journal"), 1);

    THeldFile held(cookies);
    ASSERT_TRUE(held.Held());
    auto clean = nullvane::testing::RunCliProgram("--clean \"Google Chrome - Cookies\" --yes");
    EXPECT_EQ(clean.Status, 5) << clean.Err;
    EXPECT_EQ(std::count(clean.Out.begin(), clean.Out.end(), "The file is in use by another program: " + cookies), 1);
    EXPECT_FALSE(machine.files().Exists(profile + "Local Storage\\https_site_0.localstorage"));
    EXPECT_TRUE(machine.files().Exists(cookies + "-journal"));
    held.Release();
    EXPECT_EQ(machine.files().ReadAll(cookies), cookieBytes);
}

}  // namespace
