#pragma once
// Where the Chromium browsers keep their profiles. A profile's data lives in
// one folder; its caches live at the same path under Local AppData, which is
// the profile folder itself when the profile already lives there.
#include <string>
#include <vector>

#include "browsers/BrowserTable.h"
#include "browsers/ProfileGuard.h"
#include "platform/Platform.h"

namespace nullvane::browsers {

struct TChromiumProfile {
    std::string Folder;       // with a trailing "\"
    std::string CacheFolder;  // with a trailing "\"; empty when it is Folder or unknown
};

// The profile folders of a "User Data" folder: "Default" first, then each
// "Profile <digits>" by its number, then each further folder Local State's
// profile.info_cache names (one folder name, never "System Profile" or
// "Guest Profile", which the browser empties itself) that passes
// ProfileFolderFault; no link. Folders skipped for a fault add a line to
// `notes` when it is given.
[[nodiscard]] std::vector<std::string> ChromiumProfileNames(platform::Platform& machine, const std::string& userData,
                                                            TProfileNotes* notes = nullptr);
// The names Local State's profile.info_cache lists, as written; none when
// the text is no JSON object or has no such member.
[[nodiscard]] std::vector<std::string> LocalStateProfileNames(const std::string& localState);

// The browser's "User Data" folders that exist (not links), one per
// channel, with a trailing "\".
[[nodiscard]] std::vector<std::string> ChromiumUserDataFolders(platform::Platform& machine, const TBrowser& browser);
// Every profile of every channel of a Chromium-family browser, each once.
[[nodiscard]] std::vector<TChromiumProfile> ChromiumProfiles(platform::Platform& machine, const TBrowser& browser,
                                                             TProfileNotes* notes = nullptr);
// Chrome's, as ChromiumProfiles gives them.
[[nodiscard]] std::vector<TChromiumProfile> ChromeProfiles(platform::Platform& machine);

// Opera's Chromium profiles: "Opera Stable" and "Opera GX Stable" below
// `appData`\Opera Software, those that exist; the folder is the profile.
[[nodiscard]] std::vector<TChromiumProfile> OperaChromiumProfiles(platform::Platform& machine,
                                                                  const std::string& appData);

// Whether a running browser holds its profile lock: "lockfile" in one of the
// browser's "User Data" folders, Opera's in one of its Chromium profiles. A
// browser running without a window is found this way.
[[nodiscard]] bool ChromiumLockHeld(platform::Platform& machine, const TBrowser& browser);
[[nodiscard]] bool OperaLockHeld(platform::Platform& machine);

}  // namespace nullvane::browsers
