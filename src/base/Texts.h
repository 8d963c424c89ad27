#pragma once
// The texts the run, the cleaners and the removal write to the log or ask
// with, and those both the window and the command line show. Texts only the
// windows show are in app/WindowTexts.h, the command line's in cli/CliTexts.h.
namespace nullvane::base::texts {

inline constexpr char kCaption[] = "Nullvane";

// The run's log.
inline constexpr char kTest[] = "Test";
inline constexpr char kClean[] = "Clean";
inline constexpr char kClearing[] = "Clearing";
inline constexpr char kItems[] = "items";
inline constexpr char kWillBeRemoved[] = "will be removed";
inline constexpr char kToBeRemoved[] = "to be removed";
inline constexpr char kTotalItemsWillBeRemoved[] = "Total items will be removed = ";
inline constexpr char kTotalFilesWillBeRemoved[] = "Total files will be removed = ";
inline constexpr char kTotalItemsToBeRemoved[] = "Total items to be removed = ";
inline constexpr char kTotalFilesToBeRemoved[] = "Total files to be removed = ";
inline constexpr char kPleaseWait[] = "please wait...";

// File and registry removal.
inline constexpr char kDeleting[] = "deleting";
inline constexpr char kCleaningDatabase[] = "cleaning database";
inline constexpr char kDeletingRegistryKey[] = "deleting registry key";
inline constexpr char kDeletingRegistryValue[] = "deleting registry value";
inline constexpr char kAskDeleteAllUnder[] = "Do you want to delete all files and folders under ";
inline constexpr char kAskDeleteFilesOn[] = "Do you want to delete the files on ";

// Starting a run (the main window and the command line).
inline constexpr char kSelectItemsFirst[] = "Please select items you want to clear from the left list firstly.";
// "Please close " + the browser's name + " firstly!"
inline constexpr char kClosePrefix[] = "Please close ";
inline constexpr char kCloseSuffix[] = " firstly!";
// The browser's name, then: a browser asked to close that held on to its profile.
inline constexpr char kStillRunning[] = " is still running: it was asked to close and did not. Close it, then try again.";
inline constexpr char kCloseOpera[] = "Please close Opera firstly!";
inline constexpr char kAnotherRunRemoving[] =
    "Another Nullvane clean is removing items for this user. Please wait until it has finished and try again.";

// Why "Cookies.dat" cannot hold an entry (the Cookies Manager and the command line).
inline constexpr char kKeepEntryLineBreak[] = "it holds a line break";
inline constexpr char kKeepEntryNul[] = "it holds a NUL character";
inline constexpr char kKeepEntrySection[] = "it begins with \"[\"";
inline constexpr char kKeepEntryQuoted[] = "it is wrapped in quotes, which reading it back takes off";

// The data-driven runner.
inline constexpr char kMustBeAdministrator[] = "You must have administrators user.";
// A list entry longer than the runner reads is skipped whole, never cut.
inline constexpr char kSkippingWholeRegistryRoot[] = "skipping a whole registry root:";
inline constexpr char kEntryTooLong[] = "skipping an entry longer than 2047 characters:";

// A file left because another program holds it; the run goes on.
inline constexpr char kFileInUse[] = "The file is in use by another program: ";

// The browser's index files, removed at the next start.
inline constexpr char kIndexDatRebootWarning[] = "Warning: This will take effect next time windows is rebooted.";
inline constexpr char kIndexDatNotScheduled[] =
    "The index.dat files cannot be removed at the next start: that needs administrator rights.";

// What became of an index.dat that was to be overwritten.
inline constexpr char kWipeWiped[] = "the records were overwritten";
inline constexpr char kWipeMissing[] = "not overwritten: the file does not exist";
inline constexpr char kWipeNotAnIndexDat[] = "not overwritten: not an index.dat (no cache signature at its start)";
inline constexpr char kWipeNotReached[] =
    "not overwritten: the name leads through a link, a linked folder or a \"..\" step, or the file has other names";
inline constexpr char kWipeInUse[] = "not overwritten: the file is in use by another program";
inline constexpr char kWipeReadOnly[] = "not overwritten: the file is read-only";
inline constexpr char kWipeFailed[] = "not overwritten: the file could not be written";
inline constexpr char kWipeErrorCode[] = " (error ";

// A removal at the next start left unasked, with the file's path after it.
inline constexpr char kDatabaseThroughLink[] = "The database was left: the name leads through a link: ";
inline constexpr char kDatabaseOtherNames[] = "The database was left: the file has other names: ";
inline constexpr char kDatabaseUnexamined[] = "The database was left: the file cannot be examined: ";
inline constexpr char kDatabaseDamaged[] = "The database is damaged and was left: ";
inline constexpr char kFileReadOnly[] = "The file is read-only: ";
// A jump list left whole, then its path.
inline constexpr char kKeptPinned[] = "kept: holds pinned items: ";
// ... then the reason, "): " and its path.
inline constexpr char kKeptDamaged[] = "kept: damaged (";
inline constexpr char kNoDestList[] = "no DestList stream";
// An item whose service this Windows does not offer.
inline constexpr char kNotAvailableHere[] = "not available on this system";
inline constexpr char kDnsCacheNotEmptied[] = "The DNS cache could not be emptied: ";
// A held file the system removes when Windows starts again.
inline constexpr char kWillBeRemovedAtRestart[] = "will be removed at the next restart: ";
// After an item's count: how many of its files wait for that.
inline constexpr char kWaitForRestart[] = " of them wait for the next restart.";
// What a Clean left: the block's head, "Left after the Clean: N entries; X KB",
// then per entry "PATH: REASON".
inline constexpr char kLeftAfterClean[] = "Left after the Clean: ";
inline constexpr char kLeftEntries[] = " entries; ";
inline constexpr char kReasonInUse[] = "in use by another program";
inline constexpr char kReasonAccessDenied[] = "access denied";
inline constexpr char kReasonReadOnly[] = "read-only";
inline constexpr char kReasonKeptCookie[] = "kept by the Cookies Manager";
inline constexpr char kReasonPinned[] = "kept: holds pinned items";
inline constexpr char kReasonAtRestart[] = "will be removed at the next restart";
inline constexpr char kReasonLinkElsewhere[] = "kept: a link to a file elsewhere";
inline constexpr char kReasonNotScheduled[] = "kept: held, and a link or a file with other names";
// Written again after the Clean passed it (a running program).
inline constexpr char kReasonReappeared[] = "reappeared";
// Once per drive where overwriting would only wear the drive: the prefix,
// the drive ("C:"), the suffix.
inline constexpr char kSolidStatePrefix[] = "Overwriting cannot guarantee that deleted data is gone on the solid-state drive ";
inline constexpr char kSolidStateSuffix[] = "; the files are deleted.";
// ... then "compressed", "encrypted" or "sparse", "): " and the path.
inline constexpr char kNotOverwrittenPrefix[] = "not overwritten (";
inline constexpr char kNotScheduledThroughLink[] = "Not scheduled for removal at the next start: the name leads through a link: ";
inline constexpr char kNotScheduledOtherNames[] = "Not scheduled for removal at the next start: the file has other names: ";
inline constexpr char kNotScheduledUnexamined[] = "Not scheduled for removal at the next start: the file cannot be examined: ";

// A run that ended at an error (the window's log and the command line).
inline constexpr char kCliRunAborted[] = "The run stopped at an error: ";

}  // namespace nullvane::base::texts
