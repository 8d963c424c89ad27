#pragma once
// The file names the Index.dat viewer accepts for Show and Delete.
#include <string>

#include "platform/FileSystem.h"

namespace nullvane::indexdat {

inline constexpr char kIndexDatNameRefused[] = "Please enter the correct index.dat file name.";

// An existing file (not a folder) whose extension, in any letter case, is ".dat".
[[nodiscard]] bool IsIndexDatFileName(platform::FileSystem& files, const std::string& fileName);

}  // namespace nullvane::indexdat
