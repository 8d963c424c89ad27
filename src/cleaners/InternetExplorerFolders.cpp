#include "cleaners/InternetExplorerFolders.h"

#include "platform/Text.h"
#include "removal/Lookups.h"

namespace nullvane::cleaners {

namespace {
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string ExistingFolder(platform::Platform& machine, const std::string& path) {
    return !path.empty() && machine.files.DirectoryExists(path) ? path : std::string();
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

}  // namespace nullvane::cleaners
