#include "ui/win32/Win32PageControl.h"

namespace nullvane::ui::win32 {

TWin32TabSheet::TWin32TabSheet(HWND tabControl, const TRect& bounds, const std::string& caption, bool visible) {
    bounds_ = bounds;
    caption_ = caption;
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, ContainerClass(), W(caption).c_str(),
                              WS_CHILD | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0), bounds.Left, bounds.Top,
                              bounds.Width, bounds.Height, tabControl, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetRouted(window_, this);
}

TWin32PageControl::TWin32PageControl(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, WC_TABCONTROLW, WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

TRect TWin32PageControl::PageBounds() const {
    RECT rect{0, 0, bounds_.Width, bounds_.Height};
    SendMessageW(window_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void TWin32PageControl::SetBounds(const TRect& bounds) {
    TWin32Control::SetBounds(bounds);
    for (auto& page : pages_) page->SetBounds(PageBounds());
}

TTabSheet& TWin32PageControl::AddPage(const std::string& caption) {
    std::wstring text = W(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    const auto index = static_cast<int>(pages_.size());
    SendMessageW(window_, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    // The tabs' row exists only now, so the pages' room is known only now.
    pages_.push_back(std::make_unique<TWin32TabSheet>(window_, PageBounds(), caption, index == 0));
    for (auto& page : pages_) page->SetBounds(PageBounds());
    if (index == 0) SendMessageW(window_, TCM_SETCURSEL, 0, 0);
    return *pages_.back();
}

int TWin32PageControl::ActivePageIndex() const { return static_cast<int>(SendMessageW(window_, TCM_GETCURSEL, 0, 0)); }

void TWin32PageControl::ShowOnly(int index) {
    for (int i = 0; i < PageCount(); ++i) pages_[static_cast<size_t>(i)]->SetVisible(i == index);
}

void TWin32PageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount()) return;
    SendMessageW(window_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowOnly(index);
}

bool TWin32PageControl::Notify(NMHDR* header, LRESULT& result) {
    if (header->code != TCN_SELCHANGE) return false;
    ShowOnly(ActivePageIndex());
    if (onChange) onChange();
    result = 0;
    return true;
}

}  // namespace nullvane::ui::win32
