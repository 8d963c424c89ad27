#include "browsers/GeckoProfiles.h"

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "removal/NormalFolderPath.h"

namespace nullvane::browsers {

namespace {

bool SamePath(const std::string& a, const std::string& b) {
    return platform::SystemEqualsIgnoreCase(platform::Utf8ToUtf16(a), platform::Utf8ToUtf16(b));
}

std::string Trimmed(const std::string& text) {
    const char* blanks = " \t\r";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool IsProfileSection(const std::string& name) {
    if (name.size() <= 7 || !platform::EqualsIgnoreCase(name.substr(0, 7), "Profile")) return false;
    for (size_t i = 7; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

struct TIniProfile {
    std::string Path;
    bool IsRelative = false;
};

// The [ProfileN] sections of profiles.ini. The file is UTF-8 (Firefox
// writes it so), a byte order mark allowed; keys are matched ignoring case.
std::vector<TIniProfile> ReadProfilesIni(const std::string& text) {
    std::vector<TIniProfile> profiles;
    bool inProfile = false;
    TIniProfile current;
    auto finish = [&] {
        if (inProfile && !current.Path.empty()) profiles.push_back(current);
        inProfile = false;
        current = {};
    };
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            finish();
            size_t close = line.find(']');
            inProfile = close != std::string::npos && IsProfileSection(line.substr(1, close - 1));
            continue;
        }
        size_t equals = line.find('=');
        if (!inProfile || equals == std::string::npos) continue;
        std::string key = Trimmed(line.substr(0, equals));
        std::string value = Trimmed(line.substr(equals + 1));
        if (platform::EqualsIgnoreCase(key, "Path")) current.Path = value;
        if (platform::EqualsIgnoreCase(key, "IsRelative")) current.IsRelative = value == "1";
    }
    finish();
    return profiles;
}

bool IsRealFolder(platform::FileSystem& files, const std::string& path) {
    auto attributes = files.GetAttributes(path);
    return attributes && (*attributes & platform::faDirectory) && !(*attributes & platform::faReparsePoint);
}

// True when `folder` lies below `parent` as the system resolves both.
bool LiesBelow(platform::FileSystem& files, const std::string& folder, const std::string& parent) {
    std::string resolvedParent = files.ResolvedName(parent);
    std::string resolved = files.ResolvedName(folder);
    if (resolvedParent.empty() || resolved.empty()) {
        resolvedParent = parent;
        resolved = folder;
    }
    return resolved.size() > resolvedParent.size() + 1 && resolved[resolvedParent.size()] == '\\' &&
           SamePath(resolved.substr(0, resolvedParent.size()), resolvedParent);
}

}  // namespace

void FindGeckoSourceProfiles(platform::Platform& machine, const std::string& base, const std::string& cacheBase,
                             TGeckoProfiles& found, TProfileNotes* notes) {
    platform::FileSystem& files = machine.files;
    if (base.empty()) return;
    TProfileSet met(files);
    TProfileSet metLocal(files);
    for (const TGeckoProfile& profile : found.Profiles) {
        if (!profile.Folder.empty()) (void)met.Insert(profile.Folder);
        if (!profile.LocalFolder.empty()) (void)metLocal.Insert(profile.LocalFolder);
    }
    auto add = [&](TGeckoProfile profile) {
        if (!IsRealFolder(files, profile.Folder) || !met.Insert(profile.Folder)) return;
        if (!profile.LocalFolder.empty() && (!IsRealFolder(files, profile.LocalFolder) || !metLocal.Insert(profile.LocalFolder)))
            profile.LocalFolder.clear();
        found.Profiles.push_back(std::move(profile));
    };

    // A source reached through another's folder adds no Profiles folder twice.
    TProfileSet metProfilesFolders(files);
    for (const std::string& folder : found.ProfilesFolders) (void)metProfilesFolders.Insert(folder);
    std::string roaming = IsRealFolder(files, base + "\\Profiles") ? base + "\\Profiles" : std::string();
    if (!roaming.empty() && !metProfilesFolders.Insert(roaming)) roaming.clear();
    if (!roaming.empty()) found.ProfilesFolders.push_back(roaming);
    const std::string local = cacheBase.empty() ? std::string() : cacheBase + "\\Profiles";
    if (!roaming.empty())
        for (const std::string& name : removal::Subfolders(files, roaming))
            add({roaming + "\\" + name, local.empty() ? std::string() : local + "\\" + name, true});

    auto ini = files.ReadAll(base + "\\profiles.ini");
    for (const TIniProfile& entry : ini ? ReadProfilesIni(*ini) : std::vector<TIniProfile>{}) {
        TGeckoProfile profile;
        // One spelling ("/" is a separator too); a path that climbs out with
        // ".." or is no absolute folder gives nothing.
        auto folder = removal::NormalFolderPath(entry.IsRelative ? base + "\\" + entry.Path : entry.Path);
        if (!folder || !files.DirectoryExists(*folder)) continue;
        if (std::string fault = ProfileFolderFault(machine, *folder, bfGecko); !fault.empty()) {
            if (notes) notes->push_back(SkippedProfileNote(*folder, fault));
            continue;
        }
        profile.Folder = *folder;
        // An absolute profile keeps its caches in its own folder.
        if (entry.IsRelative && !cacheBase.empty())
            profile.LocalFolder = removal::NormalFolderPath(cacheBase + "\\" + entry.Path).value_or("");
        // One below the Profiles folder is met by the recursive search.
        profile.InProfilesFolder = !roaming.empty() && LiesBelow(files, profile.Folder, roaming);
        add(std::move(profile));
    }

    if (!local.empty() && IsRealFolder(files, local))
        for (const std::string& name : removal::Subfolders(files, local)) {
            std::string folder = local + "\\" + name;
            if (metLocal.Insert(folder)) found.Profiles.push_back({{}, folder, false});
        }
}

TGeckoProfiles FindGeckoProfiles(platform::Platform& machine, const TBrowser& browser, TProfileNotes* notes) {
    TGeckoProfiles found;
    if (browser.Family != bfGecko) return found;
    for (const TBrowserSource& source : browser.Sources)
        if (source.Path)
            FindGeckoSourceProfiles(machine, SourceFolder(machine, source), SourceCacheFolder(machine, source), found,
                                    notes);
    return found;
}

bool GeckoProfileLocked(platform::Platform& machine, const TBrowser& browser) {
    for (const TGeckoProfile& profile : FindGeckoProfiles(machine, browser).Profiles)
        if (!profile.Folder.empty() && removal::IsFileLocked(machine.files, profile.Folder + "\\parent.lock"))
            return true;
    return false;
}

}  // namespace nullvane::browsers
