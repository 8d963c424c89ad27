#include "platform/sim/SimProtectedStorage.h"

#include <algorithm>

namespace nullvane::platform::sim {

// An open store: every call goes back to the simulation under its lock.
class SimProtectedStorage::Store final : public ProtectedStore {
public:
    explicit Store(SimProtectedStorage& owner) : owner_(owner) {}
    ~Store() override {
        std::lock_guard lock(owner_.mutex_);
        --owner_.openStores_;
    }

    std::optional<std::vector<Guid>> EnumTypes(uint32_t key) override {
        std::lock_guard lock(owner_.mutex_);
        if (owner_.callsFail_ || key != kPStoreCurrentUser) return std::nullopt;
        std::vector<Guid> types;
        for (const auto& entry : owner_.types_) types.push_back(entry.type);
        return types;
    }

    std::optional<std::vector<Guid>> EnumSubtypes(uint32_t key, const Guid& type) override {
        std::lock_guard lock(owner_.mutex_);
        if (owner_.callsFail_ || key != kPStoreCurrentUser) return std::nullopt;
        const TypeEntry* entry = owner_.FindType(type);
        if (!entry) return std::nullopt;
        std::vector<Guid> subtypes;
        for (const auto& [subtype, items] : entry->subtypes) subtypes.push_back(subtype);
        return subtypes;
    }

    std::optional<std::vector<std::string>> EnumItems(uint32_t key, const Guid& type, const Guid& subtype) override {
        std::lock_guard lock(owner_.mutex_);
        if (owner_.callsFail_ || key != kPStoreCurrentUser) return std::nullopt;
        const std::vector<std::string>* items = owner_.FindItems(type, subtype);
        if (!items) return std::nullopt;
        return *items;
    }

    std::optional<std::string> TypeName(uint32_t key, const Guid& type) override {
        std::lock_guard lock(owner_.mutex_);
        if (owner_.callsFail_ || key != kPStoreCurrentUser) return std::nullopt;
        const TypeEntry* entry = owner_.FindType(type);
        if (!entry) return std::nullopt;
        return entry->displayName;
    }

    bool DeleteItem(uint32_t key, const Guid& type, const Guid& subtype, const std::string& name) override {
        std::lock_guard lock(owner_.mutex_);
        if (owner_.callsFail_ || key != kPStoreCurrentUser) return false;
        std::vector<std::string>* items = owner_.FindItems(type, subtype);
        if (!items) return false;
        auto found = std::find(items->begin(), items->end(), name);
        if (found == items->end()) return false;
        items->erase(found);
        owner_.deletions_.push_back(PStoreDeletion{type, subtype, name});
        return true;
    }

private:
    SimProtectedStorage& owner_;
};

bool SimProtectedStorage::IsAvailable() {
    std::lock_guard lock(mutex_);
    return available_;
}

ProtectedStorePtr SimProtectedStorage::Open() {
    std::lock_guard lock(mutex_);
    if (!available_ || openRefused_) return nullptr;
    ++openStores_;
    return std::make_unique<Store>(*this);
}

void SimProtectedStorage::SetAvailable(bool available) {
    std::lock_guard lock(mutex_);
    available_ = available;
}

void SimProtectedStorage::SetOpenRefused(bool refused) {
    std::lock_guard lock(mutex_);
    openRefused_ = refused;
}

void SimProtectedStorage::SetCallsFail(bool fail) {
    std::lock_guard lock(mutex_);
    callsFail_ = fail;
}

SimProtectedStorage::TypeEntry* SimProtectedStorage::FindType(const Guid& type) {
    auto found = std::find_if(types_.begin(), types_.end(), [&](const TypeEntry& entry) { return entry.type == type; });
    return found == types_.end() ? nullptr : &*found;
}

std::vector<std::string>* SimProtectedStorage::FindItems(const Guid& type, const Guid& subtype) {
    TypeEntry* entry = FindType(type);
    if (!entry) return nullptr;
    for (auto& [id, items] : entry->subtypes)
        if (id == subtype) return &items;
    return nullptr;
}

void SimProtectedStorage::AddType(const Guid& type, std::optional<std::string> displayName) {
    std::lock_guard lock(mutex_);
    if (TypeEntry* entry = FindType(type)) {
        entry->displayName = std::move(displayName);
        return;
    }
    types_.push_back(TypeEntry{type, std::move(displayName), {}});
}

void SimProtectedStorage::AddSubtype(const Guid& type, const Guid& subtype) {
    std::lock_guard lock(mutex_);
    TypeEntry* entry = FindType(type);
    if (!entry) {
        types_.push_back(TypeEntry{type, std::nullopt, {}});
        entry = &types_.back();
    }
    if (!FindItems(type, subtype)) entry->subtypes.emplace_back(subtype, std::vector<std::string>{});
}

void SimProtectedStorage::AddItem(const Guid& type, const Guid& subtype, const std::string& name) {
    AddSubtype(type, subtype);
    std::lock_guard lock(mutex_);
    FindItems(type, subtype)->push_back(name);
}

std::vector<std::string> SimProtectedStorage::Items(const Guid& type, const Guid& subtype) {
    std::lock_guard lock(mutex_);
    const std::vector<std::string>* items = FindItems(type, subtype);
    return items ? *items : std::vector<std::string>{};
}

std::vector<PStoreDeletion> SimProtectedStorage::Deletions() {
    std::lock_guard lock(mutex_);
    return deletions_;
}

int SimProtectedStorage::OpenStores() {
    std::lock_guard lock(mutex_);
    return openStores_;
}

}  // namespace nullvane::platform::sim
