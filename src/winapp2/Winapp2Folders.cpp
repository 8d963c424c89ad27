#include "winapp2/Winapp2Folders.h"

#include <algorithm>
#include <iterator>

#include "platform/Text.h"
#include "removal/NormalFolderPath.h"
#include "removal/ProtectedFolders.h"
#include "winapp2/Winapp2Gate.h"

namespace nullvane::winapp2 {

namespace {

std::string ParentOf(const std::string& folder) {
    const size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos || slash < 3 ? std::string() : folder.substr(0, slash);
}

// True when `path` is `area` or lies below it, compared as the file system does.
bool Within(const std::string& path, const std::string& area) {
    if (area.empty()) return false;
    const std::u16string wide = platform::Utf8ToUtf16(path);
    const std::u16string root = platform::Utf8ToUtf16(area);
    if (wide.size() < root.size() ||
        !platform::SystemEqualsIgnoreCase(std::u16string_view(wide).substr(0, root.size()), root))
        return false;
    return wide.size() == root.size() || wide[root.size()] == u'\\' || root.back() == u'\\';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) { return platform::EqualsIgnoreCase(a, b); }

constexpr std::string_view kSystemVariables[] = {"WinDir", "SystemDrive", "ProgramFiles", "ProgramData",
                                                 "CommonProgramFiles"};

}  // namespace

std::vector<std::string> VariableFolders(platform::Platform& machine, std::string_view variable) {
    platform::SystemInfo& system = machine.system;
    std::vector<std::string> folders;
    auto add = [&](std::string folder) {
        if (folder.empty()) return;
        if (auto normal = removal::NormalFolderPath(folder)) folder = *normal;
        for (const std::string& known : folders)
            if (EqualsIgnoringCase(known, folder)) return;
        folders.push_back(std::move(folder));
    };
    const auto is = [&](std::string_view name) { return EqualsIgnoringCase(variable, name); };
    if (is("LocalAppData")) add(system.SpecialFolder(platform::csidlLocalAppData));
    else if (is("AppData")) add(system.SpecialFolder(platform::csidlAppData));
    else if (is("ProgramFiles")) {
        add(system.SpecialFolder(platform::csidlProgramFiles));
        add(system.SpecialFolder(platform::csidlProgramFilesX86));
    } else if (is("ProgramData")) add(system.SpecialFolder(platform::csidlCommonAppData));
    else if (is("UserProfile")) add(system.SpecialFolder(platform::csidlProfile));
    else if (is("WinDir")) add(system.WindowsFolder());
    else if (is("SystemDrive")) {
        const std::string windows = system.WindowsFolder();
        if (windows.size() >= 2 && windows[1] == ':') add(windows.substr(0, 2));
    } else if (is("CommonProgramFiles")) {
        add(system.SpecialFolder(platform::csidlProgramFilesCommon));
        add(system.SpecialFolder(platform::csidlProgramFilesCommonX86));
    } else if (is("Public")) add(ParentOf(system.SpecialFolder(platform::csidlCommonDocuments)));
    else if (is("LocalLowAppData")) {
        const std::string parent = ParentOf(system.SpecialFolder(platform::csidlLocalAppData));
        if (!parent.empty()) add(parent + "\\LocalLow");
    } else if (is("Documents")) add(system.SpecialFolder(platform::csidlPersonal));
    return folders;
}

TFolderExpansion ExpandWinapp2Folder(platform::Platform& machine, std::string_view folder) {
    return ExpandWinapp2Folder(folder, [&](std::string_view variable) { return VariableFolders(machine, variable); });
}

TFolderExpansion ExpandWinapp2Folder(std::string_view folder, const TVariableFolders& variableFolders) {
    TFolderExpansion expansion;
    if (folder.empty() || folder.front() != '%') {
        expansion.Refusal = "not below a variable: " + std::string(folder);
        return expansion;
    }
    const size_t close = folder.find('%', 1);
    if (close == std::string_view::npos) {
        expansion.Refusal = std::string("a \"%\" left open in ") + std::string(folder);
        return expansion;
    }
    const std::string_view variable = folder.substr(1, close - 1);
    std::string_view rest = folder.substr(close + 1);
    if (!IsKnownVariable(variable)) {
        expansion.Refusal = "an unknown variable %" + std::string(variable) + "%";
        return expansion;
    }
    if (!rest.empty() && rest.front() != '\\') {
        expansion.Refusal = "not below a variable: " + std::string(folder);
        return expansion;
    }
    // A variable further on would be expanded by nobody: the folder would be taken literally.
    if (rest.find('%') != std::string_view::npos) {
        expansion.Refusal = "a variable after the start: " + std::string(folder);
        return expansion;
    }
    // Other names for a folder than its own: a stream of it ("TabState::$INDEX_ALLOCATION")
    // or its short name ("FAVORI~1") would slip past the guard's names.
    if (rest.find(':') != std::string_view::npos) {
        expansion.Refusal = "a \":\" inside the folder: " + std::string(folder);
        return expansion;
    }
    for (size_t tilde = rest.find('~'); tilde != std::string_view::npos; tilde = rest.find('~', tilde + 1)) {
        if (tilde + 1 < rest.size() && rest[tilde + 1] >= '0' && rest[tilde + 1] <= '9') {
            expansion.Refusal = "a short name in the folder: " + std::string(folder);
            return expansion;
        }
    }
    while (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
    // The system's own variables: what lies below them belongs to every user.
    const bool systemArea = std::any_of(
        std::begin(kSystemVariables), std::end(kSystemVariables),
        [&](std::string_view name) { return EqualsIgnoringCase(variable, name); });
    for (const std::string& base : variableFolders(variable)) {
        std::string path = base + std::string(rest);
        if (path.size() == 2 && path[1] == ':') path += '\\';  // %SystemDrive% alone is the drive's root
        expansion.Folders.push_back(TWinapp2Folder{std::move(path), systemArea});
    }
    return expansion;
}

std::optional<std::string> FolderRefusal(platform::Platform& machine, const TWinapp2Folder& folder, bool elevated) {
    if (auto reason = removal::ProtectedFolderReason(machine, folder.Path)) return *reason;
    for (const std::string& cache : VariableFolders(machine, "ProgramData"))
        if (Within(folder.Path, cache + "\\Package Cache")) return std::string("the installers' package cache");
    for (const std::string& windows : VariableFolders(machine, "WinDir"))
        if (Within(folder.Path, windows + "\\Installer")) return std::string("Windows' installer cache");
    if (folder.SystemArea && !elevated) return std::string("a system folder, and Nullvane does not run elevated");
    return std::nullopt;
}

std::optional<std::string> RecursiveFolderRefusal(platform::Platform& machine, const std::string& folder,
                                                  const TVariableFolders& variableFolders) {
    if (auto below = removal::ProtectedFolderBelow(machine, folder)) return "a folder holding " + *below;
    const auto normal = removal::NormalFolderPath(folder);
    if (!normal) return std::string("not a complete folder path");
    for (std::string_view variable : KnownVariables()) {
        for (const std::string& own : variableFolders(variable)) {
            // %SystemDrive% is the drive's root, which the guard refuses itself.
            const auto ownNormal = removal::NormalFolderPath(own);
            if (!ownNormal || removal::IsDriveRoot(*ownNormal)) continue;
            if (Within(*normal, *ownNormal) && Within(*ownNormal, *normal))
                return "the folder of %" + std::string(variable) + "% with its subfolders";
            if (removal::IsBelowFolder(*ownNormal, *normal))
                return "a folder holding the folder of %" + std::string(variable) + "%: " + *ownNormal;
        }
    }
    return std::nullopt;
}

}  // namespace nullvane::winapp2
