#pragma once
// The one table of texts that the code builds: log phrases, captions, totals
// and messages. Window captions and control texts live with the windows.
namespace nullvane::run::texts {

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
inline constexpr char kTotal[] = "Total";
inline constexpr char kCancel[] = "Cancel";
inline constexpr char kPrepareToClean[] = "Prepare to clean...";
inline constexpr char kFinished[] = "Finished!";
inline constexpr char kSelectItemsFirst[] = "Please select items you want to clear from the left list firstly.";
inline constexpr char kCloseFirefox[] = "Please close Mozilla Firefox firstly!";
inline constexpr char kCloseChrome[] = "Please close Google Chrome firstly!";
inline constexpr char kCloseOpera[] = "Please close Opera firstly!";
inline constexpr char kAnotherRunRemoving[] =
    "Another Nullvane clean is removing items for this user. Please wait until it has finished and try again.";

// nullvane-cli.
inline constexpr char kCliUsage[] =
    "Usage: nullvane-cli --list\n"
    "       nullvane-cli --preview [ITEM ...] [--fast | --detail]\n"
    "       nullvane-cli --clean [ITEM ...] [--yes] [--fast | --detail]\n"
    "       nullvane-cli --index-dat FILE\n"
    "       nullvane-cli --custom-list\n"
    "       nullvane-cli --wipe-index-dat FILE [--yes]\n"
    "       nullvane-cli --cookies\n"
    "       nullvane-cli --keep-cookie ENTRY ... | --forget-cookie ENTRY ...\n"
    "       nullvane-cli --version | --help\n"
    "ITEM is a full item name as --list shows it, e.g. \"Windows - Clipboard\".\n"
    "Without ITEM the items saved by Nullvane are used.\n"
    "--custom-list prints the entries of the custom list as the editor keeps them.\n"
    "--wipe-index-dat overwrites the records of an index.dat as the Index.dat viewer's Delete does.\n"
    "--cookies prints the Cookies Manager's lists: \"keep<TAB>ENTRY\" for each cookie kept,\n"
    "then \"found<TAB>SITE<TAB>FILE\" for each cookie file not kept.\n"
    "--keep-cookie and --forget-cookie add entries (sites or cookie file names) to the\n"
    "cookies kept or take them off, save the list as the Manager's OK does and print it.\n"
    "Exit status: 0 done, 1 nothing ran, 2 bad command line, 3 a ticked browser is open,\n"
    "4 the run stopped at an error, 5 finished with errors (files in use were left),\n"
    "6 another clean of this user is removing.";
inline constexpr char kCliUnknownOption[] = "unknown option: ";
inline constexpr char kCliUnknownItem[] = "not a clean item: ";
inline constexpr char kCliNeedsFile[] = " needs a FILE";
inline constexpr char kCliNeedsEntry[] = " needs at least one ENTRY";
inline constexpr char kCliOneCommand[] =
    "give exactly one of --list, --preview, --clean, --index-dat, --custom-list, --wipe-index-dat, --cookies, "
    "--keep-cookie, --forget-cookie: ";
inline constexpr char kCliCannotKeep[] = "cannot keep ";
inline constexpr char kKeepEntryLineBreak[] = "it holds a line break";
inline constexpr char kKeepEntryNul[] = "it holds a NUL character";
inline constexpr char kKeepEntrySection[] = "it begins with \"[\"";
inline constexpr char kKeepEntryQuoted[] = "it is wrapped in quotes, which reading it back takes off";
inline constexpr char kCliConfirmWipePrefix[] = "Overwrite the records of ";
inline constexpr char kCliNotForCommand[] = "this option does not go with the command: ";
inline constexpr char kCliNothingSelected[] =
    "Nothing to do: no item was named and no item is saved as ticked.";
inline constexpr char kCliConfirmClean[] = "Permanently remove the selected items? [y/N] ";
inline constexpr char kCliCleanDeclined[] = "Nothing was removed.";
inline constexpr char kCliQuestionSuffix[] = " [y/N] ";
inline constexpr char kCliRunAborted[] = "The run stopped at an error: ";

// The data-driven runner.
inline constexpr char kMustBeAdministrator[] = "You must have administrators user.";
// A list entry longer than the runner reads is skipped whole, never cut.
inline constexpr char kSkippingWholeRegistryRoot[] = "skipping a whole registry root:";
inline constexpr char kEntryTooLong[] = "skipping an entry longer than 2047 characters:";

// The windows: saving the log, the confirmation, the notification icon.
inline constexpr char kSaveAsTitle[] = "Save as Text";
inline constexpr char kSaveAsFilter[] = "Text files (*.txt)|*.txt";
inline constexpr char kFileExistsSuffix[] = " has existed,overite it?";
inline constexpr char kCannotWriteFile[] = "Cannot write the file ";
inline constexpr char kGeneratedBy[] = "This file was generated by ";
inline constexpr char kVisit[] = "Visit ";
inline constexpr char kForLatestVersion[] = " for the latest version";

inline constexpr char kPermanentlyDelete[] = "This process will permanently delete files from your system.";
inline constexpr char kAreYouSure[] = "Are you sure you wish to proceed?";

inline constexpr char kBossKeyFailed[] = "The hotkey for Boss Key failed, please try to use other key!";
// The settings dialog's Boss Key.
inline constexpr char kHotkeyBlank[] = "The hotkey setting cannot be blank.";
inline constexpr char kHotkeyTestFailed[] = "Hotkey setting failed, please run application again!";
// Around the key's name: a hot key without modifier takes the key from every program.
inline constexpr char kTypingKeyFirst[] = "With \"";
inline constexpr char kTypingKeySecond[] =
    "\" as the Boss Key, no program gets that key while Nullvane runs: typing it hides the browsers. "
    "Use it anyway?";
// Shown by Windows while the end of the session waits for the clean.
inline constexpr char kEndOfSessionCleaning[] = "Nullvane is cleaning...";
inline constexpr char kOverwriteHint[] =
    "The more times a file is overwritten,the higher the security,and the longer the wash will take.";

inline constexpr char kTrayTipFirst[] = "Left Click to activate Nullvane";
inline constexpr char kTrayTipSecond[] = "Right Click to popup menu";

// A file left because another program holds it; the run goes on.
inline constexpr char kFileInUse[] = "The file is in use by another program: ";
inline constexpr char kFinishedWithErrors[] = "Finished with errors!";
inline constexpr char kCliFinishedWithErrors[] =
    "Some files were in use by another program and were left; close that program and run the clean again.";

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
inline constexpr char kNotScheduledThroughLink[] = "Not scheduled for removal at the next start: the name leads through a link: ";
inline constexpr char kNotScheduledOtherNames[] = "Not scheduled for removal at the next start: the file has other names: ";
inline constexpr char kNotScheduledUnexamined[] = "Not scheduled for removal at the next start: the file cannot be examined: ";

// A run that ended at an error.
inline constexpr char kRunStopped[] = "Stopped!";

}  // namespace nullvane::run::texts
