#pragma once
// The data-driven runner: cleans what one section of a list file names.
#include <string>

#include "base/RunContext.h"

namespace nullvane::customlists {

inline constexpr char kCustomListFile[] = "Clist.dat";
inline constexpr char kApplicationsDataFile[] = "NVane.dat";

// Runs the section named by `itemName` of `dataFile` (a file name in the
// program's folder).
void RunDataSection(base::TRunContext& run, const std::string& dataFile, const std::string& itemName);

}  // namespace nullvane::customlists
