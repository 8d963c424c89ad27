#pragma once
// Starts this test program again to run one probe test in a process of its
// own, with variables added to its environment.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace nullvane::testing {

using TEnvironmentChanges = std::vector<std::pair<std::wstring, std::wstring>>;

// The child runs `--gtest_filter=<probe>`; returns its exit code (1 if it
// could not be started). The parent's environment is restored afterwards.
inline DWORD RunSelfWith(const std::wstring& probe, const TEnvironmentChanges& changes) {
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved;
    for (const auto& [name, value] : changes) {
        DWORD length = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
        std::optional<std::wstring> old;
        if (length > 0) {
            old.emplace(length, L'\0');
            old->resize(GetEnvironmentVariableW(name.c_str(), old->data(), length));
        }
        saved.emplace_back(name, old);
        SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + probe;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD exitCode = 1;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (const auto& [name, old] : saved) SetEnvironmentVariableW(name.c_str(), old ? old->c_str() : nullptr);
    return exitCode;
}

}  // namespace nullvane::testing
