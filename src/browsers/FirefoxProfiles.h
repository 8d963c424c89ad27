#pragma once
// Where the Firefox profiles of the user are.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::browsers {

struct TFirefoxProfile {
    // The profile folder (no trailing "\"); empty for a folder found only
    // among the local profiles, which holds caches alone.
    std::string Folder;
    // Its cache counterpart: the same path under Local AppData for a
    // relative profile; empty if that does not exist, and for an absolute
    // profile, which keeps its caches in its own folder.
    std::string LocalFolder;
    // Found in the Profiles folder, which the items search recursively; a
    // profile elsewhere is searched at its top level and in named subfolders.
    bool InProfilesFolder = false;
};

// appData\Mozilla\Firefox\Profiles if that folder exists, else empty.
[[nodiscard]] std::string FirefoxProfilesFolder(platform::Platform& machine, const std::string& appData);
// localAppData\Mozilla\Firefox\Profiles if localAppData is given and that
// folder exists, else empty.
[[nodiscard]] std::string FirefoxLocalProfilesFolder(platform::Platform& machine, const std::string& localAppData);

// Every profile once (ignoring case): the subfolders of the Profiles folder,
// each [ProfileN] of profiles.ini (read as UTF-8; Path relative to
// appData\Mozilla\Firefox when IsRelative=1, "/" taken as "\"), then the
// subfolders of the local Profiles folder not yet met. Linked folders are
// skipped. appData and localAppData end in "\" or are empty.
[[nodiscard]] std::vector<TFirefoxProfile> FindFirefoxProfiles(platform::Platform& machine, const std::string& appData,
                                                               const std::string& localAppData);

// True while a Firefox holds a profile: its "parent.lock" cannot be opened
// alone (IsFileLocked). Firefox may run without a window.
[[nodiscard]] bool FirefoxProfileLocked(platform::Platform& machine);

}  // namespace nullvane::browsers
