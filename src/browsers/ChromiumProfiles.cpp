#include "browsers/ChromiumProfiles.h"

#include <algorithm>
#include <cctype>

#include <nlohmann/json.hpp>

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"

namespace nullvane::browsers {

using platform::WithTrailingBackslash;

namespace {

constexpr char kProfilePrefix[] = "Profile ";
constexpr char kLockFile[] = "lockfile";
constexpr char kLocalState[] = "Local State";
// Far above any real Local State; a larger file is not read.
constexpr uint64_t kLocalStateLimit = 64ull << 20;
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

// A name Local State may give a profile: one folder's name, nothing that
// climbs, names a drive or a device, or ends as Windows would trim it.
bool IsPlainFolderName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.size() > 255) return false;
    if (name.find_first_of("\\/:*?\"<>|") != std::string::npos) return false;
    if (std::any_of(name.begin(), name.end(), [](unsigned char c) { return c < 0x20; })) return false;
    return name.back() != '.' && name.back() != ' ';
}

}  // namespace

std::vector<std::string> LocalStateProfileNames(const std::string& localState) {
    std::vector<std::string> names;
    // Another program's file: parsed without exceptions, anything unexpected gives nothing.
    nlohmann::json state = nlohmann::json::parse(localState, nullptr, false);
    if (!state.is_object()) return names;
    auto profile = state.find("profile");
    if (profile == state.end() || !profile->is_object()) return names;
    auto cache = profile->find("info_cache");
    if (cache == profile->end() || !cache->is_object()) return names;
    for (const auto& [name, value] : cache->items()) names.push_back(name);
    return names;
}

std::vector<std::string> ChromiumProfileNames(platform::Platform& machine, const std::string& userData,
                                              TProfileNotes* notes) {
    platform::FileSystem& files = machine.files;
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

    const std::string localState = WithTrailingBackslash(userData) + kLocalState;
    auto size = removal::FileSizeOf(files, localState);
    if (!size || *size > kLocalStateLimit) return names;
    auto text = files.ReadAll(localState);
    if (!text) return names;
    for (const std::string& name : LocalStateProfileNames(*text)) {
        if (!IsPlainFolderName(name) || platform::EqualsIgnoreCase(name, "System Profile") ||
            platform::EqualsIgnoreCase(name, "Guest Profile"))
            continue;
        if (std::any_of(names.begin(), names.end(), [&](const std::string& known) {
                return platform::SystemEqualsIgnoreCase(platform::Utf8ToUtf16(known), platform::Utf8ToUtf16(name));
            }))
            continue;
        std::string folder = WithTrailingBackslash(userData) + name;
        if (!files.DirectoryExists(folder)) continue;
        if (std::string fault = ProfileFolderFault(machine, folder, bfChromium); !fault.empty()) {
            if (notes) notes->push_back(SkippedProfileNote(folder, fault));
            continue;
        }
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> ChromiumUserDataFolders(platform::Platform& machine, const TBrowser& browser) {
    std::vector<std::string> folders;
    if (browser.Family != bfChromium) return folders;
    for (const TBrowserSource& source : browser.Sources) {
        std::string base = SourceFolder(machine, source);
        if (base.empty()) continue;
        std::string folder = base + "\\User Data";
        auto attributes = machine.files.GetAttributes(folder);
        if (attributes && (*attributes & platform::faDirectory) && !(*attributes & platform::faReparsePoint))
            folders.push_back(folder + "\\");
    }
    return folders;
}

std::vector<TChromiumProfile> ChromiumProfiles(platform::Platform& machine, const TBrowser& browser,
                                               TProfileNotes* notes) {
    std::vector<TChromiumProfile> profiles;
    TProfileSet met(machine.files);
    for (const std::string& userData : ChromiumUserDataFolders(machine, browser))
        for (const std::string& name : ChromiumProfileNames(machine, userData, notes))
            if (met.Insert(userData + name)) profiles.push_back({userData + name + "\\", {}});
    return profiles;
}

std::vector<TChromiumProfile> ChromeProfiles(platform::Platform& machine) {
    return ChromiumProfiles(machine, GoogleChrome());
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

bool ChromiumLockHeld(platform::Platform& machine, const TBrowser& browser) {
    for (const std::string& userData : ChromiumUserDataFolders(machine, browser))
        if (removal::IsFileLocked(machine.files, userData + kLockFile)) return true;
    return false;
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
