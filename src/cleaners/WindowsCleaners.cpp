#include "cleaners/Cleaners.h"

#include "platform/Text.h"
#include "base/Texts.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "removal/RegistryRemoval.h"
#include "stores/DestList.h"

namespace nullvane::cleaners {

using platform::WithTrailingBackslash;
using removal::CleanFilesByMask;
using removal::CleanFolder;
using removal::DeleteUserRegistryKey;

namespace {

// A folder the system names, with a trailing "\"; empty when it names none.
std::string FolderWithBackslash(const std::string& folder) {
    return folder.empty() ? std::string() : WithTrailingBackslash(folder);
}

// An automatic jump list a Clean may delete: its DestList reads and none of
// its entries is pinned. Any other is kept, and the log says why.
removal::TFileVerdict JumpListVerdict(base::TRunContext& run, const removal::TWalkFile& file) {
    // A link goes as a link; what it leads to is not read.
    if (file.entry.IsReparsePoint()) return removal::TFileVerdict::fvTake;
    auto stream = run.Machine.files.ReadCompoundStream(file.path, "DestList");
    if (stream) {
        const stores::TDestListPins pins = stores::ReadDestListPins(*stream);
        if (pins.Readable && pins.Pinned == 0) return removal::TFileVerdict::fvTake;
        const std::string kept =
            pins.Readable ? std::string(base::texts::kKeptPinned) : base::texts::kKeptDamaged + pins.Reason + "): ";
        run.AddLogLine(run.LogPrefix + kept + file.path);
        run.NoteKept(file.path, kept.substr(0, kept.size() - 2));
        return removal::TFileVerdict::fvKeep;
    }
    const std::string reason = stream.Error() == platform::seFileNotFound
                                   ? std::string(base::texts::kNoDestList)
                                   : run.Machine.system.ErrorText(stream.Error());
    run.AddLogLine(run.LogPrefix + base::texts::kKeptDamaged + reason + "): " + file.path);
    run.NoteKept(file.path, base::texts::kKeptDamaged + reason + ")");
    return removal::TFileVerdict::fvKeep;
}

// The walk of one "Recycled" folder: everything but its INFO2 and desktop.ini.
uint64_t CleanRecycledFolder(base::TRunContext& run, const std::string& folder) {
    return removal::CleanFolder(run, folder,
                                {.logIt = run.Options.ShowLogRecycleBin, .keepTopNames = {"DESKTOP.INI", "INFO2"}});
}
}  // namespace

void CleanRecentDocuments(base::TRunContext& run) {
    run.Machine.internet.EndBrowserSession();
    std::string recent = run.Machine.system.SpecialFolder(platform::csidlRecent);
    run.ItemCount = DeleteUserRegistryKey(run, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs");
    uint64_t bytes = recent.empty() ? 0 : CleanFilesByMask(run, recent, "*.*");
    run.SetItemBytes(bytes);
}

void CleanStartRun(base::TRunContext& run) {
    run.ItemCount = DeleteUserRegistryKey(run, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU");
}

void CleanSearchAssistant(base::TRunContext& run) {
    run.ItemCount = DeleteUserRegistryKey(run, "Software\\Microsoft\\Search Assistant\\ACMru");
}

void CleanRecycleBin(base::TRunContext& run) {
    if (!run.IsTestRun() && !run.Options.ShowLogRecycleBin)
        run.AddLogLine(std::string(base::texts::kClearing) + ", " + base::texts::kPleaseWait);
    uint64_t bytes = 0;
    for (char letter = 'c'; letter <= 'z'; ++letter) {
        std::string drive(1, letter);
        if (run.Machine.system.DriveTypeOf(drive + ":\\") != platform::DriveType::Fixed) continue;
        std::string folder = drive + ":\\Recycled";
        if (run.Machine.files.Exists(folder + "\\INFO2") && run.Machine.files.Exists(folder + "\\desktop.ini")) {
            bytes += CleanRecycledFolder(run, folder);
            run.SetItemBytes(bytes);
        }
    }
    if (!run.IsTestRun()) (void)run.Machine.desktop.EmptyRecycleBin();
}

void CleanTemporaryFiles(base::TRunContext& run) {
    std::string temp = run.Machine.system.TempFolder();
    uint64_t bytes = temp.empty() ? 0 : CleanFolder(run, temp);
    run.SetItemBytes(bytes);
}

void CleanClipboard(base::TRunContext& run) {
    if (!run.IsTestRun()) (void)run.Machine.desktop.EmptyClipboard();
}

void CleanMemoryDumps(base::TRunContext& run) {
    std::string windows = WithTrailingBackslash(run.Machine.system.WindowsFolder());
    if (windows.empty()) return;
    uint64_t bytes = CleanFilesByMask(run, windows, "memory.dmp");
    bytes += CleanFilesByMask(run, windows + "MiniDump", "*.dmp");
    run.SetItemBytes(bytes);
}

void CleanChkdskFragments(base::TRunContext& run) {
    std::string system = run.Machine.system.SystemFolder();
    if (system.empty()) return;
    run.SetItemBytes(CleanFilesByMask(run, system, "File*.chk"));
}

void CleanJumpLists(base::TRunContext& run) {
    const std::string recent = FolderWithBackslash(run.Machine.system.SpecialFolder(platform::csidlRecent));
    if (recent.empty()) return;
    uint64_t bytes = CleanFilesByMask(run, recent + "AutomaticDestinations", "*.automaticDestinations-ms",
                                      {.recurse = false, .eachFile = [&](const removal::TWalkFile& file) {
                                           return JumpListVerdict(run, file);
                                       }});
    bytes += CleanFilesByMask(run, recent + "CustomDestinations", "*.customDestinations-ms");
    run.SetItemBytes(bytes);
}

void CleanExplorerSearchHistory(base::TRunContext& run) {
    run.ItemCount += removal::DeleteUserRegistryValues(
        run, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WordWheelQuery", "");
}

void CleanExplorerTypedPaths(base::TRunContext& run) {
    run.ItemCount += removal::DeleteUserRegistryValues(
        run, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths", "");
}

void CleanThumbnailCache(base::TRunContext& run) {
    const std::string local = removal::GetLocalAppDataFolder(run.Machine);
    if (local.empty()) return;
    // Explorer holds these while it runs: they go at the next restart.
    run.SetItemBytes(CleanFilesByMask(run, local + "Microsoft\\Windows\\Explorer", "thumbcache_*.db",
                                      {.recurse = false, .scheduleHeld = true}));
}

void CleanActivityHistory(base::TRunContext& run) {
    const std::string local = removal::GetLocalAppDataFolder(run.Machine);
    if (local.empty()) return;
    const std::string platformFolder = local + "ConnectedDevicesPlatform\\";
    uint64_t bytes = 0;
    // One folder per account; the database with its companions ("-wal", "-shm").
    for (const std::string& account : removal::Subfolders(run.Machine.files, platformFolder))
        bytes += CleanFilesByMask(run, platformFolder + account, "ActivitiesCache.db*",
                                  {.recurse = false, .scheduleHeld = true});
    run.SetItemBytes(bytes);
}

void CleanErrorReports(base::TRunContext& run) {
    const std::string local = removal::GetLocalAppDataFolder(run.Machine);
    if (local.empty()) return;
    uint64_t bytes = 0;
    for (const char* folder : {"Microsoft\\Windows\\WER\\ReportArchive", "Microsoft\\Windows\\WER\\ReportQueue", "CrashDumps"})
        bytes += CleanFolder(run, local + folder);
    run.SetItemBytes(bytes);
}

void CleanShellHistories(base::TRunContext& run) {
    const std::string roaming = FolderWithBackslash(run.Machine.system.SpecialFolder(platform::csidlAppData));
    if (roaming.empty()) return;
    run.SetItemBytes(
        CleanFilesByMask(run, roaming + "Microsoft\\Windows\\PowerShell\\PSReadLine", "*_history.txt"));
}

void CleanDnsCache(base::TRunContext& run) {
    if (!run.Machine.system.CanFlushDnsCache()) {
        run.AddLogLine(run.LogPrefix + base::texts::kNotAvailableHere);
        return;
    }
    if (!run.IsTestRun()) {
        if (auto flushed = run.Machine.system.FlushDnsCache(); !flushed) {
            run.ReportError(base::texts::kDnsCacheNotEmptied + run.Machine.system.ErrorText(flushed.Error()));
            return;
        }
    }
    run.ItemCount = 1;
}

}  // namespace nullvane::cleaners
