#pragma once
// The names the Boss Key box shows for the keys it takes.
#include <cstdint>
#include <optional>
#include <string>

#include "ui/KeyBox.h"

namespace nullvane::app {

// The name of a virtual-key code: "" for Shift, Ctrl and Alt themselves,
// nothing for a key without a name. The Delete key reads "DDel" when no
// modifier text precedes it.
[[nodiscard]] std::optional<std::string> KeyName(uint16_t key, bool modifierText);

// A key combination caught by the key box, as the box shows it and as the
// Boss Key keeps it.
struct TCapturedKey {
    std::string Text;        // "Ctrl  Shift  F9"; empty for a key without a name
    std::string CharString;  // "F9"
    uint16_t CharAscII = 0;  // 120; 0 for a modifier alone
};

[[nodiscard]] TCapturedKey CaptureKey(const ui::TKeyPress& press);

// A key that types in every program (letter, digit, Space, Enter, Tab,
// BackSpace): as a hot key without modifier, no program would get it.
[[nodiscard]] bool IsTypingKey(uint16_t key);

}  // namespace nullvane::app
