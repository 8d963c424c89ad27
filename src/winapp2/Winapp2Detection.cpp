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
    return TWinapp2Detector(machine).IsDetected(entry);
}

bool TWinapp2Detector::IsDetected(const stores::TWinapp2Entry& entry) {
    if (entry.Detects.empty() && entry.DetectFiles.empty()) return true;
    for (const std::string& key : entry.Detects)
        if (KeyExists(machine_, key)) return true;
    for (const std::string& path : entry.DetectFiles)
        if (PathExists(path)) return true;
    return false;
}

const std::vector<std::string>& TWinapp2Detector::Folders(const std::string& variable) {
    const std::string key = platform::UpperAscii(variable);
    auto found = folders_.find(key);
    if (found == folders_.end()) found = folders_.emplace(key, VariableFolders(machine_, variable)).first;
    return found->second;
}

const std::set<std::string>& TWinapp2Detector::NamesIn(const std::string& folder) {
    auto found = names_.find(folder);
    if (found == names_.end()) {
        std::set<std::string> names;
        for (const std::string& sub : removal::Subfolders(machine_.files, folder)) names.insert(platform::UpperAscii(sub));
        for (const platform::FileEntry& file : removal::FilesIn(machine_.files, folder))
            names.insert(platform::UpperAscii(file.name));
        found = names_.emplace(folder, std::move(names)).first;
    }
    return found->second;
}

bool TWinapp2Detector::HoldsName(const std::string& folder, const std::string& name) {
    return NamesIn(folder).count(platform::UpperAscii(name)) > 0;
}

bool TWinapp2Detector::PathExists(const std::string& detectFile) {
    // "%Variable%\First\...": when First is no wildcard and no folder of the
    // variable holds it, nothing below can exist.
    const size_t close = detectFile.size() > 1 && detectFile[0] == '%' ? detectFile.find('%', 1) : std::string::npos;
    if (close != std::string::npos && close + 1 < detectFile.size() && detectFile[close + 1] == '\\') {
        const std::string variable = detectFile.substr(1, close - 1);
        const size_t end = detectFile.find('\\', close + 2);
        const std::string first = detectFile.substr(close + 2, end == std::string::npos ? std::string::npos : end - close - 2);
        if (IsKnownVariable(variable) && !first.empty() && !HasWildcard(first)) {
            bool anywhere = false;
            for (const std::string& folder : Folders(variable)) anywhere = anywhere || HoldsName(folder, first);
            if (!anywhere) return false;
        }
    }
    // The path as written; a wildcard stands only in the last name, which
    // the folder's listing answers (listed once, however many paths ask).
    const auto folders = [this](std::string_view variable) { return Folders(std::string(variable)); };
    for (const TWinapp2Folder& folder : ExpandWinapp2Folder(detectFile, folders).Folders) {
        const size_t slash = folder.Path.find_last_of('\\');
        if (slash == std::string::npos || HasWildcard(std::string_view(folder.Path).substr(0, slash))) continue;
        const std::string mask = folder.Path.substr(slash + 1);
        if (!HasWildcard(mask)) {
            if (machine_.files.Exists(folder.Path)) return true;
            continue;
        }
        for (const std::string& name : NamesIn(folder.Path.substr(0, slash)))
            if (platform::MatchesMask(name, mask)) return true;
    }
    return false;
}

}  // namespace nullvane::winapp2
