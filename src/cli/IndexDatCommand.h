#pragma once
// nullvane-cli --index-dat FILE: the file's URLs, one per line.
#include <ostream>
#include <string>

#include "platform/Platform.h"

namespace nullvane::cli {

// Writes "URL<TAB>date-time" lines to `out`; a file that does not exist or
// cannot be read gives a message on `err` and status 2. Returns the exit status.
[[nodiscard]] int RunIndexDatCommand(platform::Platform& machine, const std::string& file, std::ostream& out,
                                     std::ostream& err);

}  // namespace nullvane::cli
