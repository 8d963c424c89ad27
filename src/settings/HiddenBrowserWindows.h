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

// The windows the file names, removing the key. Each entry keeps the handle,
// the process and the class ("handle:process:class"), so that a window can be
// told from a later one given the same handle; an entry without them (the
// older form, handles alone) or that cannot be read is left out.
[[nodiscard]] std::vector<platform::TopLevelWindow> TakeHiddenBrowserWindows(platform::ProfileFile& profiles,
                                                                            const std::string& optionsPath);
// Writes the windows, or removes the key when there are none.
void WriteHiddenBrowserWindows(platform::ProfileFile& profiles, const std::string& optionsPath,
                               const std::vector<platform::TopLevelWindow>& windows);

}  // namespace nullvane::settings
