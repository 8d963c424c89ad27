#pragma once
// The current user's Protected Storage for one clean item: opened, listed,
// items deleted, closed when it goes. Whatever the store refuses gives an
// empty list, empty text or false.
#include <cstdint>
#include <string>

#include "platform/ProtectedStorage.h"
#include "stores/PStoreLists.h"

namespace nullvane::stores {

class TPStorage {
public:
    explicit TPStorage(platform::ProtectedStorage& service) : service_(service) {}
    ~TPStorage() { Close(); }
    TPStorage(const TPStorage&) = delete;
    TPStorage& operator=(const TPStorage&) = delete;

    [[nodiscard]] bool IsAvailable() const { return service_.IsAvailable(); }
    // Opens the system provider's store (closing one held before).
    [[nodiscard]] bool Open();
    void Close();
    [[nodiscard]] bool Opened() const { return FStore != nullptr; }

    [[nodiscard]] TIDList EnumTypes();
    [[nodiscard]] TIDList EnumSubtypes(const platform::Guid& type);
    [[nodiscard]] TItemList EnumItems(const platform::Guid& type, const platform::Guid& subtype);
    // Empty when the store does not give the name.
    [[nodiscard]] std::string GetTypeName(const platform::Guid& type);
    // True when the store deleted the item (S_OK).
    [[nodiscard]] bool DeleteItem(const platform::Guid& type, const platform::Guid& subtype, const std::string& name);

private:
    platform::ProtectedStorage& service_;
    const uint32_t FKey = platform::kPStoreCurrentUser;
    platform::ProtectedStorePtr FStore;
};

}  // namespace nullvane::stores
