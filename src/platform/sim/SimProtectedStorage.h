#pragma once
// A simulated Protected Storage that tests fill: types with display names,
// subtypes, items; it records deletions and counts the stores left open.
// The library can be made missing, the store made to refuse opening, and
// every call on an open store made to fail as a stub library's calls do.
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/ProtectedStorage.h"

namespace nullvane::platform::sim {

struct PStoreDeletion {
    Guid type;
    Guid subtype;
    std::string name;
    friend bool operator==(const PStoreDeletion&, const PStoreDeletion&) = default;
};

class SimProtectedStorage final : public ProtectedStorage {
public:
    [[nodiscard]] bool IsAvailable() override;
    [[nodiscard]] ProtectedStorePtr Open() override;

    void SetAvailable(bool available);
    void SetOpenRefused(bool refused);
    // Every enumeration, type name and deletion on an open store fails.
    void SetCallsFail(bool fail);

    // A type with a display name (nullopt: the store does not give one).
    void AddType(const Guid& type, std::optional<std::string> displayName);
    void AddSubtype(const Guid& type, const Guid& subtype);
    // Adds the type and subtype too when they are new.
    void AddItem(const Guid& type, const Guid& subtype, const std::string& name);

    [[nodiscard]] std::vector<std::string> Items(const Guid& type, const Guid& subtype);
    [[nodiscard]] std::vector<PStoreDeletion> Deletions();
    // Stores opened and not yet closed.
    [[nodiscard]] int OpenStores();

private:
    class Store;
    struct TypeEntry {
        Guid type;
        std::optional<std::string> displayName;
        std::vector<std::pair<Guid, std::vector<std::string>>> subtypes;
    };
    TypeEntry* FindType(const Guid& type);
    std::vector<std::string>* FindItems(const Guid& type, const Guid& subtype);

    std::mutex mutex_;
    bool available_ = true;
    bool openRefused_ = false;
    bool callsFail_ = false;
    int openStores_ = 0;
    std::vector<TypeEntry> types_;
    std::vector<PStoreDeletion> deletions_;
};

}  // namespace nullvane::platform::sim
