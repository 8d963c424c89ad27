#pragma once
// Folder and value lookups shared by the cleaners.
#include <string>

#include "platform/Platform.h"

namespace nullvane::removal {

// The user's documents folder with a trailing "\", or empty.
[[nodiscard]] std::string GetMyDocumentsFolder(platform::Platform& machine);
// The user's application data folder with a trailing "\"; ends the browser session first.
[[nodiscard]] std::string GetAppDataFolder(platform::Platform& machine);
// The local application data folder with a trailing "\", or empty.
[[nodiscard]] std::string GetLocalAppDataFolder(platform::Platform& machine);
// ProgramFilesDir as the registry records it (no trailing "\"), or empty.
[[nodiscard]] std::string GetProgramFilesFolder(platform::Platform& machine);
// A string value read from a key opened for reading; empty on any failure.
[[nodiscard]] std::string ReadRegistryString(platform::Platform& machine, platform::RegRoot root,
                                             const std::string& key, const std::string& value);
[[nodiscard]] bool IsAdministrator(platform::Platform& machine);

// The small code that stands for a Windows version.
[[nodiscard]] int WindowsVersionCode(const platform::WindowsVersion& version);
[[nodiscard]] int GetWindowsVersionCode(platform::Platform& machine);

}  // namespace nullvane::removal
