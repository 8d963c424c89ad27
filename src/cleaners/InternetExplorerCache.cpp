#include "cleaners/InternetExplorerCache.h"

#include <cstdio>
#include <vector>

#include "base/Texts.h"
#include "browsers/InternetExplorerFolders.h"
#include "cleaners/Cleaners.h"
#include "cleaners/InternetExplorerUrls.h"
#include "indexdat/IndexDatWiper.h"
#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "removal/RegistryRemoval.h"
#include "removal/RemovalErrors.h"

namespace nullvane::cleaners {

using browsers::GetIERecoveryFolder;
using browsers::GetIESpecialFolder;
using browsers::GetInternetCacheFolder;
using browsers::JoinPath;

using platform::EqualsIgnoreCase;
using platform::UpperAscii;

namespace {

constexpr int kVersionCodeVista = 11;  // 6.0, and 6.2 for every later Windows
constexpr char kIndexDat[] = "index.dat";
constexpr char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";


// Cache folders whose subfolders the browser's index names: while the index
// lives (in use, or wiped in place) the browser cannot store into one that is gone.
bool IsCacheContainer(const std::string& name) {
    return EqualsIgnoreCase(name, "Content.IE5") || EqualsIgnoreCase(name, "IE");
}

uint64_t CleanCacheTree(base::TRunContext& run, const std::string& folder, const removal::TWalkRules& rules,
                        bool container) {
    removal::TWalkRules filesOnly = rules;
    filesOnly.recurse = false;
    uint64_t bytes = removal::CleanFolderWith(run, folder, filesOnly);
    for (const std::string& name : removal::Subfolders(run.Machine.files, folder)) {
        if (run.Terminated()) break;
        const std::string subfolder = JoinPath(folder, name);
        if (container) {
            bytes += removal::CleanFolderWith(run, subfolder, rules);  // emptied, kept
        } else if (IsCacheContainer(name) || EqualsIgnoreCase(name, "Low")) {
            bytes += CleanCacheTree(run, subfolder, rules, IsCacheContainer(name));
        } else {
            removal::TWalkRules whole = rules;
            whole.removeFolder = true;
            bytes += removal::CleanFolderWith(run, subfolder, whole);
        }
    }
    return bytes;
}

void WipeIndexDatBelow(base::TRunContext& run, const std::string& folder, bool top) {
    if (!top)
        for (const platform::FileEntry& entry : removal::FilesIn(run.Machine.files, folder, "index.dat")) {
            if (run.Terminated()) return;
            if (!entry.IsReparsePoint() && UpperAscii(entry.name) == "INDEX.DAT")
                WipeIndexDatLogged(run, JoinPath(folder, entry.name));
        }
    for (const std::string& name : removal::Subfolders(run.Machine.files, folder)) {
        if (run.Terminated()) return;
        WipeIndexDatBelow(run, JoinPath(folder, name), false);
    }
}

// The browser's own clearing command, for versions that keep their history
// in a database (8 and later).
void RunBrowserClearing(base::TRunContext& run) {
    const std::string version = removal::ReadRegistryString(
        run.Machine, platform::RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer\\Version Vector", "IE");
    const size_t point = version.find('.');
    if (point == std::string::npos) return;
    int major = 0;
    for (size_t i = 0; i < point; ++i) {
        if (version[i] < '0' || version[i] > '9' || major > 1000) {
            major = 0;
            break;
        }
        major = major * 10 + (version[i] - '0');
    }
    if (major >= 8) (void)RunCommandLine(run.Machine, "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 1");
}

uint64_t ListedSize(base::TRunContext& run, const std::string& path) {
    if (path.empty()) return 0;
    return removal::FileSizeOf(run.Machine.files, path).value_or(0);
}

// Schedules the files' removal at the next start; false if the system
// refused any (a file left for its name was logged by the removal).
bool ScheduleRemovalAtRestart(base::TRunContext& run, const std::vector<std::string>& files) {
    const int code = removal::GetWindowsVersionCode(run.Machine);
    switch (code) {
        case 5: case 6: case 7: case 9: case 10: case 11: case 12: {
            bool scheduled = true;
            for (const std::string& file : files) {
                if (!file.empty() && removal::DeleteAtReboot(run, file) == removal::TRebootDeletion::Refused)
                    scheduled = false;
            }
            return scheduled;
        }
        case 1: case 2: case 3: case 4: case 8: {
            // "NUL=" deletes the file; any other name on the left renames it to that name.
            std::vector<std::string> lines;
            for (const std::string& file : files) {
                std::string shortPath = file.empty() ? std::string() : GetShortPath(run.Machine, file);
                if (!shortPath.empty()) lines.push_back("NUL=" + shortPath);
            }
            if (lines.empty()) return true;
            try {
                removal::AddWininitRenames(run, lines);
            } catch (const removal::EWininitError&) {
                return false;
            }
            return true;
        }
        default:
            return true;
    }
}

}  // namespace

void CleanTemporaryInternetFiles(base::TRunContext& run) {
    const bool showFiles = run.Options.ShowLogTempInternetFiles;
    if (!run.IsTestRun() && !showFiles) run.AddLogLine(std::string(base::texts::kClearing) + ", " + base::texts::kPleaseWait);
    const std::string cache = GetInternetCacheFolder(run.Machine);
    if (cache.empty() || !run.Machine.files.DirectoryExists(cache)) return;
    run.Machine.internet.EndBrowserSession();

    removal::TWalkRules rules;
    rules.logIt = showFiles;
    rules.removeSubfolders = true;
    // A Test does not count the index; a Clean offers it like any other file and then wipes what stays.
    if (run.IsTestRun()) rules.keepName = kIndexDat;
    run.SetItemBytes(CleanCacheTree(run, cache, rules, false));
    if (!run.IsTestRun()) WipeIndexDatLogged(run, JoinPath(cache, "Content.IE5\\index.dat"));
}

void CleanVisitedUrlHistory(base::TRunContext& run) {
    const std::string history = GetIESpecialFolder(run.Machine, platform::csidlHistory);
    ClearUrlHistoryStore(run);
    run.ItemCount += ClearUrlCacheEntries(run);
    if (history.empty() || !run.Machine.files.DirectoryExists(history)) return;

    const bool databaseHistory = removal::GetWindowsVersionCode(run.Machine) == kVersionCodeVista;
    if (databaseHistory) {
        run.ItemFolder = JoinPath(history, "Low\\History.IE5");
        if (run.Machine.files.DirectoryExists(run.ItemFolder)) {
            const std::string today = UpperAscii(TodayHistoryFolderName(run.Machine));
            uint64_t bytes = 0;
            for (const std::string& name : removal::Subfolders(run.Machine.files, run.ItemFolder)) {
                if (run.Terminated()) break;
                if (UpperAscii(name).find(today) != std::string::npos) continue;
                bytes += removal::CleanFolder(run, JoinPath(run.ItemFolder, name), {.removeFolder = true});
            }
            const std::string recovery = GetIERecoveryFolder(run.Machine);
            if (!recovery.empty()) bytes += removal::CleanFilesByMask(run, recovery, "*.dat", {.recurse = true});
            run.SetItemBytes(bytes);
        }
        run.ItemFolder = history;
    } else {
        run.ItemFolder = JoinPath(history, "History.IE5");
        run.SetItemBytes(removal::CleanFolder(run, run.ItemFolder, {.keepName = kIndexDat}));
    }
    if (run.IsTestRun()) return;
    run.PostItemProgress();
    WipeIndexDatTree(run, run.ItemFolder);
    if (databaseHistory) RunBrowserClearing(run);
}

void CleanRecentlyTypedUrls(base::TRunContext& run) {
    if (!run.FastScan()) {
        if (auto key = run.Machine.registry.OpenKey(platform::RegRoot::CurrentUser, kTypedUrlsKey,
                                                    platform::RegAccess::Read)) {
            for (const platform::RegValue& value : key->Values()) {
                run.AddLogLine(run.LogPrefix + base::texts::kDeleting + " " + value.AsString());
            }
        }
        removal::ScrollLogIfDue(run, 0);
    }
    const std::string bar = "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";
    run.ItemCount = removal::DeleteUserRegistryKey(run, kTypedUrlsKey) +
                    removal::DeleteUserRegistryKey(run, bar + "FilesNamedMRU") +
                    removal::DeleteUserRegistryKey(run, bar + "ContainingTextMRU");
}

void CleanIndexDatFiles(base::TRunContext& run) {
    run.AddLogLine(base::texts::kIndexDatRebootWarning);
    const std::vector<std::string> files = {
        JoinPath(GetIESpecialFolder(run.Machine, platform::csidlCookies), kIndexDat),
        JoinPath(GetIESpecialFolder(run.Machine, platform::csidlInternetCache), "Content.IE5\\index.dat"),
        JoinPath(GetIESpecialFolder(run.Machine, platform::csidlHistory), "History.IE5\\index.dat"),
    };
    uint64_t bytes = 0;
    for (const std::string& file : files) bytes += ListedSize(run, file);
    run.SetItemBytes(bytes);
    if (run.ItemSizeText != "0") run.ItemCount = static_cast<int32_t>(files.size());
    if (run.IsTestRun()) return;
    for (const std::string& file : files) WipeIndexDatLogged(run, file);
    // The warning alone would claim a removal that will not happen.
    if (!ScheduleRemovalAtRestart(run, files)) run.AddLogLine(base::texts::kIndexDatNotScheduled);
}

void CleanLastDownloadLocation(base::TRunContext& run) {
    run.ItemCount += removal::DeleteUserRegistryValues(run, "Software\\Microsoft\\Internet Explorer", "Download Directory");
}

void WipeIndexDatLogged(base::TRunContext& run, const std::string& path) {
    if (path.empty()) return;
    const indexdat::TWipeResult wiped = indexdat::WipeIndexDat(run.Machine.files, run.Machine.system, path, run.Options);
    // A missing index is common (a browser never started) and nothing to tell.
    if (wiped.Outcome != indexdat::TWipeOutcome::Missing)
        run.AddLogLine(run.LogPrefix + path + ": " + indexdat::WipeOutcomeText(wiped));
}

void WipeIndexDatTree(base::TRunContext& run, const std::string& folder) {
    if (folder.empty() || !run.Machine.files.DirectoryExists(folder)) return;
    WipeIndexDatBelow(run, folder, true);
}

std::string TodayHistoryFolderName(platform::Platform& machine) {
    const platform::LocalTime now = machine.system.Now();
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d%02d%02d", now.year, now.month, now.day);
    return std::string("MSHist01") + digits;
}

std::string GetShortPath(platform::Platform& machine, const std::string& path) { return machine.files.ShortPath(path); }

bool RunCommandLine(platform::Platform& machine, const std::string& commandLine) {
    // The program is the first word, or the first quoted text.
    std::string program, rest;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const size_t close = commandLine.find('"', 1);
        program = commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        rest = close == std::string::npos ? std::string() : commandLine.substr(close + 1);
    } else {
        const size_t space = commandLine.find(' ');
        program = commandLine.substr(0, space);
        rest = space == std::string::npos ? std::string() : commandLine.substr(space);
    }
    if (program.empty()) return false;
    if (program.find_first_of("\\/:") == std::string::npos) program = JoinPath(machine.system.SystemFolder(), program);
    if (program.empty()) return false;
    return machine.system.StartHiddenProcess(program, "\"" + program + "\"" + rest);
}

}  // namespace nullvane::cleaners
