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

// The data-driven runner.
inline constexpr char kMustBeAdministrator[] = "You must have administrators user.";

}  // namespace nullvane::run::texts
