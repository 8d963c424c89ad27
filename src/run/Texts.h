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

// nullvane-cli.
inline constexpr char kCliUsage[] =
    "Usage: nullvane-cli --list\n"
    "       nullvane-cli --preview [ITEM ...] [--fast | --detail]\n"
    "       nullvane-cli --clean [ITEM ...] [--yes] [--fast | --detail]\n"
    "       nullvane-cli --index-dat FILE\n"
    "       nullvane-cli --version | --help\n"
    "ITEM is a full item name as --list shows it, e.g. \"Windows - Clipboard\".\n"
    "Without ITEM the items saved by Nullvane are used.";
inline constexpr char kCliUnknownOption[] = "unknown option: ";
inline constexpr char kCliUnknownItem[] = "not a clean item: ";
inline constexpr char kCliMissingFile[] = "--index-dat needs a FILE";
inline constexpr char kCliOneCommand[] = "give exactly one of --list, --preview, --clean, --index-dat: ";
inline constexpr char kCliNotForCommand[] = "this option does not go with the command: ";
inline constexpr char kCliNothingSelected[] =
    "Nothing to do: no item was named and no item is saved as ticked.";
inline constexpr char kCliConfirmClean[] = "Permanently remove the selected items? [y/N] ";
inline constexpr char kCliCleanDeclined[] = "Nothing was removed.";
inline constexpr char kCliQuestionSuffix[] = " [y/N] ";
inline constexpr char kCliRunAborted[] = "The run stopped at an error: ";

// The data-driven runner.
inline constexpr char kMustBeAdministrator[] = "You must have administrators user.";

}  // namespace nullvane::run::texts
