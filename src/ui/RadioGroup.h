#pragma once
// A framed group of radio choices (the caption is the frame's), laid out in
// columns, top to bottom and then left to right. One choice at a time;
// disabling the group disables every choice in it.
#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace nullvane::ui {

class TRadioGroup : public TControl {
public:
    virtual void SetItems(const std::vector<std::string>& items) = 0;
    [[nodiscard]] virtual std::vector<std::string> Items() const = 0;
    virtual void SetColumns(int columns) = 0;
    [[nodiscard]] virtual int Columns() const = 0;
    // The chosen item, or -1.
    [[nodiscard]] virtual int ItemIndex() const = 0;
    // Chooses an item (-1: none) without calling onClick.
    virtual void SetItemIndex(int index) = 0;
    // After the user chose an item.
    std::function<void()> onClick;
};

}  // namespace nullvane::ui
