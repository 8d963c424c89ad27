#pragma once
// Links made by the host for the Wine tests: Wine shows a Unix symbolic link
// as a reparse point. The test prefix has no drive for the host's root, so
// the host's programs are reached by their Unix path.
#include <windows.h>

#include <string>

#include "platform/win32/WideText.h"

namespace nullvane::testing {

// The host's programs, reached without a drive letter.
inline const std::string kUnixBin = "\\\\?\\unix\\bin\\";

// The host path of a path in the prefix; empty if Wine cannot tell.
inline std::string UnixPath(const std::string& windowsPath) {
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return {};
    char* converted = convert(platform::win32::Widen(windowsPath).c_str());
    if (!converted) return {};
    std::string result = converted;
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

// Starts a Unix program from inside Wine and waits for it.
inline bool RunUnix(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// Makes `link` (a prefix path whose folder exists) a symbolic link to
// `target`, and waits until Wine sees it (the host's program may still be
// at work when Wine reports it ended).
inline bool MakeHostLink(const std::string& target, const std::string& link) {
    auto slash = link.find_last_of('\\');
    if (slash == std::string::npos) return false;
    std::string command = kUnixBin + "ln -s \"" + UnixPath(target) + "\" \"" + UnixPath(link.substr(0, slash)) + "/" +
                          link.substr(slash + 1) + "\"";
    if (!RunUnix(platform::win32::Widen(command))) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (GetFileAttributesW(platform::win32::Widen(link).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(50);
    }
    return false;
}

}  // namespace nullvane::testing
