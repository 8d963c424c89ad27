// The Help command of the real main window opens NVane.chm beside the
// program through the shell; under Xvfb the help viewer shows our contents.
// A screenshot is saved beside the tests for a person to look at.
#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "platform/win32/Win32Machine.h"
#include "ui/win32/Win32Factory.h"
#include "win/WindowTools.h"

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;
using nullvane::testing::ChildOfClass;
using nullvane::testing::MenuCommandOf;
using nullvane::testing::ShootWindow;
using nullvane::testing::TWindowShot;

// The help project's window title: only our help file opens a window so named.
const wchar_t kHelpTitle[] = L"Nullvane Help";

// Processes this thread's messages until `done` holds or the time is up. A
// quit message an earlier test of this process left behind is dropped: it
// would end every wait at once.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
}

// The help viewer is another process that shares the test's output: it must
// not outlive the test, or whoever reads that output waits for it.
void EndHelpViewer() {
    HWND help = FindWindowW(nullptr, kHelpTitle);
    if (!help) return;
    DWORD id = 0;
    GetWindowThreadProcessId(help, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    PostMessageW(help, WM_CLOSE, 0, 0);
    if (process) {
        if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

TEST(HelpFile, TheHelpCommandOpensTheHelpFileBesideTheProgramWithItsContents) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring chm(path, length);
    chm = chm.substr(0, chm.find_last_of(L'\\') + 1) + L"NVane.chm";
    ASSERT_NE(GetFileAttributesW(chm.c_str()), INVALID_FILE_ATTRIBUTES) << "the build puts NVane.chm beside the programs";
    EndHelpViewer();

    nullvane::platform::win32::Win32Machine machine;
    nullvane::ui::win32::TWin32Factory controls;
    nullvane::app::TfrmMain main(machine.Machine(), controls, nullvane::app::TStartSwitch::None);
    main.Show();
    const HWND window = reinterpret_cast<HWND>(main.Form->Handle());
    const UINT command = MenuCommandOf(window, L"&Help");
    ASSERT_NE(command, 0u);
    PostMessageW(window, WM_COMMAND, command, 0);

    HWND help = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return (help = FindWindowW(nullptr, kHelpTitle)) != nullptr && IsWindowVisible(help); },
                          30000));
    if (help) {
        // The contents tree holds every entry of the help's contents (ten at
        // the top, ten clean item pages in their book): the file opened is
        // ours. The viewer fills its window after showing it.
        HWND tree = nullptr;
        EXPECT_TRUE(PumpUntil(
            [&] {
                tree = ChildOfClass(help, L"SysTreeView32");
                return tree && SendMessageW(tree, TVM_GETCOUNT, 0, 0) >= 20;
            },
            10000))
            << (tree ? SendMessageW(tree, TVM_GETCOUNT, 0, 0) : -1) << " contents entries";
        SetForegroundWindow(help);
        RedrawWindow(help, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
        (void)PumpUntil([] { return false; }, 1500);
        const TWindowShot shot = ShootWindow(help);
        shot.Save("help-window.bmp");
        EXPECT_GT(shot.Colours(), 8u);
    }
    EndHelpViewer();
    main.Close();
}

}  // namespace
