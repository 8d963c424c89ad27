#include "settings/HiddenBrowserWindows.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace nullvane::settings {

namespace {

template <class T>
std::optional<T> NumberOf(std::string_view text) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// "handle:process:class"; an entry without the process and the class (as
// older versions wrote them) cannot tell its window from a later one.
std::optional<platform::TopLevelWindow> EntryOf(std::string_view entry) {
    const size_t first = entry.find(':');
    if (first == std::string_view::npos) return std::nullopt;
    const size_t second = entry.find(':', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const auto handle = NumberOf<platform::WindowId>(entry.substr(0, first));
    const auto process = NumberOf<uint32_t>(entry.substr(first + 1, second - first - 1));
    const std::string_view className = entry.substr(second + 1);
    if (!handle || *handle == 0 || !process || *process == 0 || className.empty()) return std::nullopt;
    return platform::TopLevelWindow{*handle, std::string(className), false, *process};
}

}  // namespace

std::vector<platform::TopLevelWindow> TakeHiddenBrowserWindows(platform::ProfileFile& profiles,
                                                               const std::string& optionsPath) {
    const std::string value = profiles.GetString(optionsPath, kHiddenWindowsSection, kHiddenWindowsKey, "");
    std::vector<platform::TopLevelWindow> windows;
    if (value.empty()) return windows;
    size_t start = 0;
    while (start <= value.size()) {
        const size_t comma = std::min(value.find(',', start), value.size());
        if (auto window = EntryOf(std::string_view(value).substr(start, comma - start))) windows.push_back(*window);
        start = comma + 1;
    }
    (void)profiles.EraseKey(optionsPath, kHiddenWindowsSection, kHiddenWindowsKey);
    return windows;
}

void WriteHiddenBrowserWindows(platform::ProfileFile& profiles, const std::string& optionsPath,
                               const std::vector<platform::TopLevelWindow>& windows) {
    if (windows.empty()) {
        (void)profiles.EraseKey(optionsPath, kHiddenWindowsSection, kHiddenWindowsKey);
        return;
    }
    std::string value;
    for (const auto& window : windows) {
        if (!value.empty()) value += ",";
        value += std::to_string(window.window) + ":" + std::to_string(window.processId) + ":" + window.className;
    }
    (void)profiles.WriteString(optionsPath, kHiddenWindowsSection, kHiddenWindowsKey, value);
}

}  // namespace nullvane::settings
