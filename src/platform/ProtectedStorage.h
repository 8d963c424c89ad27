#pragma once
// The per-user store of typed items that the system's Protected Storage
// library serves (types and subtypes named by GUIDs, items by name). The
// library is looked up once, when the service is made, and kept until it goes.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nullvane::platform {

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};
    friend bool operator==(const Guid&, const Guid&) = default;
};

// The key of the current user's part of the store.
inline constexpr uint32_t kPStoreCurrentUser = 0;

// One open store; closed by its destructor.
class ProtectedStore {
public:
    virtual ~ProtectedStore() = default;
    ProtectedStore() = default;
    ProtectedStore(const ProtectedStore&) = delete;
    ProtectedStore& operator=(const ProtectedStore&) = delete;

    // The enumerations give nullopt when the store will not start one, and
    // otherwise what it handed out before its enumerator ran dry or failed.
    [[nodiscard]] virtual std::optional<std::vector<Guid>> EnumTypes(uint32_t key) = 0;
    [[nodiscard]] virtual std::optional<std::vector<Guid>> EnumSubtypes(uint32_t key, const Guid& type) = 0;
    // Item names in full, as UTF-8.
    [[nodiscard]] virtual std::optional<std::vector<std::string>> EnumItems(uint32_t key, const Guid& type,
                                                                            const Guid& subtype) = 0;
    // The type's display name; nullopt if the store does not give it.
    [[nodiscard]] virtual std::optional<std::string> TypeName(uint32_t key, const Guid& type) = 0;
    // Deletes one item by its full name without a prompt; true when the
    // store answered S_OK.
    [[nodiscard]] virtual bool DeleteItem(uint32_t key, const Guid& type, const Guid& subtype,
                                          const std::string& name) = 0;
};

using ProtectedStorePtr = std::unique_ptr<ProtectedStore>;

class ProtectedStorage {
public:
    virtual ~ProtectedStorage() = default;

    // The library and its entry point were found.
    [[nodiscard]] virtual bool IsAvailable() = 0;
    // The store of the system's provider; nullptr when it is not available
    // or will not open.
    [[nodiscard]] virtual ProtectedStorePtr Open() = 0;
};

}  // namespace nullvane::platform
