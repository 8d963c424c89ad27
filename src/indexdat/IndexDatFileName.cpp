#include "indexdat/IndexDatFileName.h"

#include <cctype>

namespace nullvane::indexdat {

bool IsIndexDatFileName(platform::FileSystem& files, const std::string& fileName) {
    // The extension begins at the last "." of the last part of the name.
    const size_t dot = fileName.find_last_of(".\\/:");
    if (dot == std::string::npos || fileName[dot] != '.') return false;
    std::string extension = fileName.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (extension != ".DAT") return false;
    const auto attributes = files.GetAttributes(fileName);
    return attributes && (*attributes & platform::faDirectory) == 0;
}

}  // namespace nullvane::indexdat
