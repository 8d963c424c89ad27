#pragma once
// Reading winapp2.ini once at start-up: the file named on the command line,
// or the one beside the program or beside options.ini.
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace nullvane::settings {

// Loads the catalogue into winapp2::SetCurrentWinapp2Catalogue (none when no
// file is found). False only when `namedFile` was given and cannot be read.
[[nodiscard]] bool LoadWinapp2AtStartUp(platform::Platform& machine, const std::optional<std::string>& namedFile = {});

}  // namespace nullvane::settings
