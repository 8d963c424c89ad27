#pragma once
// A drop-down list: one of a fixed list of texts, nothing typed.
#include <functional>
#include <string>

#include "ui/Control.h"

namespace nullvane::ui {

class TComboBox : public TControl {
public:
    virtual void AddItem(const std::string& text) = 0;
    virtual void Clear() = 0;
    [[nodiscard]] virtual int Count() const = 0;
    [[nodiscard]] virtual std::string ItemText(int index) const = 0;
    // The chosen item, or -1.
    [[nodiscard]] virtual int ItemIndex() const = 0;
    // Chooses an item (-1 or out of range: none) without calling onChange.
    virtual void SetItemIndex(int index) = 0;
    // After the user chose an item.
    std::function<void()> onChange;
};

}  // namespace nullvane::ui
