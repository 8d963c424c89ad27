#pragma once
// Where the browsers of the Gecko family (Firefox and its forks) keep their
// profiles: each source folder holds profiles.ini and a "Profiles" folder.
#include <string>
#include <vector>

#include "browsers/BrowserTable.h"
#include "browsers/ProfileGuard.h"
#include "platform/Platform.h"

namespace nullvane::browsers {

struct TGeckoProfile {
    // The profile folder (no trailing "\"); empty for a folder found only
    // among the local profiles, which holds caches alone.
    std::string Folder;
    // Its cache counterpart: the same path under the cache folder for a
    // relative profile; empty if that does not exist, and for an absolute
    // profile, which keeps its caches in its own folder.
    std::string LocalFolder;
    // Found in a Profiles folder, which the items search recursively; a
    // profile elsewhere is searched at its top level and in named subfolders.
    bool InProfilesFolder = false;
};

struct TGeckoProfiles {
    // The "Profiles" folders that exist (no trailing "\").
    std::vector<std::string> ProfilesFolders;
    // Every profile once, told apart by resolved name.
    std::vector<TGeckoProfile> Profiles;
};

// The profiles of one source: the subfolders of base\Profiles, each
// [ProfileN] of base\profiles.ini (read as UTF-8; Path relative to base
// when IsRelative=1, "/" taken as "\") that passes ProfileFolderFault, then
// the subfolders of cacheBase\Profiles not yet met. Linked folders are
// skipped. `base` and `cacheBase` have no trailing "\"; cacheBase may be empty.
void FindGeckoSourceProfiles(platform::Platform& machine, const std::string& base, const std::string& cacheBase,
                             TGeckoProfiles& found, TProfileNotes* notes = nullptr);
// Every source of a Gecko-family browser.
[[nodiscard]] TGeckoProfiles FindGeckoProfiles(platform::Platform& machine, const TBrowser& browser,
                                               TProfileNotes* notes = nullptr);

// True while the browser holds a profile: its "parent.lock" cannot be
// opened alone (IsFileLocked). The browser may run without a window.
[[nodiscard]] bool GeckoProfileLocked(platform::Platform& machine, const TBrowser& browser);

}  // namespace nullvane::browsers
