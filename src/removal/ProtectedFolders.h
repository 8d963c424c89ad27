#pragma once
// Folders no folder read from another program's data may stand for: a
// cleaner that takes a folder from a file it did not write (a browser's
// profile list, a catalogue) skips these without asking.
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace nullvane::removal {

// Why `folder` is refused ("a drive root", "the Windows folder", ...), or
// nullopt when it may be cleaned. Refused are a drive root, the Windows and
// System folders, Program Files, ProgramData, the user's folder, Documents
// and the other shell folders themselves (Desktop, Pictures, the
// application data folders, Favorites, Start Menu), each however spelt
// ("/" or "\", case, a trailing "\"); folders below them are not refused. A
// text that is no absolute folder (a ".." step, a relative path) is refused too.
[[nodiscard]] std::optional<std::string> ProtectedFolderReason(platform::Platform& machine, const std::string& folder);

// Why a walk into the subfolders of `folder` would reach a folder
// ProtectedFolderReason refuses ("the user's folder: C:\Users\Ann"), or
// nullopt when none lies below it. A drive root is never below anything.
[[nodiscard]] std::optional<std::string> ProtectedFolderBelow(platform::Platform& machine, const std::string& folder);

// True when `inner` lies strictly below `outer`, both as NormalFolderPath
// gives them, compared as the file system does.
[[nodiscard]] bool IsBelowFolder(const std::string& inner, const std::string& outer);

// True when a folder on the way from the drive root to `folder` (itself
// included) is a link (junction, symbolic link, mount point).
[[nodiscard]] bool HasLinkOnTheWay(platform::FileSystem& files, const std::string& folder);

}  // namespace nullvane::removal
