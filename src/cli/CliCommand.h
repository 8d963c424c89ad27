#pragma once
// nullvane-cli over the same engine and the same options.ini as the window.
//
// Exit status: 0 done; 1 nothing ran (no item named and none saved, or the
// clean was not confirmed); 2 bad command line (an unknown option, or an
// item name not in the catalogue), nothing ran; 3 a clean refused because a
// ticked browser is open; 4 the run stopped at an error; 6 a clean refused
// because another removing run of the user (the window's or another
// nullvane-cli's) still worked after 5 seconds. options.ini is read, never
// written.
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::cli {

// `args` are the arguments after the program name. `machine` may be null in
// a build that has no Windows to work on: then only the commands that need
// no machine (--list, --version, --help) run. Questions are read from `in`.
// When `err` is a console, a run keeps a progress line there.
[[nodiscard]] int RunCli(const std::vector<std::string>& args, platform::Platform* machine, std::istream& in,
                         std::ostream& out, std::ostream& err, bool errIsConsole = false);

}  // namespace nullvane::cli
