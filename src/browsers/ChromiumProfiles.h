#pragma once
// Where the Chromium browsers keep their profiles. A profile's data lives in
// one folder; its caches live at the same path under Local AppData, which is
// the profile folder itself when the profile already lives there.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::browsers {

struct TChromiumProfile {
    std::string Folder;       // with a trailing "\"
    std::string CacheFolder;  // with a trailing "\"; empty when it is Folder or unknown
};

// The profile folders of a "User Data" folder: "Default" first, then each
// "Profile <digits>" by its number; no other folder, and no link.
[[nodiscard]] std::vector<std::string> ChromiumProfileNames(platform::FileSystem& files, const std::string& userData);

// Chrome's "User Data" folder with a trailing "\", or empty when Local
// AppData is unknown or Chrome keeps nothing there.
[[nodiscard]] std::string ChromeUserDataFolder(platform::Platform& machine);
[[nodiscard]] std::vector<TChromiumProfile> ChromeProfiles(platform::Platform& machine);

// Opera's Chromium profiles: "Opera Stable" and "Opera GX Stable" below
// `appData`\Opera Software, those that exist; the folder is the profile.
[[nodiscard]] std::vector<TChromiumProfile> OperaChromiumProfiles(platform::Platform& machine,
                                                                  const std::string& appData);

// Whether a running browser holds its profile lock: Chrome's "lockfile" in
// "User Data", Opera's in one of its Chromium profiles. A browser running
// without a window is found this way.
[[nodiscard]] bool ChromeLockHeld(platform::Platform& machine);
[[nodiscard]] bool OperaLockHeld(platform::Platform& machine);

}  // namespace nullvane::browsers
