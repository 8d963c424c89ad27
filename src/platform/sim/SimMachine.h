#pragma once
// A whole simulated Windows for one test: a fresh host folder for the drives
// (removed again with the machine), one of each simulated service, and the
// defaults of a Windows 7 machine of user "Test" with administrator rights:
// C: a fixed drive, C:\Windows, the user's folders under C:\Users\Test (also
// in the registry's "Shell Folders"), temp C:\Users\Test\AppData\Local\Temp\,
// the program in C:\Program Files\Nullvane\. The folders exist on the host.
// The thread that creates the machine is its window thread.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimInternet.h"
#include "platform/sim/SimMessageQueue.h"
#include "platform/sim/SimProfileFile.h"
#include "platform/sim/SimProtectedStorage.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSessionLocks.h"
#include "platform/sim/SimSystemInfo.h"
#include "platform/sim/SimUiThread.h"

namespace nullvane::platform::sim {

class SimMachine {
public:
    SimMachine();
    ~SimMachine();
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;

    // The services as the program takes them.
    [[nodiscard]] Platform& Machine() { return platform_; }

    [[nodiscard]] SimFileSystem& files() { return files_; }
    [[nodiscard]] SimProfileFile& profiles() { return profiles_; }
    [[nodiscard]] SimRegistry& registry() { return registry_; }
    [[nodiscard]] SimSystemInfo& system() { return system_; }
    [[nodiscard]] SimDialogs& dialogs() { return dialogs_; }
    [[nodiscard]] SimDesktop& desktop() { return desktop_; }
    [[nodiscard]] SimUiThread& ui() { return ui_; }
    [[nodiscard]] SimMessageQueue& queue() { return queue_; }
    [[nodiscard]] SimSessionLocks& locks() { return locks_; }
    [[nodiscard]] SimInternet& internet() { return internet_; }
    [[nodiscard]] SimProtectedStorage& protectedStorage() { return protectedStorage_; }

    [[nodiscard]] const std::filesystem::path& HostRoot() const { return hostRoot_; }
    [[nodiscard]] std::filesystem::path HostPath(const std::string& windowsPath) const {
        return files_.HostPath(windowsPath);
    }
    // Fixture helper: writes a file (creating its folders); throws on failure.
    void MakeFile(const std::string& windowsPath, std::string_view content = {});
    // Fixture helper: creates a folder and its parents; throws on failure.
    void MakeFolder(const std::string& windowsPath);

private:
    std::filesystem::path hostRoot_;
    SimMessageQueue queue_;
    SimFileSystem files_;
    SimProfileFile profiles_;
    SimRegistry registry_;
    SimSystemInfo system_;
    SimDialogs dialogs_;
    SimDesktop desktop_;
    SimUiThread ui_;
    SimSessionLocks locks_;
    SimInternet internet_;
    SimProtectedStorage protectedStorage_;
    Platform platform_;
};

}  // namespace nullvane::platform::sim
