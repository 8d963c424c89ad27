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
    return static_cast<bool>(registry.OpenKey(root, path, RegAccess::Read));
}

// The key as the entry spelled it, for the log.
std::string GivenKey(const std::string& rootText, const std::string& subkey) {
    return subkey.empty() ? rootText : rootText + "\\" + subkey;
}

// A refusal shows even in Fast Mode: it says why an entry did nothing.
bool SkipWholeRoot(base::TRunContext& run, const std::string& rootText, const std::string& subkey) {
    if (!IsWholeRegistryRoot(rootText, subkey)) return false;
    run.AddLogLine(run.LogPrefix + base::texts::kSkippingWholeRegistryRoot + " " + GivenKey(rootText, subkey));
    return true;
}

void LogLine(base::TRunContext& run, const char* phrase, const std::string& what) {
    if (run.FastScan()) return;
    run.AddLogLine(run.LogPrefix + phrase + " " + what);
    ScrollLogIfDue(run, 0);
}

// Depth first, last subkey first, then the key itself.
void DeleteKeyTree(platform::Registry& registry, RegRoot root, const std::string& path) {
    {
        auto key = registry.OpenKey(root, path, RegAccess::Full);
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

bool IsWholeRegistryRoot(const std::string& rootText, const std::string& subkey) {
    const std::string root = platform::UpperAscii(rootText);
    std::vector<std::string> names;
    const std::string path = platform::UpperAscii(NormalKeyPath(subkey));
    for (size_t start = 0; start < path.size();) {
        size_t end = std::min(path.find('\\', start), path.size());
        names.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    const auto classesAt = [&](size_t depth) {
        return names.size() == depth + 2 && names[depth] == "SOFTWARE" && names[depth + 1] == "CLASSES";
    };
    if (root == "HKEY_USERS" || root == "HKU") return names.size() <= 1 || classesAt(1);
    if (root == "HKEY_LOCAL_MACHINE" || root == "HKLM") return names.size() <= 1 || classesAt(0);
    if (root == "HKEY_CURRENT_USER" || root == "HKCU") return names.empty() || classesAt(0);
    if (root == "HKEY_CLASSES_ROOT" || root == "HKCR" || root == "HKEY_CURRENT_CONFIG" || root == "HKCC")
        return names.empty();
    return false;
}

std::string RootKeyName(RegRoot root) {
    for (const auto& [name, value] : kRoots)
        if (value == root) return name;
    return {};
}

int32_t CountRegistryValues(base::TRunContext& run, RegRoot root, const std::string& subkey) {
    std::string path = NormalKeyPath(subkey);
    auto key = run.Machine.registry.OpenKey(root, path, RegAccess::Full);
    if (!key) return 0;
    auto count = static_cast<int32_t>(key->ValueCount());
    for (const std::string& name : key->SubkeyNames()) count += CountRegistryValues(run, root, ChildPath(path, name));
    return count;
}

int32_t DeleteRegistryKey(base::TRunContext& run, const std::string& rootText, const std::string& subkey) {
    if (SkipWholeRoot(run, rootText, subkey)) return 0;
    auto root = RootKeyFromName(rootText);
    if (!root) return 0;
    std::string path = NormalKeyPath(subkey);
    platform::Registry& registry = run.Machine.registry;
    if (!KeyExists(registry, *root, path)) return 0;
    int32_t found = CountRegistryValues(run, *root, path);
    LogLine(run, base::texts::kDeletingRegistryKey, platform::UpperAscii(rootText) + "\\" + path);
    // A Test counts what a Clean would try; a Clean counts what is gone.
    if (run.IsTestRun()) return std::max(found, 1);
    DeleteKeyTree(registry, *root, path);
    if (!KeyExists(registry, *root, path)) return std::max(found, 1);
    // Something below held the key: only the values no longer found were removed.
    return std::max(found - CountRegistryValues(run, *root, path), 0);
}

int32_t DeleteUserRegistryKey(base::TRunContext& run, const std::string& subkey) {
    return DeleteRegistryKey(run, "HKEY_CURRENT_USER", subkey);
}

int32_t DeleteRegistryValues(base::TRunContext& run, const std::string& rootText, const std::string& subkey,
                             const std::string& valueName) {
    // Every value of a whole hive is never what an entry means; one named value is.
    if (valueName.empty() && SkipWholeRoot(run, rootText, subkey)) return 0;
    auto root = RootKeyFromName(rootText);
    if (!root) return 0;
    std::string path = NormalKeyPath(subkey);
    auto key = run.Machine.registry.OpenKey(*root, path, RegAccess::Full);
    if (!key) return 0;
    std::string prefix = platform::UpperAscii(rootText) + "\\" + (path.empty() ? "" : path + "\\");
    if (!valueName.empty()) {
        if (!key->QueryValue(valueName)) return 0;
        LogLine(run, base::texts::kDeletingRegistryValue, prefix + valueName);
        if (run.IsTestRun()) return 1;
        return key->DeleteValue(valueName) && !key->QueryValue(valueName) ? 1 : 0;
    }
    std::vector<platform::RegValue> values = key->Values();
    for (const platform::RegValue& value : values) {
        LogLine(run, base::texts::kDeletingRegistryValue, prefix + value.name);
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

int32_t DeleteUserRegistryValues(base::TRunContext& run, const std::string& subkey, const std::string& valueName) {
    return DeleteRegistryValues(run, "HKEY_CURRENT_USER", subkey, valueName);
}

}  // namespace nullvane::removal
