#pragma once
// A box that takes key combinations, not text: while it has the focus every
// key press goes to onKeyDown and nowhere else. Esc, Enter and Tab, Alt with
// a letter and F10 neither close, confirm, move the focus nor open a menu;
// typed characters are dropped. The owner decides what the box shows.
#include <cstdint>
#include <functional>
#include <string>

#include "ui/Control.h"

namespace nullvane::ui {

// A key pressed: its virtual-key code and the modifiers held with it.
struct TKeyPress {
    uint16_t Key = 0;
    bool Ctrl = false;
    bool Shift = false;
    bool Alt = false;
    friend bool operator==(const TKeyPress&, const TKeyPress&) = default;
};

class TKeyBox : public TControl {
public:
    [[nodiscard]] virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void SetFocus() = 0;
    std::function<void(const TKeyPress&)> onKeyDown;
};

}  // namespace nullvane::ui
