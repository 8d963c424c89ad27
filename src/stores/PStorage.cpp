#include "stores/PStorage.h"

namespace nullvane::stores {

bool TPStorage::Open() {
    if (!service_.IsAvailable()) return false;
    Close();
    FStore = service_.Open();
    return FStore != nullptr;
}

void TPStorage::Close() { FStore.reset(); }

TIDList TPStorage::EnumTypes() {
    TIDList list;
    if (!FStore) return list;
    if (auto types = FStore->EnumTypes(FKey))
        for (const auto& type : *types) list.AddId(type);
    return list;
}

TIDList TPStorage::EnumSubtypes(const platform::Guid& type) {
    TIDList list;
    if (!FStore) return list;
    if (auto subtypes = FStore->EnumSubtypes(FKey, type))
        for (const auto& subtype : *subtypes) list.AddId(subtype);
    return list;
}

TItemList TPStorage::EnumItems(const platform::Guid& type, const platform::Guid& subtype) {
    TItemList list;
    if (!FStore) return list;
    if (auto names = FStore->EnumItems(FKey, type, subtype))
        for (const auto& name : *names) list.AddName(name);
    return list;
}

std::string TPStorage::GetTypeName(const platform::Guid& type) {
    if (!FStore) return {};
    return FStore->TypeName(FKey, type).value_or(std::string());
}

bool TPStorage::DeleteItem(const platform::Guid& type, const platform::Guid& subtype, const std::string& name) {
    return FStore && FStore->DeleteItem(FKey, type, subtype, name);
}

}  // namespace nullvane::stores
