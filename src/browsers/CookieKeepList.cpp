#include "browsers/CookieKeepList.h"

#include <algorithm>

#include "base/Texts.h"

namespace nullvane::browsers {

namespace {

// More entries than any list of cookies holds: a damaged "Count" does not
// make the read go on for billions of keys.
constexpr int kMostEntries = 100000;

void ReadEntries(platform::Platform& machine, const std::string& file, const char* section,
                 TCookieKeepList& list) {
    if (!machine.files.Exists(file)) return;
    int count = std::min(machine.profiles.GetInt(file, section, "Count", 0), kMostEntries);
    for (int i = 0; i < count; ++i) list.Add(machine.profiles.GetString(file, section, std::to_string(i), ""));
}

}  // namespace

const char* KeepEntryFault(const std::string& entry) {
    if (entry.find_first_of("\r\n") != std::string::npos) return base::texts::kKeepEntryLineBreak;
    if (entry.find('\0') != std::string::npos) return base::texts::kKeepEntryNul;
    if (!entry.empty() && entry.front() == '[') return base::texts::kKeepEntrySection;
    if (entry.size() >= 2 && (entry.front() == '"' || entry.front() == '\'') && entry.back() == entry.front())
        return base::texts::kKeepEntryQuoted;
    return nullptr;
}

TCookieKeepList TCookieKeepList::Read(platform::Platform& machine) {
    TCookieKeepList list;
    const std::string folder = machine.system.ProgramFolder();
    if (folder.empty()) return list;
    ReadEntries(machine, folder + kCookiesIniName, kCookiesIniSection, list);
    ReadEntries(machine, folder + kCookiesDatName, kCookiesDatSection, list);
    return list;
}

TCookieKeepList TCookieKeepList::ReadOne(platform::Platform& machine, const char* fileName, const char* section) {
    TCookieKeepList list;
    const std::string folder = machine.system.ProgramFolder();
    if (!folder.empty()) ReadEntries(machine, folder + fileName, section, list);
    return list;
}

void TCookieKeepList::Add(std::string entry) {
    if (!entry.empty()) Entries.push_back(std::move(entry));
}

bool TCookieKeepList::Keeps(const std::string& fileName, const std::string& site) const {
    return std::any_of(Entries.begin(), Entries.end(), [&](const std::string& entry) {
        return entry.find(".txt") != std::string::npos ? entry == fileName : entry == site;
    });
}

}  // namespace nullvane::browsers
