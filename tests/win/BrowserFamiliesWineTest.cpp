// The browsers of the browser table beyond Chrome and Firefox, cleaned by
// nullvane-cli under Wine on real profiles with the Windows build's SQLite.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/win32/Win32Machine.h"
#include "platform/Text.h"
#include "platform/win32/WideText.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "support/BrowserFixture.h"
#include "win/CliProgram.h"
#include "win/HostLinks.h"

using namespace nullvane;
using nullvane::testing::MakeBrowserDatabase;
using nullvane::testing::QueryNumber;
using nullvane::testing::RunCliProgram;
using platform::win32::Widen;

namespace {

class BrowserFamiliesWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        local = removal::GetLocalAppDataFolder(machine.Machine());
        roaming = platform::WithTrailingBackslash(machine.system().SpecialFolder(platform::csidlAppData));
        ASSERT_FALSE(local.empty());
        ASSERT_FALSE(roaming.empty());
        edge = local + "Microsoft\\Edge\\User Data\\";
    }
    void TearDown() override {
        std::error_code ignored;
        for (const std::string& folder : {local + "Microsoft\\Edge", roaming + "librewolf", roaming + "Mozilla",
                                          machine.system().TempFolder() + "nullvane-outside"})
            std::filesystem::remove_all(std::filesystem::path(Widen(folder)), ignored);
        std::filesystem::remove_all(std::filesystem::path(L"C:\\Cache"), ignored);
    }
    void Write(const std::string& path, const std::string& text) {
        ASSERT_TRUE(machine.files().MakeFolders(path.substr(0, path.find_last_of('\\'))));
        ASSERT_TRUE(machine.files().WriteAll(path, text));
    }
    // A Chromium profile of today: settings, bookmarks and a visited page.
    void MakeEdgeProfile(const std::string& name) {
        const std::string profile = edge + name + "\\";
        Write(profile + "Preferences", "{}");
        Write(profile + "Bookmarks", "{\"roots\":{}}");
        ASSERT_TRUE(machine.files().MakeFolders(profile + "Network"));
        MakeBrowserDatabase(profile + "History", "Chromium History", false,
                            "INSERT INTO urls (url, last_visit_time) VALUES ('https://visited.example/', 1);");
        MakeBrowserDatabase(profile + "Network\\Cookies", "Chromium Network\\Cookies", false,
                            "INSERT INTO cookies VALUES (0, 'example.com', '', 'a', '1', x'', '/', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),"
                            " (0, '.example.com', '', 'b', '2', x'', '/', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),"
                            " (0, 'tracker.example', '', 'c', '3', x'', '/', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);");
    }
    int Count(const std::vector<std::string>& lines, const std::string& line) {
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    platform::win32::Win32Machine machine;
    std::string local, roaming, edge;
};

TEST_F(BrowserFamiliesWineTest, EdgeIsListedAndEveryProfileKeepsOnlyTheKeptSitesCookiesAndLosesItsHistory) {
    for (const char* name : {"Default", "Profile 1", "Work"}) MakeEdgeProfile(name);
    Write(edge + "Local State", R"({"profile":{"info_cache":{"Default":{},"Profile 1":{},"Work":{}}}})");

    auto list = RunCliProgram("--list");
    ASSERT_EQ(list.Status, 0) << list.Err;
    EXPECT_EQ(Count(list.Out, "  Microsoft Edge - Cookies"), 1);
    EXPECT_EQ(Count(list.Out, "  Microsoft Edge - Visited URL History"), 1);
    EXPECT_EQ(Count(list.Out, "Brave"), 0);  // not on this machine

    auto keep = RunCliProgram("--keep-cookie example.com");
    ASSERT_EQ(keep.Status, 0) << keep.Err;
    auto clean = RunCliProgram("--clean \"Microsoft Edge - Cookies\" \"Microsoft Edge - Visited URL History\" --yes");
    (void)RunCliProgram("--forget-cookie example.com");
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    for (const char* name : {"Default", "Profile 1", "Work"}) {
        const std::string cookies = edge + name + "\\Network\\Cookies";
        EXPECT_EQ(QueryNumber(cookies, "SELECT count(*) FROM cookies"), 2) << name;
        EXPECT_EQ(QueryNumber(cookies, "SELECT count(*) FROM cookies WHERE host_key LIKE '%example.com'"), 2) << name;
        EXPECT_FALSE(machine.files().Exists(edge + name + "\\History")) << name;
        EXPECT_EQ(machine.files().ReadAll(edge + name + "\\Bookmarks").ValueOr(""), "{\"roots\":{}}") << name;
        EXPECT_TRUE(machine.files().Exists(edge + name + "\\Preferences")) << name;
    }
    EXPECT_TRUE(machine.files().Exists(edge + "Local State"));
}

TEST_F(BrowserFamiliesWineTest, AGeckoForkLosesItsHistoryButKeepsItsBookmarks) {
    const std::string profile = roaming + "librewolf\\Profiles\\lw.default";
    Write(roaming + "librewolf\\profiles.ini", "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/lw.default\r\n");
    Write(profile + "\\prefs.js", "");
    MakeBrowserDatabase(profile + "\\places.sqlite", "Firefox places.sqlite", false, nullvane::testing::kFirefoxPlacesRows);

    auto clean = RunCliProgram("--clean \"LibreWolf - Visited URL History\" --yes");
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_EQ(QueryNumber(profile + "\\places.sqlite", "SELECT count(*) FROM moz_historyvisits"), 0);
    EXPECT_EQ(QueryNumber(profile + "\\places.sqlite", "SELECT count(*) FROM moz_bookmarks"), 5);
}

TEST_F(BrowserFamiliesWineTest, AProfileAtTheDriveRootAndALinkedCacheLeaveWhatTheyPointAt) {
    Write("C:\\Cache\\keep.bin", "mine");
    Write(roaming + "Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nIsRelative=0\r\nPath=C:\\\r\n");
    const std::string outside = machine.system().TempFolder() + "nullvane-outside";
    Write(outside + "\\precious.doc", "precious");
    MakeEdgeProfile("Default");
    ASSERT_TRUE(nullvane::testing::MakeHostLink(outside, edge + "Default\\Cache"));
    Write(edge + "Default\\Code Cache\\js\\c", "cached");

    auto clean = RunCliProgram(
        "--clean \"Mozilla Firefox - Temporary Internet Files\" \"Microsoft Edge - Temporary Internet Files\" --yes");
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_EQ(machine.files().ReadAll("C:\\Cache\\keep.bin").ValueOr(""), "mine");
    EXPECT_EQ(Count(clean.Out, "Clean: Profile folder skipped (a drive root): C:\\"), 1);
    EXPECT_EQ(machine.files().ReadAll(outside + "\\precious.doc").ValueOr(""), "precious");
    EXPECT_FALSE(machine.files().Exists(edge + "Default\\Code Cache\\js\\c"));
}

TEST_F(BrowserFamiliesWineTest, AProfileNamedByItsShortNameIsCountedOnce) {
    const std::string profile = roaming + "Mozilla\\Firefox\\Profiles\\long-profile-name.default-release";
    Write(profile + "\\prefs.js", "");
    Write(profile + "\\cookies.sqlite", "cookies");
    wchar_t shortName[MAX_PATH];
    DWORD length = GetShortPathNameW(Widen(profile).c_str(), shortName, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::string shortPath = platform::win32::Narrow(std::wstring(shortName, length));
    if (platform::EqualsIgnoreCase(shortPath, profile)) GTEST_SKIP() << "no short name on this volume";
    Write(roaming + "Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nIsRelative=0\r\nPath=" + shortPath + "\r\n");

    auto preview = RunCliProgram("--preview \"Mozilla Firefox - Cookies\"");
    EXPECT_EQ(preview.Status, 0) << preview.Err;
    EXPECT_EQ(Count(preview.Out, "1 items will be removed; 1 KB will be removed."), 1);
}

TEST_F(BrowserFamiliesWineTest, WhatAPlacesFileHoldsOrLeadsToNeverCostsABookmarkAndADamagedOneEndsWithErrors) {
    const std::string profiles = roaming + "Mozilla\\Firefox\\Profiles\\";
    for (const char* name : {"damaged", "trigger", "linked", "readonly"}) Write(profiles + name + "\\prefs.js", "");
    Write(profiles + "damaged\\places.sqlite", std::string(8192, 'x'));
    MakeBrowserDatabase(profiles + "trigger\\places.sqlite", "Firefox places.sqlite", false,
                        std::string(nullvane::testing::kFirefoxPlacesRows) +
                            "CREATE TRIGGER wipe AFTER DELETE ON moz_historyvisits BEGIN DELETE FROM moz_bookmarks; END;");
    const std::string outside = machine.system().TempFolder() + "nullvane-outside";
    ASSERT_TRUE(machine.files().MakeFolders(outside));
    MakeBrowserDatabase(outside + "\\places.sqlite", "Firefox places.sqlite", false, nullvane::testing::kFirefoxPlacesRows);
    ASSERT_TRUE(nullvane::testing::MakeHostLink(outside + "\\places.sqlite", profiles + "linked\\places.sqlite"));
    MakeBrowserDatabase(profiles + "readonly\\places.sqlite", "Firefox places.sqlite", false,
                        nullvane::testing::kFirefoxPlacesRows);
    ASSERT_TRUE(SetFileAttributesW(Widen(profiles + "readonly\\places.sqlite").c_str(), FILE_ATTRIBUTE_READONLY));

    auto clean = RunCliProgram("--clean \"Mozilla Firefox - Visited URL History\" --yes");
    SetFileAttributesW(Widen(profiles + "readonly\\places.sqlite").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(clean.Status, 5) << clean.Err;
    EXPECT_EQ(Count(clean.Out, "The database is damaged and was left: " + profiles + "damaged\\places.sqlite"), 1);
    EXPECT_EQ(machine.files().ReadAll(profiles + "damaged\\places.sqlite").ValueOr(""), std::string(8192, 'x'));
    EXPECT_EQ(QueryNumber(profiles + "trigger\\places.sqlite", "SELECT count(*) FROM moz_historyvisits"), 0);
    EXPECT_EQ(QueryNumber(profiles + "trigger\\places.sqlite", "SELECT count(*) FROM moz_bookmarks"), 5);
    EXPECT_EQ(Count(clean.Out, "The database was left: the name leads through a link: " + profiles + "linked\\places.sqlite"), 1);
    EXPECT_EQ(QueryNumber(outside + "\\places.sqlite", "SELECT count(*) FROM moz_historyvisits"), 10);
    EXPECT_EQ(Count(clean.Out, "The file is read-only: " + profiles + "readonly\\places.sqlite"), 1);
    EXPECT_EQ(QueryNumber(profiles + "readonly\\places.sqlite", "SELECT count(*) FROM moz_historyvisits"), 10);
}

// A stand-in for a running browser: started as "librewolf.exe", it holds the
// profile's parent.lock and one window until that window is asked to close.
// Runs only when started by the test below.
TEST(BrowserStandIn, HoldsTheProfileLockUntilItsWindowIsAskedToClose) {
    wchar_t lock[MAX_PATH];
    if (GetEnvironmentVariableW(L"NULLVANE_STAND_IN_LOCK", lock, MAX_PATH) == 0) GTEST_SKIP() << "started by a test only";
    HANDLE held = CreateFileW(lock, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    };
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"NullvaneBrowserStandIn";
    RegisterClassW(&windowClass);
    ASSERT_NE(CreateWindowW(L"NullvaneBrowserStandIn", L"stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr),
              nullptr);
    const ULONGLONG end = GetTickCount64() + 60000;
    MSG message;
    while (GetTickCount64() < end) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) continue;
        bool quit = false;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) quit = true;
            DispatchMessageW(&message);
        }
        if (quit) break;
    }
    CloseHandle(held);
}

TEST_F(BrowserFamiliesWineTest, ARunningBrowserRefusesTheCleanUntilAskedToCloseItsWindowsThenItsCookiesGo) {
    const std::string profile = roaming + "librewolf\\Profiles\\lw.default";
    Write(roaming + "librewolf\\profiles.ini", "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/lw.default\r\n");
    Write(profile + "\\prefs.js", "");
    MakeBrowserDatabase(profile + "\\cookies.sqlite", "Firefox cookies.sqlite", false,
                        "INSERT INTO moz_cookies (name, value, host, path) VALUES ('a', '1', '.tracker.example', '/');");

    // This test program, under the browser's program name.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring standIn = Widen(machine.system().TempFolder()) + L"librewolf.exe";
    ASSERT_TRUE(CopyFileW(self, standIn.c_str(), FALSE));
    const std::wstring lock = Widen(profile) + L"\\parent.lock";
    SetEnvironmentVariableW(L"NULLVANE_STAND_IN_LOCK", lock.c_str());
    std::wstring commandLine = L"\"" + standIn + L"\" --gtest_filter=BrowserStandIn.*";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(L"NULLVANE_STAND_IN_LOCK", nullptr);
    ASSERT_TRUE(started);
    CloseHandle(process.hThread);
    for (int i = 0; i < 100 && !removal::IsFileLocked(machine.files(), profile + "\\parent.lock"); ++i) Sleep(100);
    ASSERT_TRUE(removal::IsFileLocked(machine.files(), profile + "\\parent.lock"));

    auto refused = RunCliProgram("--clean \"LibreWolf - Cookies\" --yes");
    EXPECT_EQ(refused.Status, 3);
    EXPECT_NE(refused.Err.find("Please close LibreWolf firstly!"), std::string::npos) << refused.Err;
    EXPECT_TRUE(machine.files().Exists(profile + "\\cookies.sqlite"));

    auto clean = RunCliProgram("--clean \"LibreWolf - Cookies\" --yes --close-browsers");
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_FALSE(machine.files().Exists(profile + "\\cookies.sqlite"));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << "the stand-in closed as asked";
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    DeleteFileW(standIn.c_str());
}

}  // namespace
