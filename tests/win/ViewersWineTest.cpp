// The Index.dat viewer and the Cookies Manager opened from the real main
// window's menu (made in this process: a menu cannot be reached from another
// process under Wine), over what Wine's WinINet wrote; and nullvane-cli's
// commands beside them, end to end.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/MainForm.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Machine.h"
#include "ui/win32/Win32Factory.h"
#include "win/CliProgram.h"
#include "win/SelfChild.h"
#include "win/WindowTools.h"

using namespace nullvane::testing;
using nullvane::platform::win32::Narrow;

namespace {

const wchar_t kViewerCaption[] = L"Index.dat file viewer";
const wchar_t kManagerCaption[] = L"Cookies Manager";
const wchar_t kOneUrl[] = L"http://viewer-one.nullvane.test/page.htm";
const wchar_t kTwoUrl[] = L"http://viewer-two.nullvane.test/";

std::wstring AddCacheEntry(const std::wstring& url) {
    wchar_t file[MAX_PATH]{};
    if (!CreateUrlCacheEntryW(url.c_str(), 0, L"htm", file, 0)) return {};
    HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    DWORD written = 0;
    WriteFile(handle, "<html></html>", 13, &written, nullptr);
    CloseHandle(handle);
    FILETIME never{};
    if (!CommitUrlCacheEntryW(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr))
        return {};
    return file;
}

FILETIME KnownTime() {
    SYSTEMTIME time{2021, 6, 2, 15, 12, 34, 56, 0};
    FILETIME utc{};
    SystemTimeToFileTime(&time, &utc);
    return utc;
}

// The time as the user's settings write a local date-time.
std::wstring LocalTimeText(FILETIME utc) {
    FILETIME local{};
    SYSTEMTIME time{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &time);
    wchar_t date[128]{}, clock[128]{};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 128);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 128);
    return std::wstring(date) + L" " + clock;
}

std::wstring ListViewText(HWND list, int item, int subItem) {
    wchar_t text[1024]{};
    LVITEMW lv{};
    lv.iSubItem = subItem;
    lv.pszText = text;
    lv.cchTextMax = 1024;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
    return text;
}

std::vector<std::wstring> ListBoxItems(HWND list) {
    std::vector<std::wstring> items;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(text);
    }
    return items;
}

std::wstring ProgramFile(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

std::wstring CacheIndex() {
    wchar_t cache[MAX_PATH]{};
    SHGetFolderPathW(nullptr, CSIDL_INTERNET_CACHE, nullptr, 0, cache);
    return std::wstring(cache) + L"\\Content.IE5\\index.dat";
}

HWND TopWindow(const wchar_t* caption) {
    HWND window = FindWindowW(nullptr, caption);
    return window && IsWindowVisible(window) ? window : nullptr;
}

void PressCtrlAlt(char key) {
    INPUT inputs[6]{};
    const WORD keys[3] = {VK_CONTROL, VK_MENU, static_cast<WORD>(key)};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[5 - i].type = INPUT_KEYBOARD;
        inputs[5 - i].ki.wVk = keys[i];
        inputs[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(6, inputs, sizeof(INPUT));
}

class ViewersOnWine : public ::testing::Test {
protected:
    void TearDown() override {
        DeleteFileW(ProgramFile(L"Cookies.dat").c_str());
        wchar_t appData[MAX_PATH];
        SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
        DeleteFileW((std::wstring(appData) + L"\\Quillmark\\Nullvane\\options.ini").c_str());
    }

    // Runs the menu command of a main window made here while `user` works
    // the window it opens from another thread.
    void WithMenuCommand(const std::wstring& entry, const wchar_t* caption, const std::function<void()>& user) {
        nullvane::platform::win32::Win32Machine machine;
        nullvane::ui::win32::TWin32Factory controls;
        nullvane::app::TfrmMain main(machine.Machine(), controls, nullvane::app::TStartSwitch::None);
        main.Show();
        const HWND window = reinterpret_cast<HWND>(main.Form->Handle());
        const UINT command = MenuCommandOf(window, entry);
        ASSERT_NE(command, 0u) << Narrow(entry);
        std::atomic<bool> done{false};
        std::thread worker([&] {
            user();
            done = true;
        });
        PostMessageW(window, WM_COMMAND, command, 0);
        EXPECT_TRUE(controls.Application().WaitUntil([&] { return done.load() && !TopWindow(caption); }, 90000));
        worker.join();
        main.Close();
        // The main window's end asks the loop to quit; no later test's wait may see that.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

TEST_F(ViewersOnWine, TheViewerListsTheIndexWinINetWroteWithItsTimesAndCtrlAltSShowsDelete) {
    ASSERT_FALSE(AddCacheEntry(kOneUrl).empty());
    ASSERT_FALSE(AddCacheEntry(kTwoUrl).empty());
    INTERNET_CACHE_ENTRY_INFOW info{};
    info.dwStructSize = sizeof info;
    info.LastAccessTime = KnownTime();
    info.LastModifiedTime = KnownTime();
    ASSERT_TRUE(SetUrlCacheEntryInfoW(kTwoUrl, &info, CACHE_ENTRY_ACCTIME_FC | CACHE_ENTRY_MODTIME_FC));

    // A wiped copy under a name outside the ANSI code page: read, and empty.
    const std::wstring wipedCopy = ProgramFile(L"viewer-\u65e5\u672c-\u00e9.dat");
    const std::wstring asciiCopy = ProgramFile(L"viewer-wiped.dat");
    ASSERT_TRUE(CopyFileW(CacheIndex().c_str(), asciiCopy.c_str(), FALSE));
    // The console's pipe takes ANSI text: the copy is named afterwards.
    EXPECT_EQ(RunCliProgram("--wipe-index-dat viewer-wiped.dat --yes").Status, 0);
    ASSERT_TRUE(MoveFileExW(asciiCopy.c_str(), wipedCopy.c_str(), MOVEFILE_REPLACE_EXISTING));

    std::wstring fileName, oneTime, twoTime;
    int rows = -1;
    LRESULT wipedRows = -1, wipedProgress = -1;
    bool deleteShown = false;
    WithMenuCommand(L"&Index.dat Viewer", kViewerCaption, [&] {
        [&] {
            ASSERT_TRUE(WaitForState([] { return TopWindow(kViewerCaption) != nullptr; }));
            const HWND viewer = TopWindow(kViewerCaption);
            const auto edits = ChildrenOfClass(viewer, L"Edit");
            const auto lists = ChildrenOfClass(viewer, L"SysListView32");
            ASSERT_EQ(edits.size(), 1u);
            ASSERT_EQ(lists.size(), 1u);
            fileName = WindowTextOf(edits[0]);
            PostMessageW(ChildButtonOf(viewer, L"&Show"), BM_CLICK, 0, 0);
            ASSERT_TRUE(WaitForState([&] {
                return SendMessageW(lists[0], LVM_GETITEMCOUNT, 0, 0) >= 2 &&
                       IsWindowEnabled(ChildButtonOf(viewer, L"&Show"));
            }));
            rows = static_cast<int>(SendMessageW(lists[0], LVM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < rows; ++i) {
                if (ListViewText(lists[0], i, 0) == kOneUrl) oneTime = ListViewText(lists[0], i, 1);
                if (ListViewText(lists[0], i, 0) == kTwoUrl) twoTime = ListViewText(lists[0], i, 1);
            }
            const TWindowShot shot = ShootWindow(viewer);
            shot.Save("index-dat-viewer.bmp");
            EXPECT_GT(shot.ColoursIn(ClientRectOnScreen(lists[0])), 4u);  // icons, text, the selection colours
            EXPECT_GT(shot.Colours(), 8u);

            const HWND remove = ChildButtonOf(viewer, L"&Delete");
            ASSERT_TRUE(remove);
            EXPECT_FALSE(IsWindowVisible(remove));
            SetForegroundWindow(viewer);
            SetFocus(lists[0]);
            PressCtrlAlt('S');
            deleteShown = WaitForState([&] { return IsWindowVisible(remove) != FALSE; }, std::chrono::seconds(5));
            ShootWindow(viewer).Save("index-dat-viewer-delete.bmp");

            const auto bars = ChildrenOfClass(viewer, PROGRESS_CLASSW);
            ASSERT_EQ(bars.size(), 1u);
            SetWindowTextW(edits[0], wipedCopy.c_str());
            PostMessageW(ChildButtonOf(viewer, L"&Show"), BM_CLICK, 0, 0);
            EXPECT_TRUE(WaitForState([&] {
                return SendMessageW(lists[0], LVM_GETITEMCOUNT, 0, 0) == 0 &&
                       IsWindowEnabled(ChildButtonOf(viewer, L"&Show"));
            }));
            wipedRows = SendMessageW(lists[0], LVM_GETITEMCOUNT, 0, 0);
            // A file that opened is read to the end; one that did not leaves the bar at 0.
            wipedProgress = SendMessageW(bars[0], PBM_GETPOS, 0, 0);
        }();
        if (HWND viewer = TopWindow(kViewerCaption)) PostMessageW(ChildButtonOf(viewer, L"&Close"), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(fileName, CacheIndex());
    EXPECT_GE(rows, 2);
    EXPECT_FALSE(oneTime.empty());
    EXPECT_EQ(twoTime, LocalTimeText(KnownTime()));
    EXPECT_TRUE(deleteShown);
    EXPECT_EQ(wipedRows, 0);
    EXPECT_EQ(wipedProgress, 100);
    DeleteFileW(wipedCopy.c_str());
}

TEST_F(ViewersOnWine, TheManagerListsWinINetsCookiesAndAddAllThenOkWritesCookiesDat) {
    ASSERT_EQ(RunSelfWith(L"IECookieProbe.Make", {{L"NULLVANE_COOKIE_PROBE", L"make"}}), 0u);
    DeleteFileW(ProgramFile(L"Cookies.dat").c_str());
    std::vector<std::wstring> found;
    WithMenuCommand(L"&Cookies Manager", kManagerCaption, [&] {
        [&] {
            ASSERT_TRUE(WaitForState([] { return TopWindow(kManagerCaption) != nullptr; }));
            const HWND manager = TopWindow(kManagerCaption);
            const auto lists = ChildrenOfClass(manager, L"ListBox");
            ASSERT_EQ(lists.size(), 2u);
            found = ListBoxItems(lists[0]);
            EXPECT_TRUE(ListBoxItems(lists[1]).empty());
            SendMessageW(lists[0], LB_SETCURSEL, 0, 0);
            const TWindowShot shot = ShootWindow(manager);
            shot.Save("cookies-manager.bmp");
            EXPECT_GT(shot.ColoursIn(ClientRectOnScreen(lists[0])), 2u);
            PostMessageW(ChildButtonOf(manager, L"Add All    ->"), BM_CLICK, 0, 0);
            ASSERT_TRUE(WaitForState([&] { return ListBoxItems(lists[1]).size() == found.size(); }));
            EXPECT_TRUE(ListBoxItems(lists[0]).empty());
            ShootWindow(manager).Save("cookies-manager-all-kept.bmp");
            PostMessageW(ChildButtonOf(manager, L"&OK"), BM_CLICK, 0, 0);
        }();
        if (HWND manager = TopWindow(kManagerCaption)) PostMessageW(ChildButtonOf(manager, L"&Cancel"), BM_CLICK, 0, 0);
    });
    EXPECT_NE(std::find(found.begin(), found.end(), L"kept.nullvane.test"), found.end());
    EXPECT_NE(std::find(found.begin(), found.end(), L"gone.nullvane.test"), found.end());
    const std::wstring dat = ProgramFile(L"Cookies.dat");
    EXPECT_EQ(GetPrivateProfileIntW(L"Cookies to keep", L"Count", -1, dat.c_str()), static_cast<int>(found.size()));
    wchar_t first[256]{};
    GetPrivateProfileStringW(L"Cookies to keep", L"0", L"", first, 256, dat.c_str());
    EXPECT_EQ(first, found.at(0));

    // nullvane-cli shows the same lists and changes them as the window does.
    TCliResult cookies = RunCliProgram("--cookies");
    EXPECT_EQ(cookies.Status, 0) << cookies.Err;
    EXPECT_EQ(std::count(cookies.Out.begin(), cookies.Out.end(), "keep\tkept.nullvane.test"), 1);
    for (const std::string& line : cookies.Out) EXPECT_EQ(line.rfind("found\t", 0), std::string::npos) << line;
    TCliResult forget = RunCliProgram("--forget-cookie kept.nullvane.test");
    EXPECT_EQ(forget.Status, 0) << forget.Err;
    int foundKept = 0;
    for (const std::string& line : forget.Out) foundKept += line.rfind("found\tkept.nullvane.test\t", 0) == 0;
    EXPECT_EQ(foundKept, 1);
}

TEST_F(ViewersOnWine, CliWipesACopyOfWinINetsIndexAfterAskingAndThenListsNothing) {
    ASSERT_FALSE(AddCacheEntry(kOneUrl).empty());
    const std::wstring copy = ProgramFile(L"viewer-wipe-copy.dat");
    ASSERT_TRUE(CopyFileW(CacheIndex().c_str(), copy.c_str(), FALSE));
    TCliResult before = RunCliProgram("--index-dat viewer-wipe-copy.dat");
    EXPECT_EQ(before.Status, 0) << before.Err;
    EXPECT_GE(before.Out.size(), 1u);
    TCliResult refused = RunCliProgram("--wipe-index-dat NVane.dat.missing --yes");
    EXPECT_EQ(refused.Status, 2);
    EXPECT_NE(refused.Err.find("Please enter the correct index.dat file name."), std::string::npos);
    TCliResult unconfirmed = RunCliProgram("--wipe-index-dat viewer-wipe-copy.dat");
    EXPECT_EQ(unconfirmed.Status, 1);
    EXPECT_EQ(RunCliProgram("--index-dat viewer-wipe-copy.dat").Out, before.Out);
    TCliResult wiped = RunCliProgram("--wipe-index-dat viewer-wipe-copy.dat --yes");
    EXPECT_EQ(wiped.Status, 0) << wiped.Err;
    EXPECT_TRUE(wiped.Out.empty());
    TCliResult after = RunCliProgram("--index-dat viewer-wipe-copy.dat");
    EXPECT_EQ(after.Status, 0) << after.Err;
    EXPECT_TRUE(after.Out.empty());
    DeleteFileW(copy.c_str());
}

}  // namespace
