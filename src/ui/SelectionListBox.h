#pragma once
// A list box of text entries of which the user selects one.
#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace nullvane::ui {

class TSelectionListBox : public TControl {
public:
    virtual void AddItem(const std::string& text) = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void Clear() = 0;
    [[nodiscard]] virtual int Count() const = 0;
    [[nodiscard]] virtual std::string ItemText(int index) const = 0;
    [[nodiscard]] std::vector<std::string> Items() const {
        std::vector<std::string> items;
        for (int i = 0; i < Count(); ++i) items.push_back(ItemText(i));
        return items;
    }
    // The selected entry, or -1.
    [[nodiscard]] virtual int SelectedIndex() const = 0;
    // Selects an entry (-1 or an index out of range: none).
    virtual void SetSelectedIndex(int index) = 0;
    // After the user double-clicked an entry (it is selected then).
    std::function<void()> onDoubleClick;
};

}  // namespace nullvane::ui
