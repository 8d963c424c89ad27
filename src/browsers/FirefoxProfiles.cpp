#include "browsers/FirefoxProfiles.h"

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "removal/NormalFolderPath.h"

namespace nullvane::browsers {

namespace {

constexpr char kFirefoxFolder[] = "Mozilla\\Firefox";

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

// The direct subfolders of a profiles folder, links left out.
std::vector<std::string> Subfolders(platform::FileSystem& files, const std::string& folder) {
    if (folder.empty()) return {};
    return removal::Subfolders(files, folder);
}

}  // namespace

std::string FirefoxProfilesFolder(platform::Platform& machine, const std::string& appData) {
    if (appData.empty()) return {};
    std::string folder = appData + kFirefoxFolder + "\\Profiles";
    return machine.files.DirectoryExists(folder) ? folder : std::string();
}

std::string FirefoxLocalProfilesFolder(platform::Platform& machine, const std::string& localAppData) {
    return FirefoxProfilesFolder(machine, localAppData);
}

std::vector<TFirefoxProfile> FindFirefoxProfiles(platform::Platform& machine, const std::string& appData,
                                                 const std::string& localAppData) {
    platform::FileSystem& files = machine.files;
    std::vector<TFirefoxProfile> profiles;
    auto known = [&](const std::string& folder, std::string TFirefoxProfile::*field) {
        for (const TFirefoxProfile& profile : profiles)
            if (!(profile.*field).empty() && SamePath(profile.*field, folder)) return true;
        return false;
    };
    auto add = [&](TFirefoxProfile profile) {
        if (!IsRealFolder(files, profile.Folder) || known(profile.Folder, &TFirefoxProfile::Folder)) return;
        if (!profile.LocalFolder.empty() && !IsRealFolder(files, profile.LocalFolder)) profile.LocalFolder.clear();
        profiles.push_back(std::move(profile));
    };

    const std::string roaming = FirefoxProfilesFolder(machine, appData);
    const std::string local = localAppData.empty() ? std::string() : localAppData + kFirefoxFolder + "\\Profiles";
    for (const std::string& name : Subfolders(files, roaming))
        add({roaming + "\\" + name, local.empty() ? std::string() : local + "\\" + name, true});

    if (!appData.empty()) {
        auto ini = files.ReadAll(appData + kFirefoxFolder + "\\profiles.ini");
        for (const TIniProfile& entry : ini ? ReadProfilesIni(*ini) : std::vector<TIniProfile>{}) {
            const std::string& path = entry.Path;
            TFirefoxProfile profile;
            // One spelling ("/" is a separator too); a path that climbs out
            // with ".." or is no absolute folder gives nothing.
            if (entry.IsRelative) {
                auto folder = removal::NormalFolderPath(appData + kFirefoxFolder + "\\" + path);
                if (!folder) continue;
                profile.Folder = *folder;
                if (!localAppData.empty())
                    profile.LocalFolder = removal::NormalFolderPath(localAppData + kFirefoxFolder + "\\" + path).value_or("");
            } else {
                auto folder = removal::NormalFolderPath(path);
                if (!folder) continue;
                profile.Folder = *folder;  // its caches are in it too
            }
            // One below the Profiles folder is met by the recursive search.
            profile.InProfilesFolder = !roaming.empty() && profile.Folder.size() > roaming.size() &&
                                       profile.Folder[roaming.size()] == '\\' &&
                                       SamePath(profile.Folder.substr(0, roaming.size()), roaming);
            add(std::move(profile));
        }
    }

    const std::string localProfiles = FirefoxLocalProfilesFolder(machine, localAppData);
    for (const std::string& name : Subfolders(files, localProfiles)) {
        std::string folder = localProfiles + "\\" + name;
        if (!known(folder, &TFirefoxProfile::LocalFolder)) profiles.push_back({{}, folder, false});
    }
    return profiles;
}

bool FirefoxProfileLocked(platform::Platform& machine) {
    // The folder asked directly: the cleaners' lookup also ends the browser
    // session, which a check before the run must not do.
    std::string appData = platform::WithTrailingBackslash(machine.system.SpecialFolder(platform::csidlAppData));
    for (const TFirefoxProfile& profile : FindFirefoxProfiles(machine, appData, removal::GetLocalAppDataFolder(machine)))
        if (!profile.Folder.empty() && removal::IsFileLocked(machine.files, profile.Folder + "\\parent.lock")) return true;
    return false;
}

}  // namespace nullvane::browsers
