#pragma once
// The one spelling of a folder that the removal checks and walks use.
#include <optional>
#include <string>
#include <string_view>

namespace nullvane::removal {

// The folder as Windows resolves its text: "/" and "\" both separate,
// repeated separators count once, "." steps go, a name loses one trailing
// period and the last name all trailing periods and blanks. The result is
// "X:\" for a drive root and otherwise has no trailing "\"; a share keeps
// its leading "\\". Nullopt for text that could lead elsewhere than it
// reads: a ".." step, a name that is nothing but periods and blanks, a path
// relative to the current folder or drive, or a device path ("\\?\", "\\.\").
[[nodiscard]] std::optional<std::string> NormalFolderPath(std::string_view path);

// True if the normalised folder is a drive root ("C:\").
[[nodiscard]] bool IsDriveRoot(std::string_view normalFolder);

}  // namespace nullvane::removal
