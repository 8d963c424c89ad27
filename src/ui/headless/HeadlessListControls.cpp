#include "ui/headless/HeadlessListControls.h"

#include <stdexcept>

namespace nullvane::ui::headless {

void THeadlessReportListView::SetItemCount(int count) {
    count_ = count < 0 ? 0 : count;
    selected_ = -1;
}

TListItemData THeadlessReportListView::Item(int index) const {
    if (index < 0 || index >= count_) throw std::out_of_range("no such row");
    TListItemData item;
    if (onData) onData(index, item);
    return item;
}

bool THeadlessReportListView::Select(int index) {
    if (!enabled_ || !visible_ || index < 0 || index >= count_) return false;
    selected_ = index;
    return true;
}

bool THeadlessReportListView::DoubleClick(int index) {
    if (!Select(index)) return false;
    if (onDoubleClick) onDoubleClick();
    return true;
}

void THeadlessSelectionListBox::DeleteItem(int index) {
    items_.erase(items_.begin() + index);
    // As the system's list box: the selection stays on its entry, and a
    // deleted selected entry leaves none.
    if (selected_ == index) {
        selected_ = -1;
    } else if (selected_ > index) {
        --selected_;
    }
}

bool THeadlessSelectionListBox::Select(int index) {
    if (!enabled_ || !visible_ || index < 0 || index >= Count()) return false;
    selected_ = index;
    return true;
}

bool THeadlessSelectionListBox::DoubleClick(int index) {
    if (!Select(index)) return false;
    if (onDoubleClick) onDoubleClick();
    return true;
}

}  // namespace nullvane::ui::headless
