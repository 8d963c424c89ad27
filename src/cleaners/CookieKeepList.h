#pragma once
// The cookies the user chose to keep: the entries of "Cookies.ini" (section
// "Cookies to Keep") and of the Cookies Manager's "Cookies.dat" (section
// "Cookies to keep"), both in the program's folder, as "Count" and the keys
// "0" to Count - 1. An entry holding ".txt" names a cookie file, any other a
// site as ReadCookieSite gives it. The cleaner never writes either file.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::cleaners {

class TCookieKeepList {
public:
    // Reads both files; a missing file adds nothing.
    static TCookieKeepList Read(platform::Platform& machine);

    void Add(std::string entry);
    [[nodiscard]] bool Empty() const { return Entries.empty(); }
    // True when an entry equals the file's name or its site (case counts).
    [[nodiscard]] bool Keeps(const std::string& fileName, const std::string& site) const;

    std::vector<std::string> Entries;
};

}  // namespace nullvane::cleaners
