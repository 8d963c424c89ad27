#pragma once
// Where a winapp2.ini folder leads on this machine: its leading variable
// expanded (one variable may stand for two folders: Program Files and
// Program Files (x86)), and the folder rules of the gate.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::winapp2 {

struct TWinapp2Folder {
    std::string Path;
    // Below %WinDir%, %SystemDrive%, %ProgramFiles%, %ProgramData% or
    // %CommonProgramFiles%: only an elevated program may clean there.
    bool SystemArea = false;
};

struct TFolderExpansion {
    std::vector<TWinapp2Folder> Folders;  // none when the variable has no folder here
    std::optional<std::string> Refusal;   // why the folder is refused outright
};

// The folders a variable ("AppData", any case) stands for; empty for an
// unknown variable or one this machine has no folder for.
[[nodiscard]] std::vector<std::string> VariableFolders(platform::Platform& machine, std::string_view variable);

// `folder` as a FileKey or DetectFile writes it ("%AppData%\Tool\Cache"):
// a variable only at its start; what follows it is kept as written.
[[nodiscard]] TFolderExpansion ExpandWinapp2Folder(platform::Platform& machine, std::string_view folder);
// The same with the variables' folders from `variableFolders` (a cache of VariableFolders).
using TVariableFolders = std::function<std::vector<std::string>(std::string_view variable)>;
[[nodiscard]] TFolderExpansion ExpandWinapp2Folder(std::string_view folder, const TVariableFolders& variableFolders);

// Why the gate refuses an expanded folder, or nullopt: a folder the custom
// lists' guard refuses (drive roots, Windows, Program Files, the user's and
// the shell folders themselves), the installer caches (ProgramData's
// "Package Cache", the Windows folder's "Installer") always, and any other
// system area unless the program runs elevated.
[[nodiscard]] std::optional<std::string> FolderRefusal(platform::Platform& machine, const TWinapp2Folder& folder,
                                                       bool elevated);

// Why the gate refuses to walk the subfolders of `folder` (RECURSE,
// REMOVESELF), or nullopt: a guarded folder lies below it, or it is, or
// holds, the folder a variable stands for (%Public%, %LocalLowAppData%, ...).
[[nodiscard]] std::optional<std::string> RecursiveFolderRefusal(platform::Platform& machine, const std::string& folder,
                                                                const TVariableFolders& variableFolders);

}  // namespace nullvane::winapp2
