#include "ui/headless/HeadlessControls.h"

#include <algorithm>
#include <functional>

namespace nullvane::ui::headless {

int HeadlessTextWidth(const std::string& text, const TFontStyle& font) {
    const int perChar = std::max(1, font.PointSize * 2 / 3) + (font.Bold ? 1 : 0);
    return static_cast<int>(text.size()) * perChar;
}

int HeadlessTextHeight(const TFontStyle& font) { return font.PointSize + 5; }

void TChildRegistry::Remove(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

bool THeadlessButton::Click() {
    if (!enabled_ || !visible_) return false;
    if (onClick) onClick();
    return true;
}

bool THeadlessCheckBox::Click() {
    if (!enabled_ || !visible_) return false;
    checked_ = !checked_;
    if (onClick) onClick();
    return true;
}

bool THeadlessEdit::Type(const std::string& text) {
    if (!enabled_ || !visible_) return false;
    text_ = text;
    if (onChange) onChange();
    return true;
}

void THeadlessRadioButton::SetChecked(bool checked) {
    checked_ = checked;
    if (!checked || !registry_) return;
    for (TControl* control : registry_->Controls()) {
        auto* other = dynamic_cast<THeadlessRadioButton*>(control);
        if (other && other != this && other->group_ == group_) other->checked_ = false;
    }
}

bool THeadlessRadioButton::Click() {
    if (!enabled_ || !visible_) return false;
    SetChecked(true);
    if (onClick) onClick();
    return true;
}

void THeadlessListView::DeleteItem(int index) {
    items_.erase(items_.begin() + index);
    if (selected_ == index) {
        selected_ = -1;
    } else if (selected_ > index) {
        --selected_;
    }
}

bool THeadlessListView::Select(int index) {
    if (!enabled_ || !visible_ || index < 0 || index >= Count()) return false;
    selected_ = index;
    if (onSelect) onSelect();
    return true;
}

bool THeadlessListView::DoubleClick(int index) {
    if (!Select(index)) return false;
    if (onDoubleClick) onDoubleClick();
    return true;
}

bool THeadlessLinkLabel::Click() {
    if (!enabled_ || !visible_) return false;
    if (onClick) onClick();
    return true;
}

void THeadlessListBox::ScrollToEnd() {
    const int rows = std::max(1, bounds_.Height / itemHeight_);
    topIndex_ = std::max(0, Count() - rows);
}

TMenuItem* THeadlessListBox::OpenContextMenu() {
    if (!popup_ || !enabled_ || !visible_) return nullptr;
    if (popup_->onPopup) popup_->onPopup();
    return popup_;
}

TNodeId THeadlessTreeView::AddNode(TNodeId parent, const std::string& text, int imageIndex, int stateIndex) {
    TNode node;
    node.text = text;
    node.parent = parent;
    node.level = parent == kNoNode ? 0 : nodes_.at(parent).level + 1;
    node.image = imageIndex;
    node.state = stateIndex;
    nodes_.push_back(node);
    const auto id = static_cast<TNodeId>(nodes_.size() - 1);
    (parent == kNoNode ? roots_ : nodes_[parent].children).push_back(id);
    return id;
}

std::vector<TNodeId> THeadlessTreeView::ShownRows() const {
    std::vector<TNodeId> rows;
    std::function<void(const std::vector<TNodeId>&)> walk = [&](const std::vector<TNodeId>& ids) {
        for (TNodeId id : ids) {
            rows.push_back(id);
            if (nodes_[id].expanded) walk(nodes_[id].children);
        }
    };
    walk(roots_);
    return rows;
}

int THeadlessTreeView::RowOf(TNodeId node) const {
    const auto rows = ShownRows();
    const auto it = std::find(rows.begin(), rows.end(), node);
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin()) - topRow_;
}

TTreeHit THeadlessTreeView::HitTest(TPoint point) const {
    TTreeHit hit;
    if (point.Y < 0 || point.X < 0) return hit;
    const auto rows = ShownRows();
    const int row = point.Y / kRowHeight + topRow_;
    if (row >= static_cast<int>(rows.size())) return hit;
    const TNodeId node = rows[row];
    hit.Node = node;
    const int stateLeft = StateLeft(node);
    const int labelLeft = stateLeft + 16 + 2;
    const int labelRight = labelLeft + HeadlessTextWidth(nodes_[node].text, {}) + 4;
    hit.OnStateImage = point.X >= stateLeft && point.X < stateLeft + 16 && nodes_[node].state != 0;
    hit.OnLabel = point.X >= labelLeft && point.X < labelRight;
    return hit;
}

TNodeId THeadlessTreeView::FindNode(const std::string& text, TNodeId parent) const {
    for (TNodeId id = 0; id < NodeCount(); ++id) {
        if (nodes_[id].parent == parent && nodes_[id].text == text) return id;
    }
    return kNoNode;
}

TPoint THeadlessTreeView::StateImagePoint(TNodeId node) const {
    return {StateLeft(node) + 8, RowOf(node) * kRowHeight + kRowHeight / 2};
}

TPoint THeadlessTreeView::LabelPoint(TNodeId node) const {
    return {StateLeft(node) + 16 + 2 + 3, RowOf(node) * kRowHeight + kRowHeight / 2};
}

void THeadlessTreeView::FireMouseDown(TMouseButton button, TPoint point) {
    if (!enabled_ || !visible_) return;
    if (onMouseDown) onMouseDown(button, point);
}

bool THeadlessTimer::Fire() {
    if (!enabled_) return false;
    if (onTimer) onTimer();
    return true;
}

}  // namespace nullvane::ui::headless
