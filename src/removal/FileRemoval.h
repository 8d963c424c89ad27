#pragma once
// Finding, counting and removing files and folders for the run. In a Test
// run these only find, count and list; in every other run they also remove.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/RunContext.h"

namespace nullvane::removal {

// Which text a folder question uses.
enum class TFolderQuestion { fqNone, fqDeleteAllUnder, fqDeleteFilesOn };

// What a per-file rule decides for one file the walk takes.
enum class TFileVerdict {
    fvTake,     // the walk lists, counts and (in a Clean) removes it
    fvKeep,     // left alone and not counted
    fvHandled,  // the rule dealt with it (for example overwrote it in place); not counted
};

// One file met by the walk, as a per-file rule sees it.
struct TWalkFile {
    const std::string& path;            // the whole path
    const platform::FileEntry& entry;   // as the listing gave it
    int depth;                          // 0 in the given folder
};

using TFileRule = std::function<TFileVerdict(const TWalkFile& file)>;

// What the one folder walk takes and removes below the folder it is given.
// Every cleaner that walks a folder goes through it; the fields are set by
// name: CleanFolder(run, folder, {.removeFolder = true, .logIt = false}).
struct TWalkRules {
    bool recurse = true;           // walk the subfolders
    bool removeSubfolders = true;  // subfolders are asked about, emptied and removed
    bool removeFolder = false;     // a Clean removes the given folder at the end
    bool logIt = true;             // a detail line per file (not in Fast Mode)
    bool progressWithTotal = false;  // progress counts the run's earlier items too
    TFolderQuestion rootQuestion = TFolderQuestion::fqDeleteAllUnder;
    TFolderQuestion documentsQuestion = TFolderQuestion::fqDeleteAllUnder;
    // Only files matching the mask ("File*.chk", "*.dmp", "memory.dmp");
    // empty takes every file.
    std::string mask;
    std::string keepName;          // a file name left everywhere (ignoring case)
    std::vector<std::string> keepTopNames;  // file names left in the given folder only
    std::vector<std::string> keepTopFolders;  // subfolders of the given folder left whole (ignoring case)
    std::string keepContaining;    // files whose names hold this text (ignoring case) stay
    // Each file taken is a database: one in use is left with its companions
    // ("-journal", "-wal", "-shm") and reported; otherwise it goes first and
    // its companions after it.
    bool databases = false;
    // A file another program holds is scheduled for removal at the next
    // restart (DeleteAtReboot's checks) and counted, its log line saying so;
    // one the system will not schedule is reported in use.
    bool scheduleHeld = false;
    // Asked for every file the rules above take, before it is counted.
    TFileRule eachFile;

    [[nodiscard]] bool Takes(const std::string& name, int depth) const;
    [[nodiscard]] bool KeepsFolder(const std::string& name) const;
};

// The walk over `folder` with `rules`: counts into run.ItemCount and
// returns the byte total of the files counted.
uint64_t CleanFolderWith(base::TRunContext& run, const std::string& folder, const TWalkRules& rules);

// The subfolders of `folder` (no links, never "." or ".."), in listing order.
[[nodiscard]] std::vector<std::string> Subfolders(platform::FileSystem& files, const std::string& folder);
// The files of `folder` matching `mask` ("*", "*.txt"), no folders, in listing order.
[[nodiscard]] std::vector<platform::FileEntry> FilesIn(platform::FileSystem& files, const std::string& folder,
                                                      const std::string& mask = "*");
// The size of the file at `path`, if it exists as a file (no link).
[[nodiscard]] std::optional<uint64_t> FileSizeOf(platform::FileSystem& files, const std::string& path);

// Lists (and in a Clean run deletes) one file; true if it counts.
bool EraseFile(base::TRunContext& run, const std::string& path, bool logIt);
// Overwrites a file `passes` times with one random byte value per pass.
void WipeFile(base::TRunContext& run, const std::string& path, int passes);
// Whether a Clean overwrites files on the drive of `path` before deleting
// them: not on a drive that reports no seek penalty or TRIM (a solid-state
// drive writes elsewhere, the passes would only wear it), which the log says
// once per drive and run. Only a drive letter is asked, once per run.
[[nodiscard]] bool OverwritesOnVolume(base::TRunContext& run, const std::string& path);
// True if the file exists and cannot be opened for reading and writing alone.
[[nodiscard]] bool IsFileLocked(base::TRunContext& run, const std::string& path);
// The same outside a run (the check before a run starts).
[[nodiscard]] bool IsFileLocked(platform::FileSystem& files, const std::string& path);

// Every file below `folder` (but those the rules keep); subfolders are
// emptied and removed, the folder itself only with `.removeFolder`.
// Progress counts the run's earlier items too.
uint64_t CleanFolder(base::TRunContext& run, const std::string& folder, TWalkRules rules = {});
// The same for a folder a cleaner builds from what it read (a profile's
// "Cache", a list's folder): when the folder is itself a link, what lies
// behind it was never named, so nothing there is listed or counted and a
// Clean removes the link alone (never a drive root).
uint64_t CleanFolderNotLinked(base::TRunContext& run, const std::string& folder, TWalkRules rules = {});
// Files matching `mask` ("File*.chk", "*.dmp", "memory.dmp"), in the folder
// alone unless `.recurse`; never removes folders.
uint64_t CleanFilesByMask(base::TRunContext& run, const std::string& folder, const std::string& mask,
                          TWalkRules rules = {.recurse = false});
// Files named `name` (exact, case included) below `folder` (in the folder
// alone unless `.recurse`), each taken as a database. A Clean leaves a
// database in use (IsFileLocked) with its companions and reports it through
// run.ReportFileInUse; otherwise the database goes first, then each
// companion that exists ("-journal", "-wal", "-shm"), each counted and
// logged as a file. A companion never goes when its database stayed. A Test
// counts and lists the database and the companions that exist.
uint64_t CleanDatabaseFiles(base::TRunContext& run, const std::string& folder, const std::string& name,
                            TWalkRules rules = {.recurse = false});

// The questions asked before a removing walk: a drive root gets
// `rootQuestion` (fqNone skips that check), the documents folder and its
// pictures folder get `documentsQuestion`. False leaves the folder alone.
[[nodiscard]] bool ConfirmFolderRemoval(base::TRunContext& run, const std::string& folder,
                                        TFolderQuestion rootQuestion, TFolderQuestion documentsQuestion);

// Whether the name leads to this very file, as an immediate delete checks:
// no link, resolving into the folder it is named in, one name.
enum class TFileIdentity {
    fiSelf,
    fiAbsent,
    fiThroughLink,  // a link, or reached through one
    fiOtherNames,   // a file with further names (hard links)
    fiUnexamined,   // the system could not tell
};
[[nodiscard]] TFileIdentity ExamineFileIdentity(platform::FileSystem& files, const std::string& path);

enum class TRebootDeletion {
    Absent,     // no such file: nothing to do
    Scheduled,  // the system will delete it at the next start
    Left,       // a link, reached through one, or with other names: not asked, and logged
    Refused,    // the system refused (no administrator rights); not logged
};
// Schedules the file's removal at the next start, only when an immediate
// delete would take this file: not a link, resolving into the folder it is
// named in, one name. A file left so gets a log line naming it and the reason.
[[nodiscard]] TRebootDeletion DeleteAtReboot(base::TRunContext& run, const std::string& path);
// Adds lines below the [rename] header of Wininit.ini (95/98/Me family).
void AddWininitRenames(base::TRunContext& run, const std::vector<std::string>& lines);

// Scrolls the log to its end now (step 0) or every step-th line (halved in a Clean run).
void ScrollLogIfDue(base::TRunContext& run, int step);

}  // namespace nullvane::removal
