#include "customlists/CustomList.h"

#include "customlists/RunDataSection.h"
#include "platform/Text.h"

namespace nullvane::customlists {

namespace {
constexpr size_t kKeyNamesBuffer = 16384;
constexpr size_t kValueBuffer = 2048;
}  // namespace

std::string CustomListPath(platform::Platform& machine) {
    return platform::WithTrailingBackslash(machine.system.ProgramFolder()) + kCustomListFile;
}

std::vector<TCustomListLine> ReadCustomList(platform::Platform& machine) {
    const std::string file = CustomListPath(machine);
    std::vector<TCustomListLine> lines;
    for (const std::string& key : machine.profiles.KeyNames(file, kCustomListSection, kKeyNamesBuffer)) {
        std::string value = machine.profiles.GetString(file, kCustomListSection, key, "", kValueBuffer);
        const std::string line = key + "=" + value;
        if (line.find("DelRegValue") == std::string::npos && line.find("DelFile") == std::string::npos) continue;
        lines.push_back({key, std::move(value)});
    }
    return lines;
}

bool WriteCustomList(platform::Platform& machine, const std::vector<std::string>& entries) {
    const std::string file = CustomListPath(machine);
    for (const std::string& section : machine.profiles.SectionNames(file)) {
        // Lines left from the old list would still be run: a section that
        // cannot be erased is a failure to write.
        if (platform::EqualsIgnoreCase(section, kCustomListSection)) {
            if (!machine.profiles.EraseSection(file, kCustomListSection)) return false;
            break;
        }
    }
    int registry = 1;
    int files = 1;
    for (const std::string& entry : entries) {
        const std::string key = IsRegistryEntry(entry) ? "DelRegValue" + std::to_string(registry++)
                                                       : "DelFile" + std::to_string(files++);
        if (!machine.profiles.WriteString(file, kCustomListSection, key, entry)) return false;
    }
    return true;
}

bool IsRegistryEntry(const std::string& entry) { return platform::UpperAscii(entry).rfind("HKEY_", 0) == 0; }

bool RegistryEntryAllowed(const std::string& key, TRegistryEntryKind kind, const std::string& valueName) {
    if (platform::UpperAscii(key).find("HKEY_") == std::string::npos) return false;
    if (key.find(',') != std::string::npos) return false;
    return kind != TRegistryEntryKind::DeleteValue || !valueName.empty();
}

std::string RegistryEntryText(const std::string& key, TRegistryEntryKind kind, const std::string& valueName) {
    switch (kind) {
    case TRegistryEntryKind::DeleteKey:
        return key;
    case TRegistryEntryKind::DeleteValuesUnderKey:
        return key + ",";
    case TRegistryEntryKind::DeleteValue:
        return key + "," + valueName;
    }
    return key;
}

TRegistryEntryParts SplitRegistryEntry(const std::string& entry) {
    const auto comma = entry.find(',');
    if (comma == std::string::npos) return {entry, TRegistryEntryKind::DeleteKey, {}};
    std::string valueName = entry.substr(comma + 1);
    const auto kind = valueName.empty() ? TRegistryEntryKind::DeleteValuesUnderKey : TRegistryEntryKind::DeleteValue;
    return {entry.substr(0, comma), kind, std::move(valueName)};
}

bool FileEntryAllowed(platform::Platform& machine, const std::string& folder, TFileEntryKind kind,
                      const std::string& fileName, const std::string& mask) {
    if (folder.empty() || folder.find(',') != std::string::npos) return false;
    if (!machine.files.DirectoryExists(folder)) return false;
    switch (kind) {
    case TFileEntryKind::SingleFile:
        return !fileName.empty();
    case TFileEntryKind::WholeFolder:
        return true;
    case TFileEntryKind::FilesByMask:
        return mask.size() > 2;
    }
    return false;
}

std::string FileEntryText(const std::string& folder, TFileEntryKind kind, const std::string& fileName,
                          const std::string& mask) {
    switch (kind) {
    case TFileEntryKind::SingleFile:
        return folder + "," + fileName;
    case TFileEntryKind::WholeFolder:
        return folder;
    case TFileEntryKind::FilesByMask:
        return folder + "," + mask;
    }
    return folder;
}

}  // namespace nullvane::customlists
