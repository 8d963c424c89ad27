#include "removal/NormalFolderPath.h"

#include <vector>

namespace nullvane::removal {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::optional<std::string> NormalFolderPath(std::string_view path) {
    std::string head;
    size_t position = 0;
    bool share = false;
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
        // "C:" alone or "C:Temp" is relative to the drive's current folder.
        if (path.size() < 3 || !IsSeparator(path[2])) return std::nullopt;
        head = std::string(path.substr(0, 2)) + "\\";
        position = 3;
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        if (path.size() >= 3 && (path[2] == '?' || path[2] == '.')) return std::nullopt;
        head = "\\\\";
        position = 2;
        share = true;
    } else {
        return std::nullopt;
    }

    std::vector<std::string> names;
    bool trailingSeparator = false;
    while (position < path.size()) {
        size_t end = position;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        trailingSeparator = end < path.size();
        std::string name(path.substr(position, end - position));
        position = end + 1;
        if (name.empty() || name == ".") continue;
        if (name == "..") return std::nullopt;
        if (name.find_first_not_of(". ") == std::string::npos) return std::nullopt;
        if (name.back() == '.' && name[name.size() - 2] != '.') name.pop_back();
        names.push_back(std::move(name));
    }
    if (!names.empty() && !trailingSeparator) {
        std::string& last = names.back();
        while (!last.empty() && (last.back() == '.' || last.back() == ' ')) last.pop_back();
    }
    // A share needs its server and share names before anything is below it.
    if (share && names.size() < 2) return std::nullopt;

    std::string result = head;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) result += '\\';
        result += names[i];
    }
    return result;
}

bool IsDriveRoot(std::string_view normalFolder) {
    return normalFolder.size() == 3 && normalFolder[1] == ':' && normalFolder[2] == '\\';
}

}  // namespace nullvane::removal
