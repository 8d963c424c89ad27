#include "cleaners/Cleaners.h"

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/RegistryRemoval.h"
#include "base/Texts.h"

namespace nullvane::cleaners {

using platform::WithTrailingBackslash;
using removal::CleanFilesByMask;
using removal::CleanFolder;
using removal::DeleteUserRegistryKey;

namespace {

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

}  // namespace nullvane::cleaners
