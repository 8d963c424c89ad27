#include "removal/FileRemoval.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/Text.h"
#include "removal/Lookups.h"
#include "removal/NormalFolderPath.h"
#include "removal/RemovalErrors.h"
#include "base/Texts.h"

namespace nullvane::removal {

using platform::FileEntry;
using platform::WithTrailingBackslash;

namespace {

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

// Equal when upper-casing ASCII letters makes them so, as UpperAscii compares.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

// Compares as the file system does, so that "C:\USERS\JOSÉ" is "C:\Users\José".
bool SamePath(const std::string& a, const std::string& b) {
    return platform::SystemEqualsIgnoreCase(platform::Utf8ToUtf16(a), platform::Utf8ToUtf16(b));
}

bool PathLiesUnder(const std::string& path, const std::u16string& folder) {
    std::u16string wide = platform::Utf8ToUtf16(path);
    return wide.size() > folder.size() &&
           platform::SystemEqualsIgnoreCase(std::u16string_view(wide).substr(0, folder.size()), folder);
}

const char* QuestionText(TFolderQuestion question) {
    return question == TFolderQuestion::fqDeleteFilesOn ? base::texts::kAskDeleteFilesOn
                                                         : base::texts::kAskDeleteAllUnder;
}

// What a removing walk learns once about the folder it was given: where
// the folder really is (every file it deletes must lie below that, so a
// link to a file elsewhere is never followed) and the documents folder that
// the questions protect. Empty in a Test run, which changes nothing.
struct TWalkScope {
    std::u16string resolvedFolder;  // ResolvedName with a trailing "\", as UTF-16; empty if unknown
    std::string finalFolder;     // FinalPath with a trailing "\"; empty if unknown
    std::string documents;    // normalised, with a trailing "\"; empty if none
    std::string documentsFinal;
};

TWalkScope MakeScope(base::TRunContext& run, const std::string& folder) {
    TWalkScope scope;
    if (run.IsTestRun()) return scope;
    platform::FileSystem& files = run.Machine.files;
    if (std::string final = files.FinalPath(folder); !final.empty()) scope.finalFolder = WithTrailingBackslash(final);
    if (std::string name = files.ResolvedName(folder); !name.empty())
        scope.resolvedFolder = platform::Utf8ToUtf16(WithTrailingBackslash(name));
    if (auto documents = NormalFolderPath(GetMyDocumentsFolder(run.Machine))) {
        scope.documents = WithTrailingBackslash(*documents);
        if (std::string final = files.FinalPath(*documents); !final.empty())
            scope.documentsFinal = WithTrailingBackslash(final);
    }
    return scope;
}

// The questions before a removing walk, on the normalised folder with its
// trailing "\". The folder given to the operation is also compared by where
// it really is, so a drive root or the documents folder reached through
// another name is asked about as well.
bool ConfirmFolder(base::TRunContext& run, const std::string& folder, TFolderQuestion rootQuestion,
                   TFolderQuestion documentsQuestion, const TWalkScope& scope, bool givenFolder) {
    auto ask = [&](TFolderQuestion question) {
        int answer = run.Machine.dialogs.ShowMessage(
            std::string(QuestionText(question)) + folder + "?", base::texts::kCaption,
            platform::mbYesNo | platform::mbIconInformation | platform::mbDefButton2);
        // Anything but an explicit Yes (No, or a box that could not be shown) leaves the folder alone.
        return answer == platform::idYes;
    };
    std::string final = givenFolder ? scope.finalFolder : std::string();
    bool root = IsDriveRoot(folder) || (!final.empty() && IsDriveRoot(final));
    if (rootQuestion != TFolderQuestion::fqNone && root && !ask(rootQuestion)) return false;
    if (scope.documents.empty()) return true;
    auto isFolder = [&](const std::string& text, const std::string& textFinal) {
        return SamePath(folder, text) || (!final.empty() && !textFinal.empty() && SamePath(final, textFinal));
    };
    if (isFolder(scope.documents, scope.documentsFinal) && !ask(documentsQuestion)) return false;
    std::string pictures = scope.documents + "My Pictures\\";
    std::string picturesFinal = scope.documentsFinal.empty() ? std::string() : scope.documentsFinal + "My Pictures\\";
    if (isFolder(pictures, picturesFinal) && !ask(documentsQuestion)) return false;
    return true;
}

void Wipe(base::TRunContext& run, platform::FileHandle& file, int passes) {
    if (passes <= 0) return;
    run.Machine.system.Randomize();
    auto length = file.Size();
    if (!length) return;
    // Larger blocks than the classic 4096 bytes: the same bytes land on disk.
    constexpr size_t kBlock = 1 << 20;
    std::vector<unsigned char> buffer(static_cast<size_t>(std::min<uint64_t>(kBlock, *length)));
    for (int pass = 0; pass < passes; ++pass) {
        auto fill = static_cast<unsigned char>(run.Machine.system.Random(255));
        std::fill(buffer.begin(), buffer.end(), fill);
        if (!file.Seek(0, platform::SeekOrigin::Begin)) return;
        uint64_t remaining = *length;
        while (remaining > 0) {
            size_t chunk = static_cast<size_t>(std::min<uint64_t>(remaining, buffer.size()));
            if (!file.Write(buffer.data(), chunk)) break;
            remaining -= chunk;
        }
        file.Flush();
    }
}

// NTFS writes a compressed, encrypted or sparse file to fresh clusters, so
// passes over it never reach the old data: such a file is only deleted,
// and the log says why. True when that is so.
bool NotOverwrittenBecause(base::TRunContext& run, const std::string& path, uint32_t attributes) {
    const char* reason = (attributes & platform::faCompressed)  ? "compressed"
                         : (attributes & platform::faEncrypted) ? "encrypted"
                         : (attributes & platform::faSparse)    ? "sparse"
                                                                : nullptr;
    if (!reason) return false;
    run.AddLogLine(run.LogPrefix + base::texts::kNotOverwrittenPrefix + reason + "): " + path);
    return true;
}

// Why a file stayed, in the words the report of what a Clean left uses.
void NoteRemovalFailure(base::TRunContext& run, const std::string& path, uint32_t error) {
    constexpr uint32_t kLockViolation = 33;
    switch (error) {
        case platform::seFileNotFound:
        case platform::sePathNotFound: return;  // gone meanwhile
        case platform::seSharingViolation:
        case kLockViolation: run.NoteLeft(path, base::texts::kReasonInUse); return;
        case platform::seAccessDenied: {
            const auto attributes = run.Machine.files.GetAttributes(path);
            if (attributes && (*attributes & platform::faReadOnly))
                run.NoteLeft(path, base::texts::kReasonReadOnly);
            else
                run.NoteLeft(path, std::string(base::texts::kReasonAccessDenied) + " (" +
                                       run.Machine.system.ErrorText(error) + ")");
            return;
        }
        default: run.NoteLeft(path, run.Machine.system.ErrorText(error)); return;
    }
}

// Deletes one file of a Clean through the handle that was checked: a file
// that resolves outside the walked folder (a link to elsewhere) stays, and
// a file with other names is deleted without being overwritten, since the
// other names share its data.
bool RemoveCheckedFile(base::TRunContext& run, const std::string& path, const TWalkScope& scope) {
    bool overwrite = run.Options.OverwriteFile && run.Options.OverwriteNumber > 0 && OverwritesOnVolume(run, path);
    auto file = run.Machine.files.OpenForRemoval(path, overwrite);
    if (!file) {
        NoteRemovalFailure(run, path, file.Error());
        return false;
    }
    if (scope.resolvedFolder.empty() ? (file->Attributes() & platform::faReparsePoint) != 0
                                     : !PathLiesUnder(file->ResolvedName(), scope.resolvedFolder)) {
        run.NoteLeft(path, base::texts::kReasonLinkElsewhere, false);
        return false;
    }
    if (overwrite && file->Content() && file->LinkCount() <= 1 && !(file->Attributes() & platform::faReparsePoint) &&
        !NotOverwrittenBecause(run, path, file->Attributes()))
        Wipe(run, *file->Content(), run.Options.OverwriteNumber);
    const platform::TStatus deleted = file->Delete();
    if (!deleted) NoteRemovalFailure(run, path, deleted.Error());
    return deleted.Succeeded();
}

bool EraseFileIn(base::TRunContext& run, const std::string& path, uint64_t size, bool logIt,
                 const TWalkScope& scope) {
    if (logIt && !run.FastScan()) {
        run.AddLogLine(run.LogPrefix + base::texts::kDeleting + " " + path);
        ScrollLogIfDue(run, 50);
    }
    if (run.IsTestRun() || RemoveCheckedFile(run, path, scope)) {
        run.NoteEntry(path, size);
        return true;
    }
    return false;
}

// The files SQLite keeps beside a database while it writes: a stale one
// left alone would be rolled into the fresh database that replaces it.
constexpr const char* kDatabaseCompanions[] = {"-journal", "-wal", "-shm"};

// One database the walk took, then its companions; none of them when the
// database is held by another program or stays.
uint64_t EraseDatabaseIn(base::TRunContext& run, const std::string& path, uint64_t size, const TWalkRules& rules,
                         int32_t& count, const TWalkScope& scope) {
    if (!run.IsTestRun() && IsFileLocked(run, path)) {
        run.ReportFileInUse(path);
        return 0;
    }
    auto counted = [&](uint64_t bytes) {
        ++count;
        run.PostProgressIfDue(rules.progressWithTotal ? count + run.TotalItems : count);
        return bytes;
    };
    if (!EraseFileIn(run, path, size, rules.logIt, scope)) return 0;
    uint64_t bytes = counted(size);
    for (const char* suffix : kDatabaseCompanions) {
        std::string companion = path + suffix;
        auto companionSize = FileSizeOf(run.Machine.files, companion);
        if (companionSize && EraseFileIn(run, companion, *companionSize, rules.logIt, scope)) bytes += counted(*companionSize);
    }
    return bytes;
}

// A file the Clean could not delete: when another program holds it, the
// system is asked to remove it at the next restart. True when it will be.
bool ScheduleHeldFile(base::TRunContext& run, const std::string& path) {
    // A read-only file cannot be opened to write either, but nobody holds it.
    const auto attributes = run.Machine.files.GetAttributes(path);
    if (!attributes || (*attributes & platform::faReadOnly) || !IsFileLocked(run, path)) return false;
    switch (DeleteAtReboot(run, path)) {
        case TRebootDeletion::Scheduled:
            run.NoteLeft(path, base::texts::kReasonAtRestart, false);
            run.AddLogLine(run.LogPrefix + base::texts::kWillBeRemovedAtRestart + path);
            ++run.ItemScheduled;
            return true;
        case TRebootDeletion::Refused: run.ReportFileInUse(path); return false;
        case TRebootDeletion::Left:
            // Left by the rule an immediate delete follows too, and logged.
            run.NoteLeft(path, base::texts::kReasonNotScheduled, false);
            return false;
        case TRebootDeletion::Absent: return false;  // gone meanwhile
    }
    return false;
}

// A walk never enters a linked folder (junction, symbolic link, mount
// point): what lies behind it is outside the folder the cleaner named. A
// Clean run removes the link itself and nothing behind it.
void HandleLinkedFolder(base::TRunContext& run, const std::string& path) {
    if (!run.IsTestRun()) (void)run.Machine.files.RemoveLink(path);
}

// Removes a walked folder at the end of a Clean; a folder that is a link
// goes as a link only (removing it as a folder may remove its target).
void RemoveWalkedFolder(base::TRunContext& run, const std::string& folderWithBackslash) {
    std::string folder = WithoutTrailingBackslash(folderWithBackslash);
    auto attributes = run.Machine.files.GetAttributes(folder);
    if (!attributes) return;
    if (*attributes & platform::faReparsePoint)
        (void)run.Machine.files.RemoveLink(folder);
    else
        (void)run.Machine.files.RemoveFolder(folder);
}

// The folder an operation was given, normalised, if it exists; with its
// trailing "\".
std::optional<std::string> GivenFolder(base::TRunContext& run, const std::string& folder) {
    auto normal = NormalFolderPath(folder);
    if (!normal || !run.Machine.files.DirectoryExists(*normal)) return std::nullopt;
    return WithTrailingBackslash(*normal);
}

// The one walk below a folder (normalised, with its trailing "\"): entries
// in listing order, each subfolder completely before the walk goes on, the
// cancel request looked at before every entry, "." and ".." skipped, linked
// folders never entered (a Clean removes the link alone).
uint64_t Walk(base::TRunContext& run, const std::string& folder, const TWalkRules& rules, int32_t& count,
              const TWalkScope& scope, int depth) {
    uint64_t bytes = 0;
    (void)run.Machine.files.List(folder + "*", [&](const FileEntry& entry) {
        if (run.Terminated()) return false;
        std::string path = folder + entry.name;
        if (entry.IsDirectory()) {
            if (depth == 0 && rules.KeepsFolder(entry.name)) return true;
            std::string sub = path + "\\";
            // A walk that only takes files leaves folders, links included.
            if (!rules.removeSubfolders) {
                if (rules.recurse && !entry.IsReparsePoint()) bytes += Walk(run, sub, rules, count, scope, depth + 1);
                return true;
            }
            if (entry.IsReparsePoint()) {
                HandleLinkedFolder(run, path);
                return true;
            }
            if (!rules.recurse) return true;
            if (!run.IsTestRun() && !ConfirmFolder(run, sub, TFolderQuestion::fqDeleteAllUnder,
                                                   TFolderQuestion::fqDeleteAllUnder, scope, false))
                return true;
            bytes += Walk(run, sub, rules, count, scope, depth + 1);
            if (!run.IsTestRun()) (void)run.Machine.files.RemoveFolder(path);
            return true;
        }
        if (!rules.Takes(entry.name, depth)) return true;
        if (rules.eachFile && rules.eachFile(TWalkFile{path, entry, depth}) != TFileVerdict::fvTake) return true;
        if (rules.databases) {
            bytes += EraseDatabaseIn(run, path, entry.size, rules, count, scope);
            return true;
        }
        if (EraseFileIn(run, path, entry.size, rules.logIt, scope) ||
            (rules.scheduleHeld && !run.IsTestRun() && ScheduleHeldFile(run, path))) {
            ++count;
            bytes += entry.size;
            run.PostProgressIfDue(rules.progressWithTotal ? count + run.TotalItems : count);
        }
        return true;
    });
    return bytes;
}

}  // namespace

bool TWalkRules::KeepsFolder(const std::string& name) const {
    return std::any_of(keepTopFolders.begin(), keepTopFolders.end(),
                       [&](const std::string& kept) { return platform::EqualsIgnoreCase(name, kept); });
}

bool TWalkRules::Takes(const std::string& name, int depth) const {
    if (!keepName.empty() && platform::EqualsIgnoreCase(name, keepName)) return false;
    if (depth == 0)
        for (const std::string& kept : keepTopNames)
            if (platform::EqualsIgnoreCase(name, kept)) return false;
    if (!keepContaining.empty() &&
        platform::UpperAscii(name).find(platform::UpperAscii(keepContaining)) != std::string::npos)
        return false;
    if (mask.empty() || mask == "*.*" || mask == name) return true;
    // The part before the first "*" begins the name and the part after it
    // ends it, ignoring case; a mask without "*" is the exact name alone.
    auto star = mask.find('*');
    if (star == std::string::npos) return false;
    // Compared in place: this is asked for every file a masked walk meets.
    const std::string_view prefix = std::string_view(mask).substr(0, star);
    const std::string_view suffix = std::string_view(mask).substr(star + 1);
    return name.size() >= prefix.size() + suffix.size() && SameIgnoringAsciiCase(std::string_view(name).substr(0, prefix.size()), prefix) &&
           SameIgnoringAsciiCase(std::string_view(name).substr(name.size() - suffix.size()), suffix);
}

std::vector<std::string> Subfolders(platform::FileSystem& files, const std::string& folder) {
    std::vector<std::string> names;
    (void)files.List(WithTrailingBackslash(folder) + "*", [&](const FileEntry& entry) {
        if (entry.IsDirectory() && !entry.IsReparsePoint()) names.push_back(entry.name);
        return true;
    });
    return names;
}

std::vector<FileEntry> FilesIn(platform::FileSystem& files, const std::string& folder, const std::string& mask) {
    std::vector<FileEntry> entries;
    (void)files.List(WithTrailingBackslash(folder) + mask, [&](const FileEntry& entry) {
        if (!entry.IsDirectory()) entries.push_back(entry);
        return true;
    });
    return entries;
}

std::optional<uint64_t> FileSizeOf(platform::FileSystem& files, const std::string& path) {
    std::optional<uint64_t> size;
    (void)files.List(path, [&](const FileEntry& entry) {
        if (!entry.IsDirectory() && !entry.IsReparsePoint()) size = entry.size;
        return false;
    });
    return size;
}

void ScrollLogIfDue(base::TRunContext& run, int step) {
    if (step == 0) {
        run.LogBox.ScrollToEnd();
        return;
    }
    if (!run.IsTestRun()) step /= 2;
    if (step <= 0) step = 1;
    ++run.LogLineCounter;
    if (run.LogLineCounter % step == 0) {
        run.LogBox.ScrollToEnd();
        run.LogLineCounter = 0;
    }
}

bool OverwritesOnVolume(base::TRunContext& run, const std::string& path) {
    // Only a drive letter can be asked; other names are overwritten as always.
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return true;
    char letter = path[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return true;
    auto [known, fresh] = run.OverwriteByVolume.try_emplace(letter, true);
    if (!fresh) return known->second;
    const std::string drive = std::string(1, letter) + ":";
    // A drive that did not answer (or not both questions) is taken as a disk
    // that overwrites in place, as before the question was asked.
    if (auto traits = run.Machine.system.StorageTraitsOf(drive + "\\")) {
        const bool solidState = (traits->SeekPenalty && !*traits->SeekPenalty) || (traits->Trim && *traits->Trim);
        if (solidState) {
            known->second = false;
            run.AddLogLine(std::string(base::texts::kSolidStatePrefix) + drive + base::texts::kSolidStateSuffix);
        }
    }
    return known->second;
}

bool IsFileLocked(platform::FileSystem& files, const std::string& path) {
    if (!files.Exists(path)) return false;
    return !files.Open(path, platform::OpenMode::ReadWrite, platform::ShareMode::Exclusive);
}

bool IsFileLocked(base::TRunContext& run, const std::string& path) { return IsFileLocked(run.Machine.files, path); }

void WipeFile(base::TRunContext& run, const std::string& path, int passes) {
    auto attributes = run.Machine.files.GetAttributes(path);
    if (!attributes) return;
    // Writing through a link would overwrite a file outside the folder
    // being cleaned; only the link itself is removed.
    if (*attributes & (platform::faReparsePoint | platform::faDirectory)) return;
    auto file = run.Machine.files.Open(path, platform::OpenMode::ReadWrite, platform::ShareMode::Exclusive);
    if (file) Wipe(run, *file, passes);
}

bool EraseFile(base::TRunContext& run, const std::string& path, bool logIt) {
    TWalkScope scope;
    if (!run.IsTestRun()) {
        // A file named alone must lie in the folder its path names.
        auto slash = path.find_last_of("\\/");
        if (slash != std::string::npos) {
            std::string name = run.Machine.files.ResolvedName(path.substr(0, slash + 1));
            if (!name.empty()) scope.resolvedFolder = platform::Utf8ToUtf16(WithTrailingBackslash(name));
        }
    }
    const uint64_t size = run.IsTestRun() ? FileSizeOf(run.Machine.files, path).value_or(0) : 0;
    return EraseFileIn(run, path, size, logIt, scope);
}

bool ConfirmFolderRemoval(base::TRunContext& run, const std::string& folder, TFolderQuestion rootQuestion,
                          TFolderQuestion documentsQuestion) {
    if (run.IsTestRun()) return true;
    auto normal = NormalFolderPath(folder);
    if (!normal) return false;
    std::string path = WithTrailingBackslash(*normal);
    return ConfirmFolder(run, path, rootQuestion, documentsQuestion, MakeScope(run, path), true);
}

uint64_t CleanFolderWith(base::TRunContext& run, const std::string& folder, const TWalkRules& rules) {
    if (run.Terminated()) return 0;
    auto path = GivenFolder(run, folder);
    if (!path) return 0;
    TWalkScope scope = MakeScope(run, *path);
    if (!run.IsTestRun() &&
        !ConfirmFolder(run, *path, rules.rootQuestion, rules.documentsQuestion, scope, true))
        return 0;
    uint64_t bytes = Walk(run, *path, rules, run.ItemCount, scope, 0);
    if (!run.IsTestRun() && rules.removeFolder) RemoveWalkedFolder(run, *path);
    return bytes;
}

uint64_t CleanFolder(base::TRunContext& run, const std::string& folder, TWalkRules rules) {
    rules.progressWithTotal = true;
    return CleanFolderWith(run, folder, rules);
}

uint64_t CleanFolderNotLinked(base::TRunContext& run, const std::string& folder, TWalkRules rules) {
    auto attributes = run.Machine.files.GetAttributes(folder);
    if (attributes && (*attributes & platform::faReparsePoint)) {
        auto normal = NormalFolderPath(folder);
        if (!run.IsTestRun() && normal && !IsDriveRoot(*normal)) (void)run.Machine.files.RemoveLink(*normal);
        return 0;
    }
    return CleanFolder(run, folder, std::move(rules));
}

namespace {

// A walk that takes files by name leaves every folder; a name without a
// wildcard cannot reach a whole drive, so a drive root is asked about only
// for a wide mask.
TWalkRules ByName(const std::string& mask, TWalkRules rules) {
    rules.mask = mask;
    rules.removeSubfolders = false;
    bool wide = mask.empty() || mask.find('*') != std::string::npos;
    rules.rootQuestion = wide ? TFolderQuestion::fqDeleteAllUnder : TFolderQuestion::fqNone;
    rules.documentsQuestion = TFolderQuestion::fqDeleteFilesOn;
    return rules;
}

}  // namespace

uint64_t CleanFilesByMask(base::TRunContext& run, const std::string& folder, const std::string& mask,
                          TWalkRules rules) {
    return CleanFolderWith(run, folder, ByName(mask, std::move(rules)));
}

uint64_t CleanDatabaseFiles(base::TRunContext& run, const std::string& folder, const std::string& name,
                            TWalkRules rules) {
    rules = ByName(name, std::move(rules));
    rules.databases = true;
    return CleanFolderWith(run, folder, rules);
}

TFileIdentity ExamineFileIdentity(platform::FileSystem& files, const std::string& path) {
    const auto attributes = files.GetAttributes(path);
    if (!attributes) return TFileIdentity::fiAbsent;
    if (*attributes & platform::faReparsePoint) return TFileIdentity::fiThroughLink;
    const size_t slash = path.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // the drive's root, not its current folder
    const std::string resolvedFolder = files.ResolvedName(folder);
    const std::string resolved = files.ResolvedName(path);
    if (resolvedFolder.empty() || resolved.empty()) return TFileIdentity::fiUnexamined;
    if (!PathLiesUnder(resolved, platform::Utf8ToUtf16(WithTrailingBackslash(resolvedFolder))))
        return TFileIdentity::fiThroughLink;
    // Asked without reading: a file another program holds is examined too.
    const auto links = files.LinkCountOf(path);
    if (!links) return TFileIdentity::fiUnexamined;
    if (*links > 1) return TFileIdentity::fiOtherNames;
    return TFileIdentity::fiSelf;
}

TRebootDeletion DeleteAtReboot(base::TRunContext& run, const std::string& path) {
    // At the next start the system deletes whatever the name then leads to,
    // links followed: the name is given only when an immediate delete would
    // take this very file.
    const auto leave = [&](const char* why) {
        run.AddLogLine(why + path);
        return TRebootDeletion::Left;
    };
    switch (ExamineFileIdentity(run.Machine.files, path)) {
        case TFileIdentity::fiAbsent: return TRebootDeletion::Absent;
        case TFileIdentity::fiThroughLink: return leave(base::texts::kNotScheduledThroughLink);
        case TFileIdentity::fiOtherNames: return leave(base::texts::kNotScheduledOtherNames);
        case TFileIdentity::fiUnexamined: return leave(base::texts::kNotScheduledUnexamined);
        case TFileIdentity::fiSelf: break;
    }
    return run.Machine.files.ScheduleDeleteAtReboot(path) ? TRebootDeletion::Scheduled : TRebootDeletion::Refused;
}

void AddWininitRenames(base::TRunContext& run, const std::vector<std::string>& lines) {
    std::string file = run.Machine.system.WindowsFolder();
    file = WithTrailingBackslash(file) + "Wininit.ini";
    std::vector<std::string> text;
    if (run.Machine.files.Exists(file)) {
        auto content = run.Machine.files.ReadAll(file);
        if (!content) throw EWininitError("Cannot read " + file);
        size_t start = 0;
        while (start < content->size()) {
            size_t end = content->find('\n', start);
            if (end == std::string::npos) end = content->size();
            std::string line = content->substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            text.push_back(line);
            start = end + 1;
        }
    }
    auto header = std::find_if(text.begin(), text.end(),
                               [](const std::string& line) { return platform::UpperAscii(line) == "[RENAME]"; });
    if (header != text.end()) {
        size_t at = static_cast<size_t>(header - text.begin()) + 1;
        for (const std::string& line : lines) text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), line);
    } else {
        text.push_back("[rename]");
        text.insert(text.end(), lines.begin(), lines.end());
    }
    std::string content;
    for (const std::string& line : text) content += line + "\r\n";
    if (!run.Machine.files.WriteAll(file, content)) throw EWininitError("Cannot write " + file);
}

}  // namespace nullvane::removal
