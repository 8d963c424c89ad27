#pragma once
// nullvane-cli --cookies, --keep-cookie and --forget-cookie: the Cookies
// Manager's two lists, and its Add or Remove followed by OK.
#include <ostream>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::cli {

// "keep<TAB>ENTRY" for each entry of "Cookies.dat", then
// "found<TAB>SITE<TAB>FILE" for each cookie file that no entry keeps, then
// "found<TAB>SITE<TAB>BROWSER" for each browser holding cookies of a site
// no entry keeps (sites in order of their text). Status 0.
[[nodiscard]] int RunCookiesCommand(platform::Platform& machine, std::ostream& out);

// Adds the entries "Cookies.dat" does not hold yet (keep) or removes every
// entry equal to one given (forget), saves the list and prints it as
// --cookies does. A file that cannot be written: a message on `err`, status 4.
// An entry to keep that KeepEntryFault refuses: nothing is written, a message
// naming it and why on `err`, status 2.
[[nodiscard]] int RunKeepCookiesCommand(platform::Platform& machine, const std::vector<std::string>& entries, bool keep,
                                        std::ostream& out, std::ostream& err);

}  // namespace nullvane::cli
