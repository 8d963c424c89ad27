#pragma once
// options.ini: reading it into the settings record and the tree's ticks, and
// writing them back, key by key in a fixed order.
#include <string>

#include "platform/Platform.h"
#include "run/CleanItemTree.h"
#include "settings/OptionsSetting.h"
#include "settings/WindowPlacement.h"

namespace nullvane::settings {

inline constexpr char kOptionsFolder[] = "Quillmark\\Nullvane\\";
inline constexpr char kOptionsFileName[] = "options.ini";

// The settings file under the user's application data folder, whose missing
// folders are created; if that fails, options.ini beside the program.
[[nodiscard]] std::string OptionsFilePath(platform::Platform& machine);
// The same file for a reader that leaves no trace: no folder is created; if
// the folder is missing, an options.ini beside the program is read instead,
// as the window would have written it there.
[[nodiscard]] std::string OptionsFilePathForReading(platform::Platform& machine);

enum class TReadWrite { Read, Write };

// Read: fills `options` and ticks the saved names in `tree` (every node is
// unticked first). Write: saves `options`, the tree's ticked names and the
// window's placement; without a window, the placement held in `options` is
// written. Neither ever shows a message.
void ReadWriteOptions(TReadWrite direction, platform::Platform& machine, const std::string& path,
                      run::TCleanItemTree& tree, TOptionsSetting& options, TWindowPlacement* window = nullptr);

// Reads an integer key: the default for a missing key or any value that is
// not a whole decimal number.
[[nodiscard]] int ReadOptionInteger(platform::ProfileFile& profiles, const std::string& path,
                                    const std::string& section, const std::string& key, int def);

}  // namespace nullvane::settings
