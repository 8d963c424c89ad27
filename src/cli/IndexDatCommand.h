#pragma once
// nullvane-cli --index-dat FILE: the file's URLs, one per line.
#include <istream>
#include <ostream>
#include <string>

#include "platform/Platform.h"

namespace nullvane::cli {

// Writes "URL<TAB>date-time" lines to `out`; a file that does not exist or
// cannot be read gives a message on `err` and status 2. Returns the exit status.
[[nodiscard]] int RunIndexDatCommand(platform::Platform& machine, const std::string& file, std::ostream& out,
                                     std::ostream& err);

// nullvane-cli --wipe-index-dat FILE: the viewer's Delete. A name Show would
// refuse gives its message on `err` and status 2; without `yes` the wipe is
// asked on the console first (not confirmed: status 1). The overwrite
// settings come from options.ini. Status 0 only when the records were
// overwritten; a file the wipe left (not an index.dat, in use, reached
// through a link, ...) gives the file and the reason on `err` and status 4.
[[nodiscard]] int RunWipeIndexDatCommand(platform::Platform& machine, const std::string& file, bool yes,
                                         std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace nullvane::cli
