#include "ui/headless/HeadlessChoiceControls.h"

#include <algorithm>

namespace nullvane::ui::headless {

void THeadlessRadioGroup::SetItems(const std::vector<std::string>& items) {
    items_ = items;
    index_ = -1;
}

void THeadlessRadioGroup::SetItemIndex(int index) {
    index_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
}

bool THeadlessRadioGroup::Click(const std::string& item) {
    if (!enabled_ || !visible_) return false;
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return false;
    index_ = static_cast<int>(it - items_.begin());
    if (onClick) onClick();
    return true;
}

void THeadlessComboBox::Clear() {
    items_.clear();
    index_ = -1;
}

bool THeadlessComboBox::Choose(const std::string& text) {
    if (!enabled_ || !visible_) return false;
    const auto it = std::find(items_.begin(), items_.end(), text);
    if (it == items_.end()) return false;
    index_ = static_cast<int>(it - items_.begin());
    if (onChange) onChange();
    return true;
}

bool THeadlessKeyBox::Press(const TKeyPress& press) {
    if (!enabled_ || !visible_) return false;
    focused_ = true;
    if (onKeyDown) onKeyDown(press);
    return true;
}

}  // namespace nullvane::ui::headless
