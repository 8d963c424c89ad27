// nullvane.exe started for real under Wine (with a display): the window, the
// hand-over of a second start, "-cleanonce", "-Start" and a screenshot.
#include <gtest/gtest.h>

#include "base/ProductInfo.h"
#include "platform/win32/WideText.h"
#include "app/MainForm.h"
#include "platform/win32/Win32Machine.h"
#include "run/Dispatch.h"
#include "ui/win32/Win32Factory.h"
#include "win/StartedProgram.h"
#include "win/WindowTools.h"

#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using nullvane::platform::win32::Widen;
using namespace std::chrono_literals;
using nullvane::testing::ChildButtonOf;
using nullvane::testing::ChildOfClass;
using nullvane::testing::ClientRectOnScreen;
using nullvane::testing::MenuCommandOf;
using nullvane::testing::OptionsFile;
using nullvane::testing::ShootWindow;
using nullvane::testing::TWindowShot;
using nullvane::testing::WaitForState;
using nullvane::testing::WindowTextOf;

const std::wstring kClass = Widen(nullvane::base::kMainWindowClass);
const wchar_t kRunMruKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

HWND MainWindow() { return nullvane::testing::ProgramMainWindow(); }

int MainWindowCount() {
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM counter) -> BOOL {
            wchar_t name[128];
            if (GetClassNameW(window, name, 128) && kClass == name) ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

using TProgram = nullvane::testing::TStartedProgram;

// A settings file of the test's own: the selection, no confirmation, the
// window at a known place.
void WriteOptions(const std::vector<std::wstring>& selection) {
    const std::wstring file = OptionsFile();
    DeleteFileW(file.c_str());
    SHCreateDirectoryExW(nullptr, file.substr(0, file.find_last_of(L'\\')).c_str(), nullptr);
    WritePrivateProfileStringW(L"Settings", L"AskForSweep", L"0", file.c_str());
    WritePrivateProfileStringW(L"Window", L"Left", L"20", file.c_str());
    WritePrivateProfileStringW(L"Window", L"Top", L"20", file.c_str());
    WritePrivateProfileStringW(L"NodeSelected", L"SelectedCount", std::to_wstring(selection.size()).c_str(),
                               file.c_str());
    for (size_t i = 0; i < selection.size(); ++i) {
        WritePrivateProfileStringW(L"NodeSelected", std::to_wstring(i + 1).c_str(), selection[i].c_str(), file.c_str());
    }
}

class MainProgram : public ::testing::Test {
protected:
    void SetUp() override {
        // A window left by an earlier test would take over the next start.
        ASSERT_TRUE(nullvane::testing::CloseLeftProgramWindow());
    }
    // Other tests of the prefix read the saved selection too: leave none.
    void TearDown() override {
        (void)nullvane::testing::CloseLeftProgramWindow();
        DeleteFileW(OptionsFile().c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, kRunMruKey);
        // A main window made in this process ends the program's loop with a
        // quit; left queued, it would end the next test's modal windows at once.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

TEST_F(MainProgram, WindowAppearsWithItsCaptionAndClosesCleanly) {
    WriteOptions({});
    TProgram program(L"");
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(WaitForState([] { return MainWindow() && IsWindowVisible(MainWindow()); }));
    EXPECT_EQ(WindowTextOf(MainWindow()), L"Nullvane " + Widen(nullvane::base::kVersionText));
    RECT client;
    GetClientRect(MainWindow(), &client);
    EXPECT_GT(client.right, 500);
    EXPECT_TRUE(ChildButtonOf(MainWindow(), L"Test"));
    EXPECT_TRUE(ChildButtonOf(MainWindow(), L"Clean"));
    PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Ended());
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST_F(MainProgram, AWindowSavedFarOffTheScreenOpensInTheWorkAreaAndIsSavedSo) {
    WriteOptions({});
    const std::wstring file = OptionsFile();
    WritePrivateProfileStringW(L"Window", L"Left", L"-32768", file.c_str());
    WritePrivateProfileStringW(L"Window", L"Top", L"32767", file.c_str());
    TProgram program(L"");
    ASSERT_TRUE(WaitForState([] { return MainWindow() && IsWindowVisible(MainWindow()); }));
    const HWND window = MainWindow();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT work = monitor.rcWork;
    auto inWorkArea = [&](const RECT& r) {
        return r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom;
    };
    RECT shown{};
    // The placement is applied as the window is first activated.
    EXPECT_TRUE(WaitForState([&] { return GetWindowRect(window, &shown) && inWorkArea(shown); }, 5s))
        << shown.left << ", " << shown.top << ", " << shown.right << ", " << shown.bottom;
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Ended());
    const int left = static_cast<int>(GetPrivateProfileIntW(L"Window", L"Left", -1, file.c_str()));
    const int top = static_cast<int>(GetPrivateProfileIntW(L"Window", L"Top", -1, file.c_str()));
    EXPECT_TRUE(left >= work.left && left < work.right) << left;
    EXPECT_TRUE(top >= work.top && top < work.bottom) << top;
}

TEST_F(MainProgram, SecondStartHandsOverToTheFirstAndEnds) {
    WriteOptions({});
    TProgram first(L"");
    ASSERT_TRUE(WaitForState([] { return MainWindow() && IsWindowVisible(MainWindow()); }));
    const HWND window = MainWindow();
    // Hidden in the notification area, it still comes back.
    PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitForState([&] { return !IsWindowVisible(window); }));

    TProgram second(L"");
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(second.Ended());
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(WaitForState([&] { return IsWindowVisible(window) && !IsIconic(window); }));
    EXPECT_EQ(MainWindowCount(), 1);
    EXPECT_FALSE(first.Ended(0));
}

TEST_F(MainProgram, StartSwitchKeepsTheWindowHidden) {
    WriteOptions({});
    TProgram program(L"-Start");
    ASSERT_TRUE(WaitForState([] { return MainWindow() != nullptr; }));
    ASSERT_TRUE(WaitForState([] { return !IsWindowVisible(MainWindow()); }));
    std::this_thread::sleep_for(1s);
    EXPECT_FALSE(IsWindowVisible(MainWindow()));
    EXPECT_FALSE(program.Ended(0));
}

TEST_F(MainProgram, CleanOnceRemovesTheSavedSelectionAndEndsByItself) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRunMruKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t command[] = L"notepad\\1";
    RegSetValueExW(key, L"a", 0, REG_SZ, reinterpret_cast<const BYTE*>(command), sizeof command);
    RegCloseKey(key);
    WriteOptions({L"Windows - Start Run"});

    TProgram program(L"-CleanOnce");
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.Ended(60000));
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_FALSE(MainWindow());
    const nullvane::run::TDispatch dispatch = nullvane::run::DispatchOf("Windows - Start Run");
    if (!dispatch.Cleaner) GTEST_SKIP() << "the Start Run cleaner is not in the dispatch table yet";
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kRunMruKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(MainProgram, ScreenshotAfterATestRunShowsTheWindow) {
    WriteOptions({L"Windows", L"Windows - Start Run", L"Windows - Clipboard", L"Advanced - Paint"});
    TProgram program(L"");
    ASSERT_TRUE(WaitForState([] { return MainWindow() && IsWindowVisible(MainWindow()); }));
    const HWND window = MainWindow();
    const HWND test = ChildButtonOf(window, L"Test");
    ASSERT_TRUE(test);
    const HWND log = ChildOfClass(window, L"ListBox");
    ASSERT_TRUE(log);
    PostMessageW(test, BM_CLICK, 0, 0);
    // The run may end before a poll sees the button read "Cancel": its log
    // (header lines, summaries, totals) and the button tell the end.
    ASSERT_TRUE(WaitForState([&] { return SendMessageW(log, LB_GETCOUNT, 0, 0) >= 10 && WindowTextOf(test) == L"Test"; }, 60s));
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    std::this_thread::sleep_for(1500ms);
    const HWND tree = ChildOfClass(window, L"SysTreeView32");
    ASSERT_TRUE(tree);
    const TWindowShot shot = ShootWindow(window);
    shot.Save("main-window-after-test.bmp");
    // A window that failed to paint, or a capture of something else, shows
    // one flat colour where the catalogue and the log should be: the tree has
    // its check boxes, icons and names; the log has its lines of text.
    EXPECT_GT(shot.ColoursIn(ClientRectOnScreen(tree)), 4u);
    EXPECT_GT(shot.ColoursIn(ClientRectOnScreen(log)), 1u);
    // And the window as a whole: text, a title band, a progress bar.
    EXPECT_GT(shot.Colours(), 16u);
}

HWND TopWindow(const wchar_t* caption) { return FindWindowW(nullptr, caption); }

// Opens a dialog with the button of `owner`, saves a screenshot of it and closes it with Cancel.
void ShowAndShoot(HWND owner, const wchar_t* button, const wchar_t* caption, const std::string& file) {
    const HWND opener = ChildButtonOf(owner, button);
    ASSERT_TRUE(opener) << "button";
    PostMessageW(opener, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForState([&] { return TopWindow(caption) && IsWindowVisible(TopWindow(caption)); }));
    const HWND dialog = TopWindow(caption);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    std::this_thread::sleep_for(800ms);
    const TWindowShot shot = ShootWindow(dialog);
    shot.Save(file);
    EXPECT_GT(shot.Colours(), 4u) << file;
    const HWND ok = ChildButtonOf(dialog, L"&OK");
    ASSERT_TRUE(ok);
    EXPECT_FALSE(IsWindowEnabled(ok));  // nothing entered yet
    PostMessageW(ChildButtonOf(dialog, L"&Cancel"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForState([&] { return TopWindow(caption) == nullptr; }));
}

// Opens the window called `caption` with the menu command `menuText` of a
// main window made in this process (a menu cannot be reached from another
// process under Wine), lets `user` work on it from a thread of its own as a
// person would, then closes it with Cancel.
void UseWindowFromTheMenu(const wchar_t* menuText, const wchar_t* caption, const std::function<void(HWND)>& user) {
    WriteOptions({});
    nullvane::platform::win32::Win32Machine machine;
    nullvane::ui::win32::TWin32Factory controls;
    nullvane::app::TfrmMain main(machine.Machine(), controls, nullvane::app::TStartSwitch::None);
    main.Show();
    const HWND window = reinterpret_cast<HWND>(main.Form->Handle());
    const UINT command = MenuCommandOf(window, menuText);
    ASSERT_NE(command, 0u);
    std::atomic<bool> done{false};
    std::thread person([&] {
        if (WaitForState([&] { return TopWindow(caption) && IsWindowVisible(TopWindow(caption)); })) {
            user(TopWindow(caption));
        } else {
            ADD_FAILURE() << "the window did not open";
        }
        if (HWND opened = TopWindow(caption)) PostMessageW(ChildButtonOf(opened, L"&Cancel"), BM_CLICK, 0, 0);
        done = true;
    });
    PostMessageW(window, WM_COMMAND, command, 0);
    EXPECT_TRUE(controls.Application().WaitUntil([&] { return done.load() && !TopWindow(caption); }, 60000));
    person.join();
    main.Close();
}

// The custom list editor from the menu, and its two dialogs from its buttons;
// each is captured.
TEST_F(MainProgram, TheCustomListEditorAndItsDialogsOpenFromTheMenu) {
    UseWindowFromTheMenu(L"Custom &Lists", L"Custom Lists", [](HWND editor) {
        EXPECT_TRUE(ChildOfClass(editor, L"SysListView32"));
        ShowAndShoot(editor, L"Add &Registry", L"Add Registry", "custom-list-add-registry.bmp");
        ShowAndShoot(editor, L"Add &File && Folder", L"Add File and Folder", "custom-list-add-folder.bmp");
        ShootWindow(editor).Save("custom-list-editor.bmp");
    });
}

// The settings dialog from the real main window's menu: three pages, one
// shown at a time; each is captured.
TEST_F(MainProgram, TheSettingsDialogOpensFromTheMenuWithItsThreePages) {
    UseWindowFromTheMenu(L"&Settings", L"Settings", [](HWND dialog) {
        const HWND tabs = ChildOfClass(dialog, L"SysTabControl32");
        ASSERT_TRUE(tabs);
        EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
        // One control of each page: only the active page's shows.
        const HWND pageControls[] = {ChildButtonOf(dialog, L"Ask before deleting the item"),
                                     ChildButtonOf(dialog, L"Automatic clean enabled"),
                                     ChildButtonOf(dialog, L"Enable Boss Key")};
        for (int page = 0; page < 3; ++page) {
            ASSERT_TRUE(pageControls[page]) << page;
            // Without the button style, moving the focus selects the tab and tells the dialog.
            SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(page), 0);
            EXPECT_TRUE(WaitForState([&] { return IsWindowVisible(pageControls[page]) != FALSE; }, 5s)) << page;
            for (int other = 0; other < 3; ++other) {
                if (other != page) EXPECT_FALSE(IsWindowVisible(pageControls[other])) << page << " " << other;
            }
            const TWindowShot shot = ShootWindow(dialog);
            shot.Save("settings-page-" + std::to_string(page + 1) + ".bmp");
            EXPECT_GT(shot.Colours(), 4u) << page;
        }
    });
}

}  // namespace
