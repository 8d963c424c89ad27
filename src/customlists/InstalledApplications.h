#pragma once
// Which applications of the applications data file are installed: the
// sections whose name and an uninstall entry's DisplayName contain one
// another, ignoring case.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nullvane::customlists {

// Section names, as written in the data file, in the order their first
// matching uninstall entry is met; each once. The uninstall entries are
// read, in this order, from the machine's 64-bit and 32-bit lists and the
// user's own list; a list that is missing or cannot be read is passed over.
[[nodiscard]] std::vector<std::string> InstalledApplicationSections(platform::Platform& machine);

// Whether a section name and a display name match: upper-cased, either
// contains the other.
[[nodiscard]] bool ApplicationNamesMatch(const std::string& sectionName, const std::string& displayName);

}  // namespace nullvane::customlists
