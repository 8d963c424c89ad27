#include "settings/HiddenBrowserWindows.h"

#include <algorithm>
#include <charconv>

namespace nullvane::settings {

std::vector<platform::TopLevelWindow> TakeHiddenBrowserWindows(platform::ProfileFile& profiles,
                                                               const std::string& optionsPath) {
    const std::string value = profiles.GetString(optionsPath, kHiddenWindowsSection, kHiddenWindowsKey, "");
    std::vector<platform::TopLevelWindow> windows;
    if (value.empty()) return windows;
    size_t start = 0;
    while (start <= value.size()) {
        const size_t comma = std::min(value.find(',', start), value.size());
        const std::string item = value.substr(start, comma - start);
        platform::WindowId handle = 0;
        const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), handle);
        if (error == std::errc() && end == item.data() + item.size()) windows.push_back({handle, "", false});
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
        value += std::to_string(window.window);
    }
    (void)profiles.WriteString(optionsPath, kHiddenWindowsSection, kHiddenWindowsKey, value);
}

}  // namespace nullvane::settings
