#include "removal/RegistryRemoval.h"

#include <array>

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "run/Texts.h"
#include "settings/OptionsSetting.h"

namespace nullvane::removal {

using platform::RegAccess;
using platform::RegRoot;

namespace {

constexpr std::array<std::pair<const char*, RegRoot>, 5> kRoots{{
    {"HKEY_CURRENT_USER", RegRoot::CurrentUser},
    {"HKEY_CLASSES_ROOT", RegRoot::ClassesRoot},
    {"HKEY_USERS", RegRoot::Users},
    {"HKEY_CURRENT_CONFIG", RegRoot::CurrentConfig},
    {"HKEY_LOCAL_MACHINE", RegRoot::LocalMachine},
}};

// A leading "\" on a subkey means the same as none.
std::string KeyPath(const std::string& subkey) {
    return !subkey.empty() && subkey.front() == '\\' ? subkey.substr(1) : subkey;
}

void LogLine(run::TRunContext& run, const char* phrase, const std::string& what) {
    if (settings::CurrentOptions.FastScan) return;
    run.AddLogLine(run.LogPrefix + phrase + " " + what);
    ScrollLogIfDue(run, 0);
}

// Depth first, last subkey first, then the key itself.
void DeleteKeyTree(platform::Registry& registry, RegRoot root, const std::string& path) {
    {
        platform::RegKeyPtr key = registry.OpenKey(root, path, RegAccess::Full);
        if (!key) return;
        std::vector<std::string> names = key->SubkeyNames();
        for (auto name = names.rbegin(); name != names.rend(); ++name) DeleteKeyTree(registry, root, path + "\\" + *name);
    }
    (void)registry.DeleteKey(root, path);
}

}  // namespace

std::optional<RegRoot> RootKeyFromName(const std::string& rootText) {
    std::string upper = platform::UpperAscii(rootText);
    for (const auto& [name, root] : kRoots)
        if (upper == name) return root;
    return std::nullopt;
}

std::string RootKeyName(RegRoot root) {
    for (const auto& [name, value] : kRoots)
        if (value == root) return name;
    return {};
}

int32_t CountRegistryValues(run::TRunContext& run, RegRoot root, const std::string& subkey) {
    std::string path = KeyPath(subkey);
    platform::RegKeyPtr key = run.Machine.registry.OpenKey(root, path, RegAccess::Full);
    if (!key) return 0;
    auto count = static_cast<int32_t>(key->ValueCount());
    for (const std::string& name : key->SubkeyNames())
        count += CountRegistryValues(run, root, path.empty() ? name : path + "\\" + name);
    return count;
}

int32_t DeleteRegistryKey(run::TRunContext& run, const std::string& rootText, const std::string& subkey) {
    auto root = RootKeyFromName(rootText);
    if (!root) return 0;
    std::string path = KeyPath(subkey);
    // An empty path would name the root itself, which is never removed.
    if (path.empty()) return 0;
    int32_t count = CountRegistryValues(run, *root, subkey);
    if (run.Machine.registry.OpenKey(*root, path, RegAccess::Read)) {
        LogLine(run, run::texts::kDeletingRegistryKey, platform::UpperAscii(rootText) + "\\" + subkey);
        if (!run.IsTestRun()) DeleteKeyTree(run.Machine.registry, *root, path);
        if (count == 0) count = 1;
    }
    return count;
}

int32_t DeleteUserRegistryKey(run::TRunContext& run, const std::string& subkey) {
    return DeleteRegistryKey(run, "HKEY_CURRENT_USER", subkey);
}

int32_t DeleteRegistryValues(run::TRunContext& run, const std::string& rootText, const std::string& subkey,
                             const std::string& valueName) {
    auto root = RootKeyFromName(rootText);
    if (!root) return 0;
    // Every value of a whole root is never what an entry means.
    if (KeyPath(subkey).empty() && valueName.empty()) return 0;
    platform::RegKeyPtr key = run.Machine.registry.OpenKey(*root, KeyPath(subkey), RegAccess::Full);
    if (!key) return 0;
    std::string prefix = platform::UpperAscii(rootText) + "\\" + subkey + "\\";
    if (!valueName.empty()) {
        if (!key->QueryValue(valueName)) return 0;
        LogLine(run, run::texts::kDeletingRegistryValue, prefix + valueName);
        if (!run.IsTestRun()) (void)key->DeleteValue(valueName);
        return 1;
    }
    int32_t count = 0;
    for (const platform::RegValue& value : key->Values()) {
        LogLine(run, run::texts::kDeletingRegistryValue, prefix + value.name);
        if (!run.IsTestRun()) (void)key->DeleteValue(value.name);
        ++count;
    }
    for (const std::string& name : key->SubkeyNames()) count += DeleteRegistryKey(run, rootText, subkey + "\\" + name);
    return count;
}

int32_t DeleteUserRegistryValues(run::TRunContext& run, const std::string& subkey, const std::string& valueName) {
    return DeleteRegistryValues(run, "HKEY_CURRENT_USER", subkey, valueName);
}

}  // namespace nullvane::removal
