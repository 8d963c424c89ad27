#include "winapp2/Winapp2Runner.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/NormalFolderPath.h"
#include "removal/ProtectedFolders.h"
#include "removal/RegistryRemoval.h"
#include "winapp2/Winapp2Detection.h"
#include "winapp2/Winapp2Folders.h"
#include "winapp2/Winapp2Gate.h"

namespace nullvane::winapp2 {

namespace {

using stores::TWinapp2Entry;
using stores::TWinapp2ExcludeKey;
using stores::TWinapp2FileKey;

class TEntryRun {
public:
    TEntryRun(base::TRunContext& run, const TWinapp2Entry& entry)
        : run_(run), entry_(entry), elevated_(run.Machine.system.IsElevated()) {}

    void Run() {
        // A Clean runs an entry that warns only when the user says yes.
        if (!entry_.Warning.empty() && !run_.IsTestRun() && !run_.Options.AcceptedWarnings.contains(entry_.Name)) {
            bool accepted = false;
            switch (run_.Options.WarnedEntries) {
                case base::TRunOptions::weAsk:
                    accepted = run_.Machine.dialogs.ShowMessage(
                                   entry_.Name + ": " + entry_.Warning + "\n\nRun this winapp2.ini entry?", "winapp2.ini",
                                   platform::mbYesNo | platform::mbIconWarning | platform::mbDefButton2) == platform::idYes;
                    break;
                case base::TRunOptions::weRun:
                case base::TRunOptions::weSkip:
                    run_.AddLogLine("winapp2.ini: " + entry_.Name + ": warning: " + entry_.Warning);
                    accepted = run_.Options.WarnedEntries == base::TRunOptions::weRun;
                    break;
            }
            if (!accepted) {
                run_.AddLogLine("winapp2.ini: " + entry_.Name + ": not run: its warning was not accepted");
                run_.ItemDeclined = true;
                return;
            }
        }
        // What an entry means to keep must be known before anything of it runs.
        if (auto refusal = ExclusionRefusal()) {
            Refuse(*refusal + ": none of its keys run");
            return;
        }
        uint64_t bytes = 0;
        for (const TWinapp2FileKey& key : entry_.FileKeys) {
            if (run_.Terminated()) return;
            bytes += RunFileKey(key);
        }
        for (const stores::TWinapp2RegKey& key : entry_.RegKeys) {
            if (run_.Terminated()) return;
            RunRegKey(key);
        }
        run_.SetItemBytes(run_.ItemBytes + bytes);
    }

private:
    void Refuse(const std::string& reason) {
        // Each reason once per entry: a rule met by every file of a folder is said once.
        if (!refused_.insert(reason).second) return;
        run_.AddLogLine("winapp2.ini: " + entry_.Name + ": refused: " + reason);
    }

    // The folders a folder with wildcards in its names stands for, found by
    // listing each level (links are never entered: Subfolders leaves them out).
    std::vector<std::string> ConcreteFolders(const std::string& path) {
        const size_t wildcard = path.find_first_of("*?");
        if (wildcard == std::string::npos) return {path};
        const size_t start = path.rfind('\\', wildcard);
        if (start == std::string::npos) return {};
        const size_t end = path.find('\\', wildcard);
        const std::string parent = path.substr(0, start);
        const std::string mask = path.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
        const std::string rest = end == std::string::npos ? std::string() : path.substr(end);
        std::vector<std::string> folders;
        for (const std::string& name : removal::Subfolders(run_.Machine.files, parent))
            if (platform::MatchesMask(name, mask))
                for (std::string& folder : ConcreteFolders(parent + "\\" + name + rest)) folders.push_back(std::move(folder));
        return folders;
    }

    // Reads the entry's exclusions once: each folder expanded (wildcards
    // too) and normalised, each key split. Why they cannot be read, or nullopt.
    std::optional<std::string> ExclusionRefusal() {
        if (entry_.DamagedExcludeKey) return std::string("an ExcludeKey line that could not be read");
        for (const TWinapp2ExcludeKey& key : entry_.ExcludeKeys) {
            if (key.Kind == TWinapp2ExcludeKey::ekRegistry) {
                const auto split = SplitWinapp2Key(key.Where);
                if (!split) return "an ExcludeKey with an unknown registry root: " + key.Where;
                keptKeys_.push_back({split->first, NormalKeyText(split->second), key.Where});
                continue;
            }
            const TFolderExpansion expansion = ExpandWinapp2Folder(key.Where, variableFolders_);
            if (expansion.Refusal) return "an ExcludeKey that cannot be read (" + *expansion.Refusal + ")";
            for (const TWinapp2Folder& excluded : expansion.Folders) {
                for (const std::string& path : ConcreteFolders(excluded.Path)) {
                    const auto normal = removal::NormalFolderPath(path);
                    if (!normal) return "an ExcludeKey that is not a complete folder path: " + key.Where;
                    exclusions_.push_back({&key, normal->back() == '\\' ? *normal : *normal + "\\"});
                }
            }
        }
        return std::nullopt;
    }

    // A registry path as one spelling: repeated and trailing "\" dropped, upper case.
    static std::string NormalKeyText(const std::string& path) {
        std::string normal;
        for (size_t start = 0; start <= path.size();) {
            const size_t end = std::min(path.find('\\', start), path.size());
            if (end > start) normal += platform::UpperAscii(path.substr(start, end - start)) + "\\";
            start = end + 1;
        }
        return normal;
    }

    // A file the exclusions keep.
    bool Excluded(const std::string& path, const std::string& name) {
        for (const TExclusion& exclusion : exclusions_) {
            const std::string& root = exclusion.Root;
            const bool inFolder = platform::EqualsIgnoreCase(path.substr(0, path.size() - name.size()), root);
            const bool below = path.size() > root.size() && platform::EqualsIgnoreCase(path.substr(0, root.size()), root);
            if (exclusion.Key->Kind == TWinapp2ExcludeKey::ekFile ? !inFolder : !below) continue;
            if (exclusion.Key->Names.empty()) return true;
            for (const std::string& mask : exclusion.Key->Names)
                if (platform::MatchesMask(name, mask)) return true;
        }
        return false;
    }

    uint64_t RunFileKey(const TWinapp2FileKey& key) {
        std::string masks;
        for (const std::string& mask : key.Masks) masks += mask + ";";
        if (auto refusal = FileKeyPatternRefusal(key.Folder, masks)) {
            Refuse(*refusal);
            return 0;
        }
        const TFolderExpansion expansion = ExpandWinapp2Folder(key.Folder, variableFolders_);
        if (expansion.Refusal) {
            Refuse(*expansion.Refusal);
            return 0;
        }
        uint64_t bytes = 0;
        for (const TWinapp2Folder& expanded : expansion.Folders) {
            for (const std::string& concrete : ConcreteFolders(expanded.Path)) {
                if (!run_.Machine.files.DirectoryExists(concrete)) continue;
                // Every check and the walk see one spelling of the folder.
                const auto normal = removal::NormalFolderPath(concrete);
                if (!normal) {
                    Refuse("not a complete folder path: " + concrete);
                    continue;
                }
                const std::string& path = *normal;
                const TWinapp2Folder folder{path, expanded.SystemArea};
                if (auto refusal = FolderRefusal(run_.Machine, folder, elevated_)) {
                    Refuse(*refusal + ": " + path);
                    continue;
                }
                if (key.Flag != TWinapp2FileKey::fkFolderOnly) {
                    if (auto refusal = RecursiveFolderRefusal(run_.Machine, path, variableFolders_)) {
                        Refuse(*refusal + ": " + path);
                        continue;
                    }
                }
                if (LiesUnderTabState(path)) {
                    Refuse("Notepad's unsaved tabs: " + path);
                    continue;
                }
                if (removal::HasLinkOnTheWay(run_.Machine.files, path)) {
                    Refuse("a link on the way: " + path);
                    continue;
                }
                bytes += WalkFolder(path, key);
                if (key.Flag == TWinapp2FileKey::fkRemoveSelf && !run_.IsTestRun() && !run_.Terminated())
                    RemoveEmptied(path);
            }
        }
        return bytes;
    }

    uint64_t WalkFolder(const std::string& folder, const TWinapp2FileKey& key) {
        removal::TWalkRules rules;
        rules.recurse = key.Flag != TWinapp2FileKey::fkFolderOnly;
        rules.removeSubfolders = false;
        rules.rootQuestion = removal::TFolderQuestion::fqNone;
        rules.documentsQuestion = removal::TFolderQuestion::fqNone;
        rules.eachFile = [&](const removal::TWalkFile& file) {
            const std::string& name = file.entry.name;
            bool matched = false;
            for (const std::string& mask : key.Masks) matched = matched || platform::MatchesMask(name, mask);
            if (!matched) return removal::TFileVerdict::fvKeep;
            if (auto reason = ProtectedFileReason(name)) {
                Refuse(*reason + ": " + file.path);
                return removal::TFileVerdict::fvKeep;
            }
            if (LiesUnderTabState(file.path)) {
                Refuse("Notepad's unsaved tabs: " + file.path);
                return removal::TFileVerdict::fvKeep;
            }
            if (Excluded(file.path, name)) return removal::TFileVerdict::fvKeep;
            if (key.Flag == TWinapp2FileKey::fkRemoveSelf) NoteEmptying(folder, file.path);
            return removal::TFileVerdict::fvTake;
        };
        return removal::CleanFolderWith(run_, folder, rules);
    }

    // The folders from a taken file up to the walked folder: only these can
    // have been emptied by the walk.
    void NoteEmptying(const std::string& root, const std::string& filePath) {
        for (size_t slash = filePath.find_last_of('\\'); slash != std::string::npos && slash > root.size();
             slash = filePath.find_last_of('\\', slash - 1)) {
            if (!emptying_.insert(filePath.substr(0, slash)).second) break;  // its parents are noted already
        }
    }

    // REMOVESELF: the subfolders the walk emptied, then the folder itself if
    // empty. A folder that was empty before, or that the walk took nothing
    // from, stays.
    void RemoveEmptied(const std::string& folder) {
        for (const std::string& name : removal::Subfolders(run_.Machine.files, folder)) {
            const std::string sub = folder + "\\" + name;
            if (emptying_.contains(sub)) RemoveEmptied(sub);
        }
        (void)run_.Machine.files.RemoveFolder(folder);  // fails, and stays, while anything is left in it
    }

    void RunRegKey(const stores::TWinapp2RegKey& key) {
        const auto split = SplitWinapp2Key(key.Key);
        if (!split) {
            Refuse("an unknown registry root: " + key.Key);
            return;
        }
        const std::string rootText = removal::RootKeyName(split->first);
        if (removal::IsWholeRegistryRoot(rootText, split->second)) {
            Refuse("a whole registry hive: " + key.Key);
            return;
        }
        if (key.Value && key.Value->empty()) {
            Refuse("an empty value name, which would mean every value: " + key.Key);
            return;
        }
        const std::string keyPath = NormalKeyText(split->second);
        for (const TKeptKey& kept : keptKeys_) {
            if (kept.Root != split->first) continue;
            // The key is kept, or removing it whole would take a kept key with it.
            if (keyPath.rfind(kept.Path, 0) == 0 || (!key.Value && kept.Path.rfind(keyPath, 0) == 0)) {
                Refuse("an excluded key: " + kept.Written);
                return;
            }
        }
        if (key.Value)
            run_.ItemCount += removal::DeleteRegistryValues(run_, rootText, split->second, *key.Value);
        else
            run_.ItemCount += removal::DeleteRegistryKey(run_, rootText, split->second);
    }

    base::TRunContext& run_;
    const TWinapp2Entry& entry_;
    const bool elevated_;
    std::set<std::string> refused_;
    // Each variable's folders asked of the shell once per entry, not for every folder and key.
    std::map<std::string, std::vector<std::string>> knownFolders_;
    const TVariableFolders variableFolders_ = [this](std::string_view variable) {
        auto found = knownFolders_.find(platform::UpperAscii(variable));
        if (found == knownFolders_.end())
            found = knownFolders_.emplace(platform::UpperAscii(variable), VariableFolders(run_.Machine, variable)).first;
        return found->second;
    };
    struct TExclusion {
        const TWinapp2ExcludeKey* Key;
        std::string Root;  // the expanded folder with its trailing backslash
    };
    std::vector<TExclusion> exclusions_;
    std::set<std::string> emptying_;  // REMOVESELF: folders a taken file lay in, and their parents
    struct TKeptKey {
        platform::RegRoot Root;
        std::string Path;  // NormalKeyText's spelling
        std::string Written;
    };
    std::vector<TKeptKey> keptKeys_;
};

}  // namespace

void RunWinapp2Entry(base::TRunContext& run, const stores::TWinapp2Entry& entry) { TEntryRun(run, entry).Run(); }

}  // namespace nullvane::winapp2
