#pragma once
// The real machine: one of each Windows service, bundled as the program
// takes them. Create it on the window thread (its synchronised calls run
// there). Include it before <windows.h>, or undefine ShowMessage, PostToWindow
// and DriveTypeOf, so the services' operation names stay as declared.
#include "platform/Platform.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Internet.h"
#include "platform/win32/Win32ProfileFile.h"
#include "platform/win32/Win32ProtectedStorage.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SessionLocks.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32UiThread.h"

namespace nullvane::platform::win32 {

class Win32Machine {
public:
    Win32Machine() = default;
    Win32Machine(const Win32Machine&) = delete;
    Win32Machine& operator=(const Win32Machine&) = delete;

    [[nodiscard]] Platform& Machine() { return platform_; }

    [[nodiscard]] Win32FileSystem& files() { return files_; }
    [[nodiscard]] Win32ProfileFile& profiles() { return profiles_; }
    [[nodiscard]] Win32Registry& registry() { return registry_; }
    [[nodiscard]] Win32SystemInfo& system() { return system_; }
    [[nodiscard]] Win32Dialogs& dialogs() { return dialogs_; }
    [[nodiscard]] Win32Desktop& desktop() { return desktop_; }
    [[nodiscard]] Win32UiThread& ui() { return ui_; }
    [[nodiscard]] Win32SessionLocks& locks() { return locks_; }
    [[nodiscard]] Win32Internet& internet() { return internet_; }
    [[nodiscard]] Win32ProtectedStorage& protectedStorage() { return protectedStorage_; }

private:
    Win32FileSystem files_;
    Win32ProfileFile profiles_;
    Win32Registry registry_;
    Win32SystemInfo system_;
    Win32Dialogs dialogs_;
    Win32Desktop desktop_;
    Win32UiThread ui_;
    Win32SessionLocks locks_;
    Win32Internet internet_;
    Win32ProtectedStorage protectedStorage_;
    Platform platform_{files_, registry_, profiles_, system_, dialogs_, desktop_, ui_, locks_, internet_, protectedStorage_};
};

}  // namespace nullvane::platform::win32
