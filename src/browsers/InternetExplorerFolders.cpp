#include "browsers/InternetExplorerFolders.h"

#include <optional>

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "removal/Lookups.h"
#include "removal/NormalFolderPath.h"

namespace nullvane::browsers {

namespace {
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string ExistingFolder(platform::Platform& machine, const std::string& path) {
    return !path.empty() && machine.files.DirectoryExists(path) ? path : std::string();
}

// The folder, normalised and with its trailing "\", if it exists and is no link.
std::optional<std::string> RealFolder(platform::FileSystem& files, const std::string& path) {
    if (path.empty()) return std::nullopt;
    auto normal = removal::NormalFolderPath(path);
    if (!normal) return std::nullopt;
    auto attributes = files.GetAttributes(*normal);
    if (!attributes || !(*attributes & platform::faDirectory) || (*attributes & platform::faReparsePoint))
        return std::nullopt;
    return platform::WithTrailingBackslash(*normal);
}

bool HasTxtFile(platform::FileSystem& files, const std::string& folder) {
    return !removal::FilesIn(files, folder, "*.txt").empty();
}
}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return {};
    size_t start = 0;
    while (start < name.size() && IsSeparator(name[start])) ++start;
    std::string joined = folder;
    while (!joined.empty() && IsSeparator(joined.back())) joined.pop_back();
    return joined + '\\' + name.substr(start);
}

std::string GetIESpecialFolder(platform::Platform& machine, int csidl) {
    machine.internet.EndBrowserSession();
    return platform::WithTrailingBackslash(machine.system.SpecialFolder(csidl));
}

std::string GetInternetCacheFolder(platform::Platform& machine) {
    return GetIESpecialFolder(machine, platform::csidlInternetCache);
}

std::string GetIELocalFolder(platform::Platform& machine) {
    return ExistingFolder(machine, JoinPath(removal::GetLocalAppDataFolder(machine), "Microsoft\\Internet Explorer"));
}

std::string GetIERecoveryFolder(platform::Platform& machine) {
    return ExistingFolder(machine,
                          JoinPath(removal::GetLocalAppDataFolder(machine), "Microsoft\\Internet Explorer\\Recovery"));
}

std::vector<std::string> IECookieFolders(platform::Platform& machine) {
    platform::FileSystem& files = machine.files;
    auto folder = RealFolder(files, GetIESpecialFolder(machine, platform::csidlCookies));
    if (!folder) folder = RealFolder(files, JoinPath(machine.system.WindowsFolder(), "cookies"));
    if (!folder) return {};
    auto low = RealFolder(files, *folder + "Low");
    if (!low || !HasTxtFile(files, *low)) return {*folder};
    if (!HasTxtFile(files, *folder)) return {*low};
    return {*folder, *low};
}

}  // namespace nullvane::browsers
