#include "winapp2/Winapp2Detection.h"

#include <array>

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/RegistryRemoval.h"
#include "winapp2/Winapp2Gate.h"
#include "winapp2/Winapp2Folders.h"

namespace nullvane::winapp2 {

namespace {

constexpr std::array<std::pair<const char*, const char*>, 5> kShortRoots{{
    {"HKCU", "HKEY_CURRENT_USER"},
    {"HKLM", "HKEY_LOCAL_MACHINE"},
    {"HKU", "HKEY_USERS"},
    {"HKCR", "HKEY_CLASSES_ROOT"},
    {"HKCC", "HKEY_CURRENT_CONFIG"},
}};

bool KeyExists(platform::Platform& machine, const std::string& key) {
    const auto split = SplitWinapp2Key(key);
    return split && machine.registry.OpenKey(split->first, split->second, platform::RegAccess::Read).Succeeded();
}

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

bool PathExists(platform::Platform& machine, const std::string& detectFile) {
    const TFolderExpansion expansion = ExpandWinapp2Folder(machine, detectFile);
    for (const TWinapp2Folder& folder : expansion.Folders) {
        const size_t slash = folder.Path.find_last_of('\\');
        if (slash == std::string::npos) continue;
        // A wildcard stands only in the last name, which one listing answers.
        if (HasWildcard(std::string_view(folder.Path).substr(0, slash))) continue;
        if (!HasWildcard(std::string_view(folder.Path).substr(slash + 1))) {
            if (machine.files.Exists(folder.Path)) return true;
            continue;
        }
        const std::string parent = folder.Path.substr(0, slash);
        const std::string mask = folder.Path.substr(slash + 1);
        if (!removal::FilesIn(machine.files, parent, mask).empty()) return true;
        for (const std::string& name : removal::Subfolders(machine.files, parent))
            if (MatchesWildcard(name, mask)) return true;
    }
    return false;
}

}  // namespace

std::optional<std::pair<platform::RegRoot, std::string>> SplitWinapp2Key(const std::string& key) {
    const size_t slash = key.find('\\');
    std::string rootText = platform::UpperAscii(key.substr(0, slash));
    for (const auto& [shortName, longName] : kShortRoots)
        if (rootText == shortName) rootText = longName;
    const auto root = removal::RootKeyFromName(rootText);
    if (!root) return std::nullopt;
    return std::pair{*root, slash == std::string::npos ? std::string() : key.substr(slash + 1)};
}

bool IsDetected(platform::Platform& machine, const stores::TWinapp2Entry& entry) {
    if (entry.Detects.empty() && entry.DetectFiles.empty()) return true;
    for (const std::string& key : entry.Detects)
        if (KeyExists(machine, key)) return true;
    for (const std::string& path : entry.DetectFiles)
        if (PathExists(machine, path)) return true;
    return false;
}

}  // namespace nullvane::winapp2
