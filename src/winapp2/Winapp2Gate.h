#pragma once
// The rules a winapp2.ini entry passes before anything of it runs: files no
// entry may name whatever its masks say (certificate and password stores,
// bookmarks, the browsers' settings, the registry hives, mail stores),
// Notepad's unsaved tabs, Explorer's own jump list, and FileKeys whose
// folder names an unknown variable or more wildcards than a real entry
// needs. Each rule answers with the reason the log gives after "refused: ".
#include <optional>
#include <string>
#include <span>
#include <string_view>

namespace nullvane::winapp2 {

// The most wildcards ("*", "?") one FileKey's folder and masks may hold.
inline constexpr int kMaxWildcards = 10;

// Why no entry may remove a file of this name (without its folder), or
// nullopt. Names compare ignoring case.
[[nodiscard]] std::optional<std::string> ProtectedFileReason(std::string_view fileName);

// True when a folder on `path` is named TabState (Notepad's unsaved tabs).
[[nodiscard]] bool LiesUnderTabState(std::string_view path);

// The variables an entry's folders may start with, as the catalogue writes
// them ("%AppData%"), ignoring case.
[[nodiscard]] bool IsKnownVariable(std::string_view name);
// Every variable a FileKey may start with, as the format spells it.
[[nodiscard]] std::span<const std::string_view> KnownVariables();

// Why a FileKey is refused before its folder is expanded: a variable this
// program does not know, a "%" left open, or more than kMaxWildcards
// wildcards in its folder and masks together.
[[nodiscard]] std::optional<std::string> FileKeyPatternRefusal(std::string_view folder, std::string_view masks);

}  // namespace nullvane::winapp2
