#pragma once
// The one custom list, "<New List>" of Clist.dat in the program's folder, as
// its editor and nullvane-cli read and write it, and the rules of its entries.
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::customlists {

inline constexpr char kCustomListSection[] = "<New List>";

struct TCustomListLine {
    std::string Key;
    std::string Value;
};

// Clist.dat beside the program.
[[nodiscard]] std::string CustomListPath(platform::Platform& machine);
// The section's lines in file order, only those the runner acts on (key
// and value holding "DelRegValue" or "DelFile"): a hand-written note saved
// back would otherwise become a deletion. Nothing for a missing file.
[[nodiscard]] std::vector<TCustomListLine> ReadCustomList(platform::Platform& machine);
// Erases the section and writes the entries in order: "DelRegValue" + n for
// registry entries, "DelFile" + n for the others, n counted per kind from 1.
// False if a line could not be written (the section may be partly written).
[[nodiscard]] bool WriteCustomList(platform::Platform& machine, const std::vector<std::string>& entries);

// An entry is a registry entry when, upper-cased, it begins with "HKEY_".
[[nodiscard]] bool IsRegistryEntry(const std::string& entry);

enum class TRegistryEntryKind { DeleteKey, DeleteValuesUnderKey, DeleteValue };
// OK for a registry entry: the key holds "HKEY_" (any case) and no "," (the
// runner splits an entry at its first ","), and a value to delete is named.
[[nodiscard]] bool RegistryEntryAllowed(const std::string& key, TRegistryEntryKind kind, const std::string& valueName);
[[nodiscard]] std::string RegistryEntryText(const std::string& key, TRegistryEntryKind kind,
                                            const std::string& valueName);
struct TRegistryEntryParts {
    std::string Key;
    TRegistryEntryKind Kind = TRegistryEntryKind::DeleteKey;
    std::string ValueName;
};
// An entry split at its first "," as the registry dialog shows it.
[[nodiscard]] TRegistryEntryParts SplitRegistryEntry(const std::string& entry);

enum class TFileEntryKind { SingleFile, WholeFolder, FilesByMask };
// OK for a file entry: the folder exists and holds no ","; a single file
// needs a file chosen, a mask more than 2 characters ("*." is not enough).
[[nodiscard]] bool FileEntryAllowed(platform::Platform& machine, const std::string& folder, TFileEntryKind kind,
                                    const std::string& fileName, const std::string& mask);
[[nodiscard]] std::string FileEntryText(const std::string& folder, TFileEntryKind kind, const std::string& fileName,
                                        const std::string& mask);

}  // namespace nullvane::customlists
