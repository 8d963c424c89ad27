#pragma once
// Starts this test program again, with the Windows version Wine gives it
// set per program, to run one probe test there.
#include <windows.h>

#include <string>

namespace nullvane::testing {

// The child runs `--gtest_filter=<probe>` with `variable=value` in its
// environment; returns its exit code (1 if it could not be started).
inline DWORD RunSelfAsWineVersion(const wchar_t* wineVersion, const std::wstring& probe, const wchar_t* variable,
                                  const std::wstring& value) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exeName = self;
    exeName = exeName.substr(exeName.find_last_of(L'\\') + 1);
    std::wstring appDefaults = L"Software\\Wine\\AppDefaults\\" + exeName;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, appDefaults.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 1;
    RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(wineVersion),
                   static_cast<DWORD>((wcslen(wineVersion) + 1) * sizeof(wchar_t)));
    SetEnvironmentVariableW(variable, value.c_str());
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + probe;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD exitCode = 1;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetEnvironmentVariableW(variable, nullptr);
    RegCloseKey(key);
    RegDeleteKeyW(HKEY_CURRENT_USER, appDefaults.c_str());
    return exitCode;
}

}  // namespace nullvane::testing
