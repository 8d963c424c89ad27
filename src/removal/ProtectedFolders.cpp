#include "removal/ProtectedFolders.h"

#include <utility>
#include <vector>

#include "platform/Text.h"
#include "removal/Lookups.h"
#include "removal/NormalFolderPath.h"

namespace nullvane::removal {

namespace {

bool SameFolder(const std::string& a, const std::string& b) {
    return platform::SystemEqualsIgnoreCase(platform::Utf8ToUtf16(a), platform::Utf8ToUtf16(b));
}

// The guarded folders of this machine, normalised, each with its reason.
std::vector<std::pair<std::string, const char*>> GuardedFolders(platform::Platform& machine) {
    platform::SystemInfo& system = machine.system;
    const std::string programFiles = system.SpecialFolder(platform::csidlProgramFiles);
    const std::pair<std::string, const char*> named[] = {
        {system.WindowsFolder(), "the Windows folder"},
        {system.SystemFolder(), "the System folder"},
        {programFiles, "the Program Files folder"},
        // "Program Files (x86)" beside "Program Files".
        {programFiles.empty() ? std::string() : programFiles + " (x86)", "the Program Files folder"},
        {GetProgramFilesFolder(machine), "the Program Files folder"},
        {system.SpecialFolder(platform::csidlCommonAppData), "the ProgramData folder"},
        {system.SpecialFolder(platform::csidlProfile), "the user's folder"},
        {system.SpecialFolder(platform::csidlPersonal), "the Documents folder"},
        {system.SpecialFolder(platform::csidlDesktop), "a shell folder"},
        {system.SpecialFolder(platform::csidlMyPictures), "a shell folder"},
        {system.SpecialFolder(platform::csidlAppData), "a shell folder"},
        {system.SpecialFolder(platform::csidlLocalAppData), "a shell folder"},
        {GetLocalAppDataFolder(machine), "a shell folder"},
        {system.SpecialFolder(platform::csidlFavorites), "a shell folder"},
        {system.SpecialFolder(platform::csidlStartMenu), "a shell folder"},
        {system.SpecialFolder(platform::csidlPrograms), "a shell folder"},
    };
    std::vector<std::pair<std::string, const char*>> folders;
    for (const auto& [known, reason] : named) {
        if (known.empty()) continue;
        if (auto normal = NormalFolderPath(known)) folders.emplace_back(std::move(*normal), reason);
    }
    return folders;
}

}  // namespace

std::optional<std::string> ProtectedFolderReason(platform::Platform& machine, const std::string& folder) {
    auto normal = NormalFolderPath(folder);
    if (!normal) return std::string("not a complete folder path");
    if (IsDriveRoot(*normal)) return std::string("a drive root");
    for (const auto& [known, reason] : GuardedFolders(machine))
        if (SameFolder(known, *normal)) return std::string(reason);
    return std::nullopt;
}

bool IsBelowFolder(const std::string& inner, const std::string& outer) {
    const std::string prefix = !outer.empty() && outer.back() == '\\' ? outer : outer + "\\";
    // The byte before the rest is a "\", so the cut never splits a character.
    if (inner.size() <= prefix.size() || inner[prefix.size() - 1] != '\\') return false;
    return SameFolder(inner.substr(0, prefix.size()), prefix);
}

std::optional<std::string> ProtectedFolderBelow(platform::Platform& machine, const std::string& folder) {
    auto normal = NormalFolderPath(folder);
    if (!normal) return std::string("not a complete folder path");
    for (const auto& [known, reason] : GuardedFolders(machine))
        if (IsBelowFolder(known, *normal)) return std::string(reason) + ": " + known;
    return std::nullopt;
}

bool HasLinkOnTheWay(platform::FileSystem& files, const std::string& folder) {
    auto normal = NormalFolderPath(folder);
    if (!normal) return true;
    const std::string& path = *normal;
    // Each folder from the one below the root (or the share) down to the folder itself.
    size_t start = path.size() > 1 && path[0] == '\\' && path[1] == '\\' ? path.find('\\', path.find('\\', 2) + 1)
                                                                          : path.find('\\');
    if (start == std::string::npos) return false;
    for (size_t end = path.find('\\', start + 1);; end = path.find('\\', end + 1)) {
        std::string step = path.substr(0, end);
        if (step.size() > start + 1) {
            auto attributes = files.GetAttributes(step);
            if (attributes && (*attributes & platform::faReparsePoint)) return true;
        }
        if (end == std::string::npos) break;
    }
    return false;
}

}  // namespace nullvane::removal
