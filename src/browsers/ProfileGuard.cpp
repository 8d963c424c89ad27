#include "browsers/ProfileGuard.h"

#include <algorithm>

#include "platform/Text.h"
#include "removal/ProtectedFolders.h"

namespace nullvane::browsers {

namespace {

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

}  // namespace

std::string ProfileFolderFault(platform::Platform& machine, const std::string& folder, TBrowserFamily family) {
    if (auto reason = removal::ProtectedFolderReason(machine, folder)) return *reason;
    if (removal::HasLinkOnTheWay(machine.files, folder)) return "a link on its way";
    const std::string base = platform::WithTrailingBackslash(folder);
    if (family == bfGecko) {
        for (const char* marker : {"prefs.js", "times.json", "places.sqlite"})
            if (machine.files.Exists(base + marker)) return {};
        return "no prefs.js, times.json or places.sqlite in it";
    }
    return machine.files.Exists(base + "Preferences") ? std::string() : std::string("no Preferences in it");
}

std::string SkippedProfileNote(const std::string& folder, const std::string& fault) {
    return "Profile folder skipped (" + fault + "): " + folder;
}

bool TProfileSet::Insert(const std::string& folder) {
    std::string resolved = files_.ResolvedName(WithoutTrailingBackslash(folder));
    // Without a resolved name the spelling itself is compared.
    std::u16string key = platform::Utf8ToUtf16(resolved.empty() ? WithoutTrailingBackslash(folder) : resolved);
    for (const std::u16string& known : resolved_)
        if (platform::SystemEqualsIgnoreCase(known, key)) return false;
    resolved_.push_back(std::move(key));
    return true;
}

}  // namespace nullvane::browsers
