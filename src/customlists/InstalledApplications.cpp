#include "customlists/InstalledApplications.h"

#include <algorithm>

#include "customlists/RunDataSection.h"
#include "platform/Text.h"

namespace nullvane::customlists {

namespace {

constexpr char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kUninstall32[] = "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The section names are read into a buffer of this size; names past it are not seen.
constexpr size_t kSectionNamesBuffer = 16384;

std::u16string Upper(const std::string& text) {
    std::u16string wide = platform::Utf8ToUtf16(text);
    for (char16_t& c : wide) c = platform::SystemUpperCase(c);
    return wide;
}

}  // namespace

bool ApplicationNamesMatch(const std::string& sectionName, const std::string& displayName) {
    const std::u16string section = Upper(sectionName);
    const std::u16string display = Upper(displayName);
    return display.find(section) != std::u16string::npos || section.find(display) != std::u16string::npos;
}

std::vector<std::string> InstalledApplicationSections(platform::Platform& machine) {
    const std::string dataFile = machine.system.ProgramFolder() + kApplicationsDataFile;
    const std::vector<std::string> sections = machine.profiles.SectionNames(dataFile, kSectionNamesBuffer);
    std::vector<std::string> found;
    if (sections.empty()) return found;

    const std::pair<platform::RegRoot, const char*> lists[] = {{platform::RegRoot::LocalMachine, kUninstall},
                                                               {platform::RegRoot::LocalMachine, kUninstall32},
                                                               {platform::RegRoot::CurrentUser, kUninstall}};
    for (const auto& [root, path] : lists) {
        // Reading is all this needs: an unelevated user may not open the
        // machine's list with full access.
        auto list = machine.registry.OpenKey(root, path, platform::RegAccess::Read);
        if (!list) continue;
        for (const std::string& entry : list->SubkeyNames()) {
            auto key = machine.registry.OpenKey(root, std::string(path) + "\\" + entry, platform::RegAccess::Read);
            if (!key) continue;
            auto value = key->QueryValue("DisplayName");
            if (!value || !value->IsString()) continue;
            const std::string displayName = value->AsString();
            if (displayName.empty()) continue;
            for (const std::string& section : sections) {
                if (section.empty() || !ApplicationNamesMatch(section, displayName)) continue;
                const bool known = std::any_of(found.begin(), found.end(), [&](const std::string& name) {
                    return platform::SystemEqualsIgnoreCase(platform::Utf8ToUtf16(name), platform::Utf8ToUtf16(section));
                });
                if (!known) found.push_back(section);
            }
        }
    }
    return found;
}

}  // namespace nullvane::customlists
