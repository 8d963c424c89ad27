#pragma once
// Counting and removing registry keys and values for the run.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "base/RunContext.h"

namespace nullvane::removal {

// "HKEY_CURRENT_USER" etc. (any case) to a root; nullopt for anything else.
[[nodiscard]] std::optional<platform::RegRoot> RootKeyFromName(const std::string& rootText);
[[nodiscard]] std::string RootKeyName(platform::RegRoot root);

// True when the key is a whole hive under any name: a root itself, a key
// directly under HKEY_USERS (a user's hive, which is HKEY_CURRENT_USER, its
// "_Classes" twin, ".DEFAULT") or HKEY_LOCAL_MACHINE (SOFTWARE, SYSTEM, SAM,
// ...), or a "Software\Classes" key of the machine or a user, which make up
// HKEY_CLASSES_ROOT. Roots may be abbreviated (HKLM); case and repeated or
// trailing backslashes do not matter. The removals below refuse such keys.
[[nodiscard]] bool IsWholeRegistryRoot(const std::string& rootText, const std::string& subkey);

// Values in the key and every key below it; 0 if it cannot be opened with full access.
[[nodiscard]] int32_t CountRegistryValues(base::TRunContext& run, platform::RegRoot root, const std::string& subkey);

// Key paths may be spelled with repeated, leading or trailing backslashes; they name
// the same key as the plain form. A key naming a whole hive (IsWholeRegistryRoot)
// gives 0, touches nothing and logs that it was skipped, with the root and the
// subkey as given. A Test counts what a Clean would try; a Clean counts what
// is gone afterwards, so a key that stays counts only what was removed below it.
[[nodiscard]] int32_t DeleteRegistryKey(base::TRunContext& run, const std::string& rootText, const std::string& subkey);
[[nodiscard]] int32_t DeleteUserRegistryKey(base::TRunContext& run, const std::string& subkey);
// An empty value name stands for every value of the key (and every subkey).
[[nodiscard]] int32_t DeleteRegistryValues(base::TRunContext& run, const std::string& rootText,
                                           const std::string& subkey, const std::string& valueName);
[[nodiscard]] int32_t DeleteUserRegistryValues(base::TRunContext& run, const std::string& subkey,
                                               const std::string& valueName);

}  // namespace nullvane::removal
