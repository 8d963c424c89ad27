#pragma once
// One of each machine service, handed explicitly to the run, the windows and the CLI.
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Internet.h"
#include "platform/ProfileFile.h"
#include "platform/ProtectedStorage.h"
#include "platform/Registry.h"
#include "platform/SessionLocks.h"
#include "platform/SystemInfo.h"
#include "platform/UiThread.h"

namespace nullvane::platform {

struct Platform {
    FileSystem& files;
    Registry& registry;
    ProfileFile& profiles;
    SystemInfo& system;
    Dialogs& dialogs;
    Desktop& desktop;
    UiThread& ui;
    SessionLocks& locks;
    Internet& internet;
    ProtectedStorage& protectedStorage;
};

// The same machine whose questions go to `dialogs` instead.
[[nodiscard]] inline Platform WithDialogs(const Platform& machine, Dialogs& dialogs) {
    return Platform{machine.files,   machine.registry, machine.profiles, machine.system,   dialogs,
                    machine.desktop, machine.ui,       machine.locks,    machine.internet, machine.protectedStorage};
}

}  // namespace nullvane::platform
