#include "browsers/ChromiumProfiles.h"

#include <algorithm>
#include <cctype>

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"

namespace nullvane::browsers {

using platform::WithTrailingBackslash;

namespace {

constexpr char kProfilePrefix[] = "Profile ";
constexpr char kLockFile[] = "lockfile";
const char* const kOperaProfiles[] = {"Opera Stable", "Opera GX Stable"};

// The digits of a "Profile <digits>" name without their leading zeros, or
// empty when the name is not of that form.
std::string ProfileNumber(const std::string& name) {
    constexpr size_t prefixLength = sizeof kProfilePrefix - 1;
    if (name.size() <= prefixLength || !platform::EqualsIgnoreCase(name.substr(0, prefixLength), kProfilePrefix))
        return {};
    std::string digits = name.substr(prefixLength);
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) return {};
    size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : digits.substr(first);
}

// Numbers of any length compare by value: fewer digits first, then the digits.
bool ByNumber(const std::pair<std::string, std::string>& a, const std::pair<std::string, std::string>& b) {
    if (a.first.size() != b.first.size()) return a.first.size() < b.first.size();
    if (a.first != b.first) return a.first < b.first;
    return a.second < b.second;
}

}  // namespace

std::vector<std::string> ChromiumProfileNames(platform::FileSystem& files, const std::string& userData) {
    std::string defaultName;
    std::vector<std::pair<std::string, std::string>> numbered;  // (number, name)
    for (const std::string& name : removal::Subfolders(files, userData)) {
        if (platform::EqualsIgnoreCase(name, "Default")) {
            defaultName = name;
        } else if (std::string number = ProfileNumber(name); !number.empty()) {
            numbered.emplace_back(number, name);
        }
    }
    std::sort(numbered.begin(), numbered.end(), ByNumber);
    std::vector<std::string> names;
    if (!defaultName.empty()) names.push_back(defaultName);
    for (auto& [number, name] : numbered) names.push_back(name);
    return names;
}

std::string ChromeUserDataFolder(platform::Platform& machine) {
    std::string local = removal::GetLocalAppDataFolder(machine);
    if (local.empty()) return {};
    std::string folder = local + "Google\\Chrome\\User Data\\";
    return machine.files.DirectoryExists(folder) ? folder : std::string();
}

std::vector<TChromiumProfile> ChromeProfiles(platform::Platform& machine) {
    std::vector<TChromiumProfile> profiles;
    std::string userData = ChromeUserDataFolder(machine);
    if (userData.empty()) return profiles;
    for (const std::string& name : ChromiumProfileNames(machine.files, userData))
        profiles.push_back({userData + name + "\\", {}});
    return profiles;
}

std::vector<TChromiumProfile> OperaChromiumProfiles(platform::Platform& machine, const std::string& appData) {
    std::vector<TChromiumProfile> profiles;
    if (appData.empty()) return profiles;
    std::string roaming = WithTrailingBackslash(appData);
    std::string local = removal::GetLocalAppDataFolder(machine);
    for (const char* name : kOperaProfiles) {
        std::string relative = std::string("Opera Software\\") + name + "\\";
        std::string folder = roaming + relative;
        auto attributes = machine.files.GetAttributes(folder);
        if (!attributes || !(*attributes & platform::faDirectory) || (*attributes & platform::faReparsePoint))
            continue;
        TChromiumProfile profile{folder, {}};
        // Roaming and local may be one folder when the user has moved them.
        if (!local.empty() && !platform::SystemEqualsIgnoreCase(platform::Utf8ToUtf16(local + relative),
                                                                platform::Utf8ToUtf16(folder)))
            profile.CacheFolder = local + relative;
        profiles.push_back(std::move(profile));
    }
    return profiles;
}

bool ChromeLockHeld(platform::Platform& machine) {
    std::string userData = ChromeUserDataFolder(machine);
    return !userData.empty() && removal::IsFileLocked(machine.files, userData + kLockFile);
}

bool OperaLockHeld(platform::Platform& machine) {
    // The application data folder is read without ending the browser
    // session: this check runs before any run and changes nothing.
    std::string appData = machine.system.SpecialFolder(platform::csidlAppData);
    for (const TChromiumProfile& profile : OperaChromiumProfiles(machine, appData))
        if (removal::IsFileLocked(machine.files, profile.Folder + kLockFile)) return true;
    return false;
}

}  // namespace nullvane::browsers
