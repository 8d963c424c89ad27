#include "stores/PStoreLists.h"

namespace nullvane::stores {

platform::Guid TEnumList::GetId(int index) const {
    if (index < 0 || index >= Count()) return {};
    const auto* id = std::get_if<platform::Guid>(&FList[static_cast<size_t>(index)]);
    return id ? *id : platform::Guid{};
}

std::string TItemList::GetName(int index) const {
    if (index < 0 || index >= Count()) return {};
    const auto* name = std::get_if<std::string>(&FList[static_cast<size_t>(index)]);
    return name ? *name : std::string();
}

}  // namespace nullvane::stores
