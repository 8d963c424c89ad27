#pragma once
// The [Hotkey] key HiddenBrowserWindows of options.ini: the windows the Boss
// Key keeps hidden, so that a start after a crash can show them again. The
// settings read and write never touch it.
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/ProfileFile.h"

namespace nullvane::settings {

inline constexpr char kHiddenWindowsSection[] = "Hotkey";
inline constexpr char kHiddenWindowsKey[] = "HiddenBrowserWindows";

// The windows the file names, removing the key; an entry that cannot be
// read is left out.
[[nodiscard]] std::vector<platform::TopLevelWindow> TakeHiddenBrowserWindows(platform::ProfileFile& profiles,
                                                                            const std::string& optionsPath);
// Writes the windows, or removes the key when there are none.
void WriteHiddenBrowserWindows(platform::ProfileFile& profiles, const std::string& optionsPath,
                               const std::vector<platform::TopLevelWindow>& windows);

}  // namespace nullvane::settings
