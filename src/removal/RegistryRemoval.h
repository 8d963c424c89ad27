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

// Values in the key and every key below it; 0 if it cannot be opened with full access.
[[nodiscard]] int32_t CountRegistryValues(run::TRunContext& run, platform::RegRoot root, const std::string& subkey);

// Key paths may be spelled with repeated, leading or trailing backslashes; they name
// the same key as the plain form. A path naming the root itself gives 0 and
// touches nothing. A Test counts what a Clean would try; a Clean counts what
// is gone afterwards, so a key that stays counts only what was removed below it.
[[nodiscard]] int32_t DeleteRegistryKey(run::TRunContext& run, const std::string& rootText, const std::string& subkey);
[[nodiscard]] int32_t DeleteUserRegistryKey(run::TRunContext& run, const std::string& subkey);
// An empty value name stands for every value of the key (and every subkey).
[[nodiscard]] int32_t DeleteRegistryValues(run::TRunContext& run, const std::string& rootText,
                                           const std::string& subkey, const std::string& valueName);
[[nodiscard]] int32_t DeleteUserRegistryValues(run::TRunContext& run, const std::string& subkey,
                                               const std::string& valueName);

}  // namespace nullvane::removal
