#include "removal/RegistryRemoval.h"

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#include "platform/Text.h"
#include "removal/FileRemoval.h"
#include "base/Texts.h"

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

// "\Software\\Vendor\" and "Software\Vendor" name the same key: the names
// joined by single backslashes, none at either end. Empty for the root itself.
std::string NormalKeyPath(const std::string& subkey) {
    std::string path;
    path.reserve(subkey.size());
    for (char c : subkey) {
        if (c == '\\' && (path.empty() || path.back() == '\\')) continue;
        path += c;
    }
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

std::string ChildPath(const std::string& path, const std::string& name) {
    return path.empty() ? name : path + "\\" + name;
}

bool KeyExists(platform::Registry& registry, RegRoot root, const std::string& path) {
    return registry.OpenKey(root, path, RegAccess::Read) != nullptr;
}

void LogLine(run::TRunContext& run, const char* phrase, const std::string& what) {
    if (run.FastScan()) return;
    run.AddLogLine(run.LogPrefix + phrase + " " + what);
    ScrollLogIfDue(run, 0);
}

// Depth first, last subkey first, then the key itself.
void DeleteKeyTree(platform::Registry& registry, RegRoot root, const std::string& path) {
    {
        platform::RegKeyPtr key = registry.OpenKey(root, path, RegAccess::Full);
        if (!key) return;
        std::vector<std::string> names = key->SubkeyNames();
        for (auto name = names.rbegin(); name != names.rend(); ++name)
            DeleteKeyTree(registry, root, ChildPath(path, *name));
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
    std::string path = NormalKeyPath(subkey);
    platform::RegKeyPtr key = run.Machine.registry.OpenKey(root, path, RegAccess::Full);
    if (!key) return 0;
    auto count = static_cast<int32_t>(key->ValueCount());
    for (const std::string& name : key->SubkeyNames()) count += CountRegistryValues(run, root, ChildPath(path, name));
    return count;
}

int32_t DeleteRegistryKey(run::TRunContext& run, const std::string& rootText, const std::string& subkey) {
    auto root = RootKeyFromName(rootText);
    if (!root) return 0;
    std::string path = NormalKeyPath(subkey);
    // The root itself is never removed, however its path is spelled.
    if (path.empty()) return 0;
    platform::Registry& registry = run.Machine.registry;
    if (!KeyExists(registry, *root, path)) return 0;
    int32_t found = CountRegistryValues(run, *root, path);
    LogLine(run, run::texts::kDeletingRegistryKey, platform::UpperAscii(rootText) + "\\" + path);
    // A Test counts what a Clean would try; a Clean counts what is gone.
    if (run.IsTestRun()) return std::max(found, 1);
    DeleteKeyTree(registry, *root, path);
    if (!KeyExists(registry, *root, path)) return std::max(found, 1);
    // Something below held the key: only the values no longer found were removed.
    return std::max(found - CountRegistryValues(run, *root, path), 0);
}

int32_t DeleteUserRegistryKey(run::TRunContext& run, const std::string& subkey) {
    return DeleteRegistryKey(run, "HKEY_CURRENT_USER", subkey);
}

int32_t DeleteRegistryValues(run::TRunContext& run, const std::string& rootText, const std::string& subkey,
                             const std::string& valueName) {
    auto root = RootKeyFromName(rootText);
    if (!root) return 0;
    std::string path = NormalKeyPath(subkey);
    // Every value of a whole root is never what an entry means.
    if (path.empty() && valueName.empty()) return 0;
    platform::RegKeyPtr key = run.Machine.registry.OpenKey(*root, path, RegAccess::Full);
    if (!key) return 0;
    std::string prefix = platform::UpperAscii(rootText) + "\\" + (path.empty() ? "" : path + "\\");
    if (!valueName.empty()) {
        if (!key->QueryValue(valueName)) return 0;
        LogLine(run, run::texts::kDeletingRegistryValue, prefix + valueName);
        if (run.IsTestRun()) return 1;
        return key->DeleteValue(valueName) && !key->QueryValue(valueName) ? 1 : 0;
    }
    std::vector<platform::RegValue> values = key->Values();
    for (const platform::RegValue& value : values) {
        LogLine(run, run::texts::kDeletingRegistryValue, prefix + value.name);
        if (!run.IsTestRun()) (void)key->DeleteValue(value.name);
    }
    auto count = static_cast<int32_t>(values.size());
    if (!run.IsTestRun()) {
        // Only the values that no longer show in the key count as removed.
        std::set<std::string> left;
        for (const platform::RegValue& value : key->Values()) left.insert(value.name);
        count = static_cast<int32_t>(std::count_if(values.begin(), values.end(), [&](const platform::RegValue& value) {
            return left.count(value.name) == 0;
        }));
    }
    for (const std::string& name : key->SubkeyNames()) count += DeleteRegistryKey(run, rootText, ChildPath(path, name));
    return count;
}

int32_t DeleteUserRegistryValues(run::TRunContext& run, const std::string& subkey, const std::string& valueName) {
    return DeleteRegistryValues(run, "HKEY_CURRENT_USER", subkey, valueName);
}

}  // namespace nullvane::removal
