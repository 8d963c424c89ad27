#include "app/KeyNames.h"

namespace nullvane::app {

namespace {
constexpr uint16_t kShift = 16, kCtrl = 17, kAlt = 18, kDelete = 46;
}  // namespace

std::optional<std::string> KeyName(uint16_t key, bool modifierText) {
    switch (key) {
    case 8: return "BackSpace";
    case 9: return "Tab";
    case 12: return "Clear";
    case 13: return "Enter";
    case kShift:
    case kCtrl:
    case kAlt: return "";
    case 19: return "Pause";
    case 20: return "CapsLock";
    case 27: return "Esc";
    case 32: return "Space";
    case 33: return "PageUp";
    case 34: return "PageDown";
    case 35: return "End";
    case 36: return "Home";
    case 37: return "LeftArrow";
    case 38: return "UpArrow";
    case 39: return "RightArrow";
    case 40: return "DownArrow";
    case 44: return "PrintScreen";
    case 45: return "Ins";
    case kDelete: return modifierText ? "Del" : "DDel";
    case 47: return "Help";
    case 106: return "*";
    case 107: return "+";
    case 108: return "Separator";
    case 109: return "-";
    case 110: return ".";
    case 111: return "/";
    case 144: return "Numlock";
    case 145: return "Scroll";
    default: break;
    }
    if (key >= 48 && key <= 90) return std::string(1, static_cast<char>(key));
    if (key >= 96 && key <= 105) return "Num " + std::to_string(key - 96);
    if (key >= 112 && key <= 135) return "F" + std::to_string(key - 111);
    return std::nullopt;
}

TCapturedKey CaptureKey(const ui::TKeyPress& press) {
    TCapturedKey captured;
    if (press.Ctrl) captured.Text += "Ctrl  ";
    if (press.Shift) captured.Text += "Shift  ";
    if (press.Alt) captured.Text += "Alt  ";
    const auto name = KeyName(press.Key, !captured.Text.empty());
    if (!name) {
        // No name: the box is emptied and the key kept as pressed.
        captured.Text.clear();
        captured.CharAscII = press.Key;
        return captured;
    }
    // "DDel" exists for a box whose own Delete handling takes its first
    // character away; this box takes every key itself, so it reads "Del".
    captured.CharString = *name == "DDel" ? "Del" : *name;
    captured.Text += captured.CharString;
    const bool modifierAlone = press.Key == kShift || press.Key == kCtrl || press.Key == kAlt;
    captured.CharAscII = modifierAlone ? 0 : press.Key;
    return captured;
}

bool IsTypingKey(uint16_t key) {
    return key == 8 || key == 9 || key == 13 || key == 32 || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
}

}  // namespace nullvane::app
