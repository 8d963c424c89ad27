#pragma once
// The cookies the user chose to keep: the entries of "Cookies.ini" (section
// "Cookies to Keep") and of the Cookies Manager's "Cookies.dat" (section
// "Cookies to keep"), both in the program's folder, as "Count" and the keys
// "0" to Count - 1. An entry holding ".txt" names a cookie file, any other a
// site as ReadCookieSite gives it. The cleaner never writes either file.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::browsers {

inline constexpr char kCookiesIniName[] = "Cookies.ini";
inline constexpr char kCookiesIniSection[] = "Cookies to Keep";
inline constexpr char kCookiesDatName[] = "Cookies.dat";
inline constexpr char kCookiesDatSection[] = "Cookies to keep";

// Why "Cookies.dat" cannot hold the entry, or nullptr when it can. A line
// break or NUL would end its line there and a "[" at its start could read as
// a section; quotes around it are taken off when it is read back, so the
// entry written could never be matched or forgotten. Whatever adds entries
// to the file refuses these.
[[nodiscard]] const char* KeepEntryFault(const std::string& entry);

class TCookieKeepList {
public:
    // Reads both files; a missing file adds nothing.
    static TCookieKeepList Read(platform::Platform& machine);
    // One of them: "Cookies.ini" or "Cookies.dat" in the program's folder.
    static TCookieKeepList ReadOne(platform::Platform& machine, const char* fileName, const char* section);

    void Add(std::string entry);
    [[nodiscard]] bool Empty() const { return Entries.empty(); }
    // True when an entry equals the file's name or its site (case counts).
    [[nodiscard]] bool Keeps(const std::string& fileName, const std::string& site) const;

    std::vector<std::string> Entries;
};

}  // namespace nullvane::browsers
