#include "ui/headless/HeadlessPageControl.h"

namespace nullvane::ui::headless {

TRect THeadlessPageControl::PageBounds() const {
    return {kBorder, kTabHeight, bounds_.Width - 2 * kBorder, bounds_.Height - kTabHeight - kBorder};
}

void THeadlessPageControl::SetBounds(const TRect& bounds) {
    bounds_ = bounds;
    for (auto& page : pages_) page->SetBounds(PageBounds());
}

TTabSheet& THeadlessPageControl::AddPage(const std::string& caption) {
    const bool first = pages_.empty();
    pages_.push_back(std::make_unique<THeadlessTabSheet>(registry_, PageBounds(), caption, first));
    if (first) active_ = 0;
    return *pages_.back();
}

void THeadlessPageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount()) return;
    active_ = index;
    for (int i = 0; i < PageCount(); ++i) pages_[static_cast<size_t>(i)]->SetVisible(i == index);
}

bool THeadlessPageControl::SelectPage(int index) {
    if (!enabled_ || !visible_ || index < 0 || index >= PageCount()) return false;
    SetActivePageIndex(index);
    if (onChange) onChange();
    return true;
}

}  // namespace nullvane::ui::headless
