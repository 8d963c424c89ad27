#include "winapp2/Winapp2Gate.h"

#include <algorithm>
#include <array>

#include "platform/Text.h"

namespace nullvane::winapp2 {

namespace {

using platform::EqualsIgnoreCase;

bool StartsIgnoringCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && EqualsIgnoreCase(text.substr(0, start.size()), start);
}

bool EndsIgnoringCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && EqualsIgnoreCase(text.substr(text.size() - end.size()), end);
}

struct TProtectedName {
    std::string_view Name;
    std::string_view Reason;
};

// Exact names.
constexpr std::array<TProtectedName, 13> kProtectedNames = {{
    {"cert9.db", "a browser's certificate store"},
    {"key4.db", "a browser's password key store"},
    {"logins.json", "a browser's saved passwords"},
    {"logins-backup.json", "a browser's saved passwords"},
    {"Login Data", "a browser's saved passwords"},
    {"Login Data For Account", "a browser's saved passwords"},
    {"Bookmarks", "a browser's bookmarks"},
    {"Bookmarks.bak", "a browser's bookmarks"},
    {"places.sqlite", "a browser's bookmarks and history database"},
    {"favicons.sqlite", "a browser's bookmark icons"},
    {"Preferences", "a browser's settings"},
    {"Secure Preferences", "a browser's settings"},
    {"Local State", "a browser's settings"},
}};

// Explorer's own jump list: the recent and pinned folders of every window.
constexpr std::string_view kExplorerJumpList = "f01b4d95cf55d32a.automaticDestinations-ms";

constexpr std::array<std::string_view, 11> kVariables = {
    "LocalAppData", "AppData", "ProgramFiles", "ProgramData", "UserProfile", "WinDir",
    "SystemDrive", "CommonProgramFiles", "Public", "LocalLowAppData", "Documents",
};

}  // namespace

std::optional<std::string> ProtectedFileReason(std::string_view fileName) {
    for (const TProtectedName& name : kProtectedNames)
        if (EqualsIgnoreCase(fileName, name.Name)) return std::string(name.Reason) + " (" + std::string(name.Name) + ")";
    if (StartsIgnoringCase(fileName, "NTUSER.DAT") || StartsIgnoringCase(fileName, "UsrClass.dat"))
        return "a registry hive (" + std::string(fileName) + ")";
    if (EndsIgnoringCase(fileName, ".pst") || EndsIgnoringCase(fileName, ".ost"))
        return "a mail store (" + std::string(fileName) + ")";
    if (EqualsIgnoreCase(fileName, kExplorerJumpList)) return "Explorer's own jump list (" + std::string(fileName) + ")";
    return std::nullopt;
}

bool LiesUnderTabState(std::string_view path) {
    while (!path.empty()) {
        const size_t slash = path.find_first_of("\\/");
        if (EqualsIgnoreCase(path.substr(0, slash), "TabState")) return true;
        if (slash == std::string_view::npos) return false;
        path.remove_prefix(slash + 1);
    }
    return false;
}

std::span<const std::string_view> KnownVariables() { return kVariables; }

bool IsKnownVariable(std::string_view name) {
    return std::any_of(kVariables.begin(), kVariables.end(), [&](std::string_view known) { return EqualsIgnoreCase(name, known); });
}

std::optional<std::string> FileKeyPatternRefusal(std::string_view folder, std::string_view masks) {
    for (size_t at = folder.find('%'); at != std::string_view::npos; at = folder.find('%', at)) {
        const size_t close = folder.find('%', at + 1);
        if (close == std::string_view::npos) return std::string("a \"%\" left open in ") + std::string(folder);
        const std::string_view name = folder.substr(at + 1, close - at - 1);
        if (!IsKnownVariable(name)) return "an unknown variable %" + std::string(name) + "%";
        at = close + 1;
    }
    const auto wildcards = [](std::string_view text) { return std::count_if(text.begin(), text.end(), [](char c) { return c == '*' || c == '?'; }); };
    if (wildcards(folder) + wildcards(masks) > kMaxWildcards)
        return "more than " + std::to_string(kMaxWildcards) + " wildcards";
    return std::nullopt;
}

}  // namespace nullvane::winapp2
