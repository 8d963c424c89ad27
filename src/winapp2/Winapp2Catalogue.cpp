#include "winapp2/Winapp2Catalogue.h"

#include <algorithm>
#include <atomic>
#include <set>

#include "platform/Text.h"
#include "removal/RegistryRemoval.h"
#include "winapp2/Winapp2Detection.h"
#include "winapp2/Winapp2Gate.h"

namespace nullvane::winapp2 {

namespace {

std::shared_ptr<const TWinapp2Catalogue>& Current() {
    static std::shared_ptr<const TWinapp2Catalogue> current;
    return current;
}

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

// A key the gate refuses on any machine: an unknown variable, too many
// wildcards, a registry root or hive, an exclusion that could not be read.
bool RefusedOutright(const stores::TWinapp2Entry& entry) {
    if (entry.DamagedExcludeKey) return true;
    for (const stores::TWinapp2FileKey& key : entry.FileKeys) {
        std::string masks;
        for (const std::string& mask : key.Masks) masks += mask + ";";
        if (FileKeyPatternRefusal(key.Folder, masks)) return true;
    }
    for (const stores::TWinapp2RegKey& key : entry.RegKeys) {
        const auto split = SplitWinapp2Key(key.Key);
        if (!split || removal::IsWholeRegistryRoot(removal::RootKeyName(split->first), split->second)) return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> FindWinapp2File(platform::Platform& machine, const std::string& settingsFolder) {
    for (const std::string& folder : {machine.system.ProgramFolder(), settingsFolder}) {
        if (folder.empty()) continue;
        const std::string path = WithBackslash(folder) + kWinapp2FileName;
        const auto attributes = machine.files.GetAttributes(path);
        if (attributes && !(*attributes & (platform::faDirectory | platform::faReparsePoint))) return path;
    }
    return std::nullopt;
}

std::optional<TWinapp2Catalogue> LoadWinapp2Catalogue(platform::Platform& machine, const std::string& path) {
    auto file = machine.files.Open(path, platform::OpenMode::Read, platform::ShareMode::ReadWrite);
    if (!file) return std::nullopt;
    const auto size = file->Size();
    if (!size || *size > kMaxWinapp2Bytes) return std::nullopt;
    std::string text(static_cast<size_t>(*size), '\0');
    for (size_t done = 0; done < text.size();) {
        const size_t got = file->Read(text.data() + done, text.size() - done);
        if (got == 0) return std::nullopt;
        done += got;
    }
    stores::TWinapp2File parsed = stores::ParseWinapp2(text);
    TWinapp2Catalogue catalogue;
    catalogue.Path = path;
    catalogue.Read = static_cast<int32_t>(parsed.Entries.size());
    catalogue.Malformed = parsed.MalformedLines;
    std::set<std::string> names;
    TWinapp2Detector detector(machine);
    for (stores::TWinapp2Entry& entry : parsed.Entries) {
        if (RefusedOutright(entry)) ++catalogue.Refused;
        // A name the tree could not tell from another item's is not shown.
        if (entry.Name.find(" - ") != std::string::npos || !names.insert(entry.Name).second) continue;
        if (detector.IsDetected(entry)) catalogue.Shown.push_back(std::move(entry));
    }
    std::sort(catalogue.Shown.begin(), catalogue.Shown.end(), [](const auto& a, const auto& b) {
        return platform::UpperAscii(a.Name) < platform::UpperAscii(b.Name);
    });
    return catalogue;
}

std::atomic<bool>& SummaryTaken() {
    static std::atomic<bool> taken{false};
    return taken;
}

void SetCurrentWinapp2Catalogue(std::shared_ptr<const TWinapp2Catalogue> catalogue) {
    std::atomic_store(&Current(), std::move(catalogue));
    SummaryTaken().store(false);
}

std::optional<std::string> TakeFirstRunSummary() {
    const auto catalogue = CurrentWinapp2Catalogue();
    if (!catalogue || SummaryTaken().exchange(true)) return std::nullopt;
    return CatalogueSummary(*catalogue);
}

std::shared_ptr<const TWinapp2Catalogue> CurrentWinapp2Catalogue() { return std::atomic_load(&Current()); }

const stores::TWinapp2Entry* FindShownEntry(const TWinapp2Catalogue& catalogue, const std::string& name) {
    for (const stores::TWinapp2Entry& entry : catalogue.Shown)
        if (entry.Name == name) return &entry;
    return nullptr;
}

std::string CatalogueSummary(const TWinapp2Catalogue& catalogue) {
    std::string text = std::string(kWinapp2FileName) + ": " + std::to_string(catalogue.Read) + " entries read, " +
                       std::to_string(catalogue.Shown.size()) + " shown, " + std::to_string(catalogue.Refused) +
                       " refused";
    if (catalogue.Malformed > 0) text += "; " + std::to_string(catalogue.Malformed) + " damaged lines skipped";
    return text;
}

}  // namespace nullvane::winapp2
