#pragma once
// The lists the Protected Storage wrapper hands out: GUIDs of types or
// subtypes (TIDList) and item names (TItemList). Names are kept whole, so an
// item is always addressed by the name the store gave.
#include <string>
#include <variant>
#include <vector>

#include "platform/ProtectedStorage.h"

namespace nullvane::stores {

class TEnumList {
public:
    virtual ~TEnumList() = default;

    [[nodiscard]] int Count() const { return static_cast<int>(FList.size()); }
    void AddId(const platform::Guid& id) { FList.emplace_back(id); }
    // The GUID at `index`; a zero GUID for a name or an index out of range.
    [[nodiscard]] platform::Guid GetId(int index) const;
    void AddName(const std::string& name) { FList.emplace_back(name); }

protected:
    std::vector<std::variant<platform::Guid, std::string>> FList;
};

class TIDList : public TEnumList {};

class TItemList : public TEnumList {
public:
    // The name at `index`; empty for a GUID or an index out of range.
    [[nodiscard]] std::string GetName(int index) const;
};

}  // namespace nullvane::stores
