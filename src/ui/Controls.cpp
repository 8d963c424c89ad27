#include "ui/Controls.h"

namespace nullvane::ui {

void TProgressBar::SetPosition(int position) {
    StorePosition(position);
    SetCaption(PercentText(position, Min(), Max()));
}

std::string TProgressBar::PercentText(int position, int min, int max) {
    if (max <= min) return "0%";
    const long long percent = static_cast<long long>(position - min) * 100 / (max - min);
    return std::to_string(percent) + "%";
}

std::vector<std::string> TListView::Items() const {
    std::vector<std::string> items;
    for (int i = 0; i < Count(); ++i) items.push_back(ItemText(i));
    return items;
}

}  // namespace nullvane::ui
