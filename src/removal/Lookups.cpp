#include "removal/Lookups.h"

#include "platform/Text.h"

namespace nullvane::removal {

using platform::RegRoot;

namespace {
std::string WithoutLeadingBackslash(const std::string& path) {
    return !path.empty() && path.front() == '\\' ? path.substr(1) : path;
}
}  // namespace

std::string GetMyDocumentsFolder(platform::Platform& machine) {
    return platform::WithTrailingBackslash(machine.system.SpecialFolder(platform::csidlPersonal));
}

std::string GetAppDataFolder(platform::Platform& machine) {
    machine.internet.EndBrowserSession();
    // Empty when the lookup fails: a bare "\" would send the cleaners to the
    // root of the current drive.
    return platform::WithTrailingBackslash(machine.system.SpecialFolder(platform::csidlAppData));
}

std::string GetLocalAppDataFolder(platform::Platform& machine) {
    return platform::WithTrailingBackslash(ReadRegistryString(
        machine, RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        "Local AppData"));
}

std::string GetProgramFilesFolder(platform::Platform& machine) {
    return ReadRegistryString(machine, RegRoot::LocalMachine, "\\Software\\Microsoft\\Windows\\CurrentVersion",
                              "ProgramFilesDir");
}

std::string ReadRegistryString(platform::Platform& machine, platform::RegRoot root, const std::string& key,
                               const std::string& value) {
    // Read access is all a value needs: an unelevated user gets nothing of a
    // machine-wide key opened with full access.
    auto handle = machine.registry.OpenKey(root, WithoutLeadingBackslash(key), platform::RegAccess::Read);
    if (!handle) return {};
    auto data = handle->QueryValue(value);
    if (!data || !data->IsString()) return {};
    return data->AsString();
}

bool IsAdministrator(platform::Platform& machine) { return machine.system.IsAdministrator(); }

int WindowsVersionCode(const platform::WindowsVersion& version) {
    if (version.platformId == platform::piWindows) {
        if (version.major == 4 && version.minor == 0) return 1;
        if (version.major == 4 && version.minor == 10) return 3;
        if (version.major == 4 && version.minor == 90) return 8;
        return 10;
    }
    if (version.platformId == platform::piNT) {
        switch (version.major) {
            case 3: return 5;
            case 4: return 6;
            case 5: return version.minor == 0 ? 7 : version.minor == 1 ? 9 : 10;
            case 6: return version.minor == 1 ? 12 : 11;
            default: return 10;
        }
    }
    return 10;
}

int GetWindowsVersionCode(platform::Platform& machine) { return WindowsVersionCode(machine.system.Version()); }

}  // namespace nullvane::removal
