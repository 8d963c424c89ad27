#pragma once
// nullvane.exe started by a Wine test, with the settings file it reads.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "base/ProductInfo.h"
#include "platform/win32/WideText.h"
#include "win/WindowTools.h"

namespace nullvane::testing {

inline HWND ProgramMainWindow() {
    static const std::wstring mainClass = platform::win32::Widen(base::kMainWindowClass);
    return FindWindowW(mainClass.c_str(), nullptr);
}

// Closes a main window an earlier test left (it would take over the next
// start); true once none is left.
[[nodiscard]] inline bool CloseLeftProgramWindow() {
    if (HWND window = ProgramMainWindow()) PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForState([] { return ProgramMainWindow() == nullptr; });
}

// The folder of the test program, where nullvane.exe is too.
inline std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

inline std::wstring OptionsFile() {
    wchar_t appData[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::wstring(appData) + L"\\Quillmark\\Nullvane\\options.ini";
}

// A started nullvane.exe; closed, then killed, if a test leaves it running.
class TStartedProgram {
public:
    explicit TStartedProgram(const std::wstring& arguments = L"") {
        std::wstring command = L"\"" + ProgramFolder() + L"nullvane.exe\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, ProgramFolder().c_str(),
                                  &startup, &process_) != FALSE;
        if (started_) CloseHandle(process_.hThread);
    }
    ~TStartedProgram() {
        if (!started_) return;
        if (!Ended(0)) {
            if (HWND window = ProgramMainWindow()) PostMessageW(window, WM_CLOSE, 0, 0);
            if (!Ended(10000)) TerminateProcess(process_.hProcess, 9);
        }
        CloseHandle(process_.hProcess);
    }
    TStartedProgram(const TStartedProgram&) = delete;
    TStartedProgram& operator=(const TStartedProgram&) = delete;

    [[nodiscard]] bool Started() const { return started_; }
    // Started and its window shown (its Boss Key goes in before that).
    [[nodiscard]] bool Ready() const {
        return started_ && WaitForState([] { return ProgramMainWindow() && IsWindowVisible(ProgramMainWindow()); });
    }
    [[nodiscard]] bool Ended(DWORD timeoutMs = 20000) const {
        return WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }
    [[nodiscard]] DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

}  // namespace nullvane::testing
