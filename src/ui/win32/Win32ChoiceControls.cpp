#include "ui/win32/Win32ChoiceControls.h"

#include <algorithm>

#include "platform/CaughtException.h"

namespace nullvane::ui::win32 {

namespace {
// Every key press is the box's: none reaches the dialog's keys, the menu or
// the edit control's own typing.
LRESULT CALLBACK KeyBoxProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        try {
            reinterpret_cast<TWin32KeyBox*>(self)->KeyDown(wParam);
        } catch (...) {
            platform::ReportCaughtException("key box");
        }
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_CONTEXTMENU:
        return 0;
    default:
        return DefSubclassProc(window, msg, wParam, lParam);
    }
}
}  // namespace

// Radio group.

TWin32RadioGroup::TWin32RadioGroup(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN);
    SetWindowSubclass(window_, FilledGroupProc, 1, 0);  // passes its buttons' clicks on
}

void TWin32RadioGroup::SetBounds(const TRect& bounds) {
    TWin32Control::SetBounds(bounds);
    Layout();
}

void TWin32RadioGroup::SetEnabled(bool enabled) {
    TWin32Control::SetEnabled(enabled);
    for (auto& choice : choices_) EnableWindow(choice->window, enabled ? TRUE : FALSE);
}

void TWin32RadioGroup::SetItems(const std::vector<std::string>& items) {
    for (auto& choice : choices_) {
        SetRouted(choice->window, nullptr);
        DestroyWindow(choice->window);
    }
    choices_.clear();
    items_ = items;
    const BOOL enabled = IsWindowEnabled(window_);
    for (size_t i = 0; i < items.size(); ++i) {
        auto choice = std::make_unique<TChoice>();
        choice->group = this;
        choice->index = static_cast<int>(i);
        // Checked by hand: the group, not the dialog manager, decides.
        choice->window = CreateWindowExW(0, L"BUTTON", W(items[i]).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON,
                                         0, 0, 0, 0, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(choice->window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor({})), FALSE);
        EnableWindow(choice->window, enabled);
        SetRouted(choice->window, choice.get());
        choices_.push_back(std::move(choice));
    }
    Layout();
}

void TWin32RadioGroup::SetColumns(int columns) {
    columns_ = std::max(1, columns);
    Layout();
}

void TWin32RadioGroup::Layout() {
    if (choices_.empty()) return;
    // Below the caption, inside the frame; filled column by column.
    constexpr int kTop = 18;
    constexpr int kSide = 10;
    const int count = static_cast<int>(choices_.size());
    const int rows = (count + columns_ - 1) / columns_;
    const int columnWidth = (bounds_.Width - 2 * kSide) / columns_;
    const int rowHeight = std::max(16, (bounds_.Height - kTop - 6) / std::max(1, rows));
    for (int i = 0; i < count; ++i) {
        const int column = i / rows;
        const int row = i % rows;
        MoveWindow(choices_[static_cast<size_t>(i)]->window, kSide + column * columnWidth, kTop + row * rowHeight,
                   columnWidth - 4, std::min(rowHeight, 20), TRUE);
    }
}

int TWin32RadioGroup::ItemIndex() const {
    for (const auto& choice : choices_) {
        if (SendMessageW(choice->window, BM_GETCHECK, 0, 0) == BST_CHECKED) return choice->index;
    }
    return -1;
}

void TWin32RadioGroup::SetItemIndex(int index) {
    for (const auto& choice : choices_) {
        SendMessageW(choice->window, BM_SETCHECK, choice->index == index ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void TWin32RadioGroup::Chosen(int index) {
    SetItemIndex(index);
    if (onClick) onClick();
}

void TWin32RadioGroup::TChoice::Command(WORD code) {
    if (code == BN_CLICKED) group->Chosen(index);
}

// Drop-down list.

namespace {
// Room for the opened list below the box.
constexpr int kDropHeight = 200;
}  // namespace

TWin32ComboBox::TWin32ComboBox(TContainer& parent, const TControlArgs& args) {
    TControlArgs withList = args;
    withList.Bounds.Height += kDropHeight;
    Create(parent, withList, WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
    bounds_ = args.Bounds;
}

void TWin32ComboBox::SetBounds(const TRect& bounds) {
    bounds_ = bounds;
    MoveWindow(window_, bounds.Left, bounds.Top, bounds.Width, bounds.Height + kDropHeight, TRUE);
}

void TWin32ComboBox::AddItem(const std::string& text) {
    SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text).c_str()));
}

void TWin32ComboBox::Clear() { SendMessageW(window_, CB_RESETCONTENT, 0, 0); }

int TWin32ComboBox::Count() const { return static_cast<int>(SendMessageW(window_, CB_GETCOUNT, 0, 0)); }

std::string TWin32ComboBox::ItemText(int index) const {
    const auto length = SendMessageW(window_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(window_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return N(text);
}

int TWin32ComboBox::ItemIndex() const { return static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0)); }

void TWin32ComboBox::SetItemIndex(int index) {
    SendMessageW(window_, CB_SETCURSEL, index >= 0 && index < Count() ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
}

void TWin32ComboBox::Command(WORD code) {
    if (code == CBN_SELCHANGE && onChange) onChange();
}

// Key box.

TWin32KeyBox::TWin32KeyBox(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    SetWindowSubclass(window_, KeyBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

std::string TWin32KeyBox::Text() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
    return N(text);
}

void TWin32KeyBox::SetText(const std::string& text) {
    SetWindowTextW(window_, W(text).c_str());
    // The caret after the text, as after typing.
    const auto length = GetWindowTextLengthW(window_);
    SendMessageW(window_, EM_SETSEL, static_cast<WPARAM>(length), length);
}

void TWin32KeyBox::KeyDown(WPARAM key) {
    if (!onKeyDown) return;
    TKeyPress press;
    press.Key = static_cast<uint16_t>(key);
    press.Ctrl = GetKeyState(VK_CONTROL) < 0;
    press.Shift = GetKeyState(VK_SHIFT) < 0;
    press.Alt = GetKeyState(VK_MENU) < 0;
    onKeyDown(press);
}

}  // namespace nullvane::ui::win32
