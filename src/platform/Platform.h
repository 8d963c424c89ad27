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

}  // namespace nullvane::platform
