#include "cleaners/Cleaners.h"

#include <exception>

#include "removal/RegistryRemoval.h"
#include "stores/PStorage.h"

namespace nullvane::cleaners {

namespace {

constexpr char kBrowserTypeName[] = "Internet Explorer";

// The browser's items in Protected Storage. The count is set per subtype,
// so it tells about the last subtype examined; every item of such a
// subtype is deleted in a Clean, whatever its name.
void ClearProtectedStorage(base::TRunContext& run) {
    stores::TPStorage storage(run.Machine.protectedStorage);
    if (!storage.IsAvailable() || !storage.Open()) return;
    const stores::TIDList types = storage.EnumTypes();
    for (int t = 0; t < types.Count(); ++t) {
        const platform::Guid type = types.GetId(t);
        if (storage.GetTypeName(type) != kBrowserTypeName) continue;
        const stores::TIDList subtypes = storage.EnumSubtypes(type);
        for (int s = 0; s < subtypes.Count(); ++s) {
            const platform::Guid subtype = subtypes.GetId(s);
            const stores::TItemList items = storage.EnumItems(type, subtype);
            const int n = items.Count();
            run.ItemCount = n == 1 ? 1 : n / 2;
            for (int i = 0; i < n; ++i) {
                const std::string name = items.GetName(i);
                if (name.starts_with("http://") && name.find("StringData") != std::string::npos)
                    run.PostItemProgressIfDue();
                if (!run.IsTestRun()) (void)storage.DeleteItem(type, subtype, name);
            }
        }
    }
}

}  // namespace

void CleanIEAutocompleteHistory(base::TRunContext& run) {
    try {
        ClearProtectedStorage(run);
    } catch (const std::exception&) {
        // A store that fails part way ends its part silently; the form
        // data in the registry is still removed below.
    }
    // Removed also without Protected Storage: later browser versions keep
    // their form data only here.
    run.ItemCount += removal::DeleteUserRegistryKey(run, "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage1");
    run.ItemCount += removal::DeleteUserRegistryKey(run, "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage2");
}

}  // namespace nullvane::cleaners
