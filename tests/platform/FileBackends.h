#pragma once
// The backends the file system and profile file contract tests run against:
// the sim everywhere, and the real W functions in the Windows build (under
// Wine). Each gives a fresh, empty Windows folder `root` for one test and a
// way to make a symbolic link on the host, which Windows itself cannot make.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimProfileFile.h"
#include "platform/sim/SimSystemInfo.h"
#include "support/TempFolder.h"

#ifdef _WIN32
#include <windows.h>
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProfileFile.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/WideText.h"
#include "win/HostLinks.h"
#endif

namespace nullvane::testing {

struct SimFilesBackend {
    static constexpr const char* kName = "Sim";
    TTempFolder host{"nullvane-files"};
    platform::sim::SimFileSystem files{host.Path()};
    platform::sim::SimProfileFile profiles{files};
    platform::sim::SimSystemInfo system;
    std::string root = "C:\\Work";

    SimFilesBackend() { std::filesystem::create_directories(host.Path() / "C" / "Work"); }

    // A host symbolic link at `link` to `target` (which need not exist).
    bool MakeHostLink(const std::string& link, const std::string& target) {
#ifdef _WIN32
        // Under Wine the standard library cannot tell a link from its target.
        (void)link;
        (void)target;
        return false;
#else
        std::error_code error;
        std::filesystem::create_symlink(files.HostPath(target), files.HostPath(link), error);
        return !error;
#endif
    }
};

#ifdef _WIN32

// Runs a host program; Wine starts a Unix executable like any other.
inline bool RunHostProgram(const std::wstring& program, const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

struct Win32FilesBackend {
    static constexpr const char* kName = "Win32";
    platform::win32::Win32FileSystem files;
    platform::win32::Win32ProfileFile profiles;
    platform::win32::Win32SystemInfo system;
    std::string root;

    Win32FilesBackend() {
        static int counter = 0;
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH, temp);
        root = platform::win32::Narrow(temp) + "nullvane-files-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(counter++);
        files.MakeFolder(root);
    }

    ~Win32FilesBackend() {
        // Read-only files and host links are in the way of the W functions;
        // the host removes everything.
        std::string hostRoot = UnixPath(root);
        if (hostRoot.size() > 8) {
            RunHostProgram(L"\\\\?\\unix\\bin\\rm", L"rm -rf \"" + platform::win32::Widen(hostRoot) + L"\"");
        }
    }

    bool MakeHostLink(const std::string& link, const std::string& target) {
        auto split = [](const std::string& path) {
            auto slash = path.find_last_of('\\');
            return UnixPath(path.substr(0, slash)) + "/" + path.substr(slash + 1);
        };
        std::string unixLink = split(link), unixTarget = split(target);
        if (unixLink.front() != '/' || unixTarget.front() != '/') return false;
        return RunHostProgram(L"\\\\?\\unix\\bin\\ln", L"ln -s \"" + platform::win32::Widen(unixTarget) + L"\" \"" +
                                                  platform::win32::Widen(unixLink) + L"\"");
    }
};

using FilesBackends = ::testing::Types<SimFilesBackend, Win32FilesBackend>;
#else
using FilesBackends = ::testing::Types<SimFilesBackend>;
#endif

struct FilesBackendName {
    template <class T>
    static std::string GetName(int) {
        return T::kName;
    }
};

}  // namespace nullvane::testing
