// nullvane.exe started for real under Wine with the Boss Key switched on:
// stand-in browser windows made here, the key pressed as a user presses it
// (SendInput), the key held against other programs, and the end of the
// session as the system announces it.
#include <gtest/gtest.h>

#include "base/ProductInfo.h"
#include "platform/win32/WideText.h"
#include "win/StartedProgram.h"
#include "win/WindowTools.h"

#include <windows.h>
#include <shlobj.h>

#include <array>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using nullvane::testing::OptionsFile;
using nullvane::testing::WaitForState;
using namespace std::chrono_literals;

// The classes the program hides and shows.
const std::array<const wchar_t*, 5> kBrowserClasses = {L"IEFrame", L"NS_AE_WindowClass", L"MozillaWindowClass",
                                                       L"MozillaUIWindowClass", L"OpWindow"};
constexpr int kTestHotkeyId = 0x2345;

HWND MainWindow() { return nullvane::testing::ProgramMainWindow(); }

// A settings file with the Boss Key on at its designed Ctrl+F5.
void WriteBossKeyOptions(bool shutdownWash, const std::vector<std::wstring>& selection) {
    const std::wstring file = OptionsFile();
    DeleteFileW(file.c_str());
    SHCreateDirectoryExW(nullptr, file.substr(0, file.find_last_of(L'\\')).c_str(), nullptr);
    auto put = [&](const wchar_t* section, const wchar_t* key, const std::wstring& value) {
        WritePrivateProfileStringW(section, key, value.c_str(), file.c_str());
    };
    put(L"Settings", L"AskForSweep", L"0");
    put(L"Window", L"Left", L"20");
    put(L"Window", L"Top", L"20");
    put(L"Hotkey", L"EnableHotkey", L"1");
    put(L"Hotkey", L"IsCtrl", L"1");
    put(L"Hotkey", L"IsShift", L"0");
    put(L"Hotkey", L"IsAlt", L"0");
    put(L"Hotkey", L"CharString", L"F5");
    put(L"Hotkey", L"CharAscII", std::to_wstring(VK_F5));
    put(L"SChedule", L"ShutdownWash", shutdownWash ? L"1" : L"0");
    put(L"NodeSelected", L"SelectedCount", std::to_wstring(selection.size()));
    for (size_t i = 0; i < selection.size(); ++i) put(L"NodeSelected", std::to_wstring(i + 1).c_str(), selection[i]);
}

using TProgram = nullvane::testing::TStartedProgram;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterStandInClasses() {
    static const bool registered = [] {
        for (const wchar_t* name : kBrowserClasses) {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = StandInProc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = name;
            windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            RegisterClassW(&windowClass);
        }
        return true;
    }();
    (void)registered;
}

struct TStandInWindow {
    const wchar_t* ClassName;
    bool Visible;
};

// Browser stand-ins on a thread of their own. A pumping thread answers the
// program's show and hide at once; a blocked one holds them until Release().
class TStandIns {
public:
    TStandIns(std::vector<TStandInWindow> wanted, bool blocked) {
        RegisterStandInClasses();
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventW(nullptr, TRUE, blocked ? FALSE : TRUE, nullptr);
        thread_ = std::thread([this, wanted] { Run(wanted); });
        WaitForSingleObject(ready_, 10000);
    }
    ~TStandIns() {
        Release();
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        CloseHandle(ready_);
        CloseHandle(release_);
    }
    TStandIns(const TStandIns&) = delete;
    TStandIns& operator=(const TStandIns&) = delete;

    void Release() { SetEvent(release_); }
    [[nodiscard]] const std::vector<HWND>& Windows() const { return windows_; }

private:
    void Run(const std::vector<TStandInWindow>& wanted) {
        threadId_ = GetCurrentThreadId();
        MSG message;
        PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue, before anyone posts to it
        int offset = 0;
        for (const auto& window : wanted) {
            const DWORD style = WS_OVERLAPPEDWINDOW | (window.Visible ? WS_VISIBLE : 0);
            windows_.push_back(CreateWindowExW(0, window.ClassName, L"stand-in", style, 300 + offset, 200 + offset, 320, 200,
                                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
            offset += 30;
        }
        SetEvent(ready_);
        WaitForSingleObject(release_, INFINITE);
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        for (HWND window : windows_) DestroyWindow(window);
    }

    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
    DWORD threadId_ = 0;
    std::vector<HWND> windows_;
    std::thread thread_;
};

// Ctrl+F5 as the keyboard gives it.
void PressBossKey() {
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, VK_F5, VK_F5, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    ASSERT_EQ(SendInput(4, keys, sizeof(INPUT)), 4u);
}

bool AllVisible(const std::vector<HWND>& windows, bool visible) {
    for (HWND window : windows) {
        if ((IsWindowVisible(window) != FALSE) != visible) return false;
    }
    return true;
}

bool Answers(HWND window, UINT timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

class BossKey : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(nullvane::testing::CloseLeftProgramWindow());
    }
    void TearDown() override {
        (void)nullvane::testing::CloseLeftProgramWindow();
        DeleteFileW(OptionsFile().c_str());
    }
};

TEST_F(BossKey, HidesEveryShownBrowserWindowAndShowsExactlyThoseAgainAndOnClose) {
    WriteBossKeyOptions(false, {});
    TProgram program;
    ASSERT_TRUE(program.Ready());
    std::vector<TStandInWindow> wanted;
    for (const wchar_t* name : kBrowserClasses) wanted.push_back({name, true});
    wanted.push_back({L"MozillaWindowClass", false});  // a browser's own hidden window
    TStandIns standIns(wanted, false);
    const std::vector<HWND> shown(standIns.Windows().begin(), standIns.Windows().end() - 1);
    const HWND ownHidden = standIns.Windows().back();
    ASSERT_TRUE(AllVisible(shown, true));

    PressBossKey();
    EXPECT_TRUE(WaitForState([&] { return AllVisible(shown, false); }, 5s));
    PressBossKey();
    EXPECT_TRUE(WaitForState([&] { return AllVisible(shown, true); }, 5s));
    EXPECT_FALSE(IsWindowVisible(ownHidden));

    // Closing the program while they are hidden gives them back.
    PressBossKey();
    ASSERT_TRUE(WaitForState([&] { return AllVisible(shown, false); }, 5s));
    PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Ended());
    EXPECT_TRUE(WaitForState([&] { return AllVisible(shown, true); }, 5s));
    EXPECT_FALSE(IsWindowVisible(ownHidden));
}

TEST_F(BossKey, TheKeyIsTheProgramsWhileItRunsAndFreeAfterwards) {
    WriteBossKeyOptions(false, {});
    TProgram program;
    ASSERT_TRUE(program.Ready());
    SetLastError(0);
    EXPECT_FALSE(RegisterHotKey(nullptr, kTestHotkeyId, MOD_CONTROL, VK_F5));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Ended());
    EXPECT_TRUE(RegisterHotKey(nullptr, kTestHotkeyId, MOD_CONTROL, VK_F5)) << GetLastError();
    UnregisterHotKey(nullptr, kTestHotkeyId);
}

TEST_F(BossKey, ABrowserThatDoesNotAnswerDoesNotHoldTheProgram) {
    WriteBossKeyOptions(false, {});
    TProgram program;
    ASSERT_TRUE(program.Ready());
    TStandIns answering({{L"IEFrame", true}}, false);
    TStandIns hung({{L"MozillaWindowClass", true}}, true);

    PressBossKey();
    ASSERT_TRUE(WaitForState([&] { return AllVisible(answering.Windows(), false); }, 5s));
    EXPECT_TRUE(Answers(MainWindow(), 1000));
    // Once it answers again, it is hidden as well.
    hung.Release();
    EXPECT_TRUE(WaitForState([&] { return AllVisible(hung.Windows(), false); }, 5s));
}

// What the system sends as the session ends: the question, then the outcome.
class EndOfSession : public BossKey {};

std::wstring TempFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, path);
    return std::wstring(path, length);
}

TEST_F(EndOfSession, TheQuestionRunsTheCleanWithinItsBoundAndSavesThenTheEndEndsTheProcess) {
    const std::wstring leftover = TempFolder() + L"nullvane-end-of-session-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    {
        HANDLE file = CreateFileW(leftover.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, "something harmless", 18, &written, nullptr);
        CloseHandle(file);
    }
    ASSERT_NE(GetFileAttributesW(leftover.c_str()), INVALID_FILE_ATTRIBUTES);
    WriteBossKeyOptions(true, {L"Windows - Temporary Files"});
    TProgram program;
    ASSERT_TRUE(program.Ready());
    const HWND window = MainWindow();
    // A key the program writes and the test did not: it tells the settings were saved.
    wchar_t saved[16] = {};
    GetPrivateProfileStringW(L"SChedule", L"WashInterval", L"", saved, 16, OptionsFile().c_str());
    ASSERT_STREQ(saved, L"");
    // A browser hidden by the key comes back before the session ends.
    TStandIns standIn({{L"OpWindow", true}}, false);
    PressBossKey();
    ASSERT_TRUE(WaitForState([&] { return AllVisible(standIn.Windows(), false); }, 5s));

    DWORD_PTR answer = 0;
    const auto asked = std::chrono::steady_clock::now();
    ASSERT_NE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 20000, &answer), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 17s);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    EXPECT_EQ(GetFileAttributesW(leftover.c_str()), INVALID_FILE_ATTRIBUTES);
    GetPrivateProfileStringW(L"SChedule", L"WashInterval", L"", saved, 16, OptionsFile().c_str());
    EXPECT_STRNE(saved, L"");
    EXPECT_TRUE(WaitForState([&] { return AllVisible(standIn.Windows(), true); }, 5s));

    // The process may be gone before it replies: the answer is not looked at.
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &answer);
    EXPECT_TRUE(program.Ended(10000));
    DeleteFileW(leftover.c_str());
}

TEST_F(EndOfSession, AnEndCalledOffKeepsTheProgramRunning) {
    WriteBossKeyOptions(false, {});
    TProgram program;
    ASSERT_TRUE(program.Ready());
    const HWND window = MainWindow();
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 20000, &answer), 0);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    ASSERT_NE(SendMessageTimeoutW(window, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, 5000, &answer), 0);
    EXPECT_FALSE(program.Ended(1000));
    EXPECT_TRUE(Answers(window, 1000));
    EXPECT_TRUE(IsWindowVisible(window));
    // The key still works, and a normal close still ends it.
    TStandIns standIn({{L"IEFrame", true}}, false);
    PressBossKey();
    EXPECT_TRUE(WaitForState([&] { return AllVisible(standIn.Windows(), false); }, 5s));
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Ended());
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_TRUE(WaitForState([&] { return AllVisible(standIn.Windows(), true); }, 5s));
}

}  // namespace
