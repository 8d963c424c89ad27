#pragma once
// What a profile folder named by another program's data must be before a
// cleaner uses it, and the set that keeps each profile once.
#include <string>
#include <vector>

#include "browsers/BrowserTable.h"
#include "platform/Platform.h"

namespace nullvane::browsers {

// Lines a profile lookup gives for the folders it skipped, for the run's log.
using TProfileNotes = std::vector<std::string>;

// Why a profile folder named in profiles.ini or Local State is not used, or
// empty when it may be: a protected folder (removal::ProtectedFolderReason),
// a link on its way from the drive root, or no file a profile of the family
// holds (prefs.js, times.json or places.sqlite; Preferences).
[[nodiscard]] std::string ProfileFolderFault(platform::Platform& machine, const std::string& folder,
                                             TBrowserFamily family);
// The log line for a skipped profile folder.
[[nodiscard]] std::string SkippedProfileNote(const std::string& folder, const std::string& fault);

// The profiles met so far, told apart by the names the system resolves them
// to, so that a profile reached under two names (a linked parent, another
// case, an 8.3 name) is taken once.
class TProfileSet {
public:
    explicit TProfileSet(platform::FileSystem& files) : files_(files) {}
    // True the first time the folder is met.
    [[nodiscard]] bool Insert(const std::string& folder);

private:
    platform::FileSystem& files_;
    std::vector<std::u16string> resolved_;
};

}  // namespace nullvane::browsers
