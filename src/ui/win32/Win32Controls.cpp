#include "ui/win32/Win32Controls.h"

#include <map>
#include <tuple>

#include "platform/CaughtException.h"
#include "platform/win32/WideText.h"
#include "ui/win32/Win32PageControl.h"

namespace nullvane::ui::win32 {

namespace {
const wchar_t kRoutedProp[] = L"NullvaneControl";

// Fonts and brushes live as long as the program; the cache frees them at exit.
struct TGdiCache {
    std::map<std::tuple<int, bool, bool>, HFONT> fonts;
    std::map<TColor, HBRUSH> brushes;
    ~TGdiCache() {
        for (auto& [key, font] : fonts) DeleteObject(font);
        for (auto& [key, brush] : brushes) DeleteObject(brush);
    }
};
TGdiCache& Cache() {
    static TGdiCache cache;
    return cache;
}

SIZE TextSize(HWND window, HFONT font, const std::wstring& text) {
    SIZE size{};
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size;
}

LRESULT CALLBACK LinkProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // the hand
        return TRUE;
    }
    return DefSubclassProc(window, msg, wParam, lParam);
}

LRESULT CALLBACK ProgressProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    if (msg == WM_PAINT) {
        const LRESULT result = DefSubclassProc(window, msg, wParam, lParam);
        reinterpret_cast<TWin32ProgressBar*>(self)->PaintCaption();
        return result;
    }
    return DefSubclassProc(window, msg, wParam, lParam);
}

LRESULT CALLBACK ListProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    if (msg == WM_CONTEXTMENU) {
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (lParam == -1) GetCursorPos(&point);
        reinterpret_cast<TWin32ListBox*>(self)->ContextMenu(point);
        return 0;
    }
    return DefSubclassProc(window, msg, wParam, lParam);
}

LRESULT CALLBACK TreeProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) {
        const TPoint point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        try {
            reinterpret_cast<TWin32TreeView*>(self)->MouseDown(
                msg == WM_LBUTTONDOWN ? TMouseButton::Left : TMouseButton::Right, point);
        } catch (...) {
            platform::ReportCaughtException("tree view mouse down");
        }
    }
    return DefSubclassProc(window, msg, wParam, lParam);
}

LRESULT CALLBACK PanelProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (RouteChildMessage(window, msg, wParam, lParam, result)) return result;
    if (msg == WM_ERASEBKGND) {
        RECT rect;
        GetClientRect(window, &rect);
        TWin32Routed* routed = RoutedOf(window);
        FillRect(reinterpret_cast<HDC>(wParam), &rect,
                 BrushFor(routed ? routed->Background() : static_cast<TColor>(GetSysColor(COLOR_BTNFACE))));
        return 1;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK FilledGroupProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    LRESULT result = 0;
    if (RouteChildMessage(window, msg, wParam, lParam, result)) return result;
    if (msg == WM_ERASEBKGND) {
        // A group box draws only its frame; as a parent it must fill itself.
        RECT rect;
        GetClientRect(window, &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return DefSubclassProc(window, msg, wParam, lParam);
}

const wchar_t* ContainerClass() {
    static const wchar_t kName[] = L"NullvanePanel";
    static bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PanelProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.lpszClassName = kName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    return kName;
}

std::wstring W(const std::string& text) { return platform::win32::Widen(text); }
std::string N(const std::wstring& text) { return platform::win32::Narrow(text); }

HFONT FontFor(const TFontStyle& style) {
    auto& fonts = Cache().fonts;
    const auto key = std::make_tuple(style.PointSize, style.Bold, style.Underline);
    if (auto it = fonts.find(key); it != fonts.end()) return it->second;
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(style.PointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    HFONT font = CreateFontW(height, 0, 0, 0, style.Bold ? FW_BOLD : FW_NORMAL, FALSE, style.Underline ? TRUE : FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    fonts[key] = font;
    return font;
}

int MeasureText(HWND window, HFONT font, const std::string& text) { return TextSize(window, font, W(text)).cx; }

HBRUSH BrushFor(TColor color) {
    auto& brushes = Cache().brushes;
    if (auto it = brushes.find(color); it != brushes.end()) return it->second;
    HBRUSH brush = CreateSolidBrush(color);
    brushes[color] = brush;
    return brush;
}

TWin32Routed* RoutedOf(HWND window) { return static_cast<TWin32Routed*>(GetPropW(window, kRoutedProp)); }

void SetRouted(HWND window, TWin32Routed* routed) {
    if (routed) {
        SetPropW(window, kRoutedProp, routed);
    } else {
        RemovePropW(window, kRoutedProp);
    }
}

bool RouteChildMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    try {
        switch (msg) {
        case WM_COMMAND:
            if (lParam != 0) {
                if (TWin32Routed* child = RoutedOf(reinterpret_cast<HWND>(lParam))) {
                    child->Command(HIWORD(wParam));
                    result = 0;
                    return true;
                }
            }
            return false;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (TWin32Routed* child = RoutedOf(header->hwndFrom)) return child->Notify(header, result);
            return false;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            if (TWin32Routed* child = RoutedOf(reinterpret_cast<HWND>(lParam))) {
                if (HBRUSH brush = child->CtlColor(reinterpret_cast<HDC>(wParam))) {
                    result = reinterpret_cast<LRESULT>(brush);
                    return true;
                }
            }
            return false;
        default:
            return false;
        }
    } catch (...) {
        // No exception leaves a window procedure.
        platform::ReportCaughtException("child control message");
        result = 0;
        return true;
    }
}

HWND WindowOf(TControl& control) {
    if (auto* form = dynamic_cast<TWin32Form*>(&control)) return form->Window();
    if (auto* panel = dynamic_cast<TWin32Panel*>(&control)) return panel->Window();
    if (auto* group = dynamic_cast<TWin32GroupBox*>(&control)) return group->Window();
    if (auto* page = dynamic_cast<TWin32TabSheet*>(&control)) return page->Window();
    return nullptr;
}

void AddToolTip(HWND control, const std::string& text) {
    HWND root = GetAncestor(control, GA_ROOT);
    TWin32Form* form = FormOf(root);
    if (!form) return;
    HWND tip = form->ToolTip();
    std::wstring wide = W(text);
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = root;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = wide.data();
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (!text.empty()) SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

// Buttons and check boxes.

TWin32Button::TWin32Button(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON);
}

void TWin32Button::SetDefault(bool isDefault) {
    SendMessageW(window_, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TWin32Button::Command(WORD code) {
    if (code == BN_CLICKED && onClick) onClick();
}

TWin32CheckBox::TWin32CheckBox(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX);
}

bool TWin32CheckBox::Checked() const { return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TWin32CheckBox::SetChecked(bool checked) {
    SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TWin32CheckBox::Command(WORD code) {
    if (code == BN_CLICKED && onClick) onClick();
}

// Edit boxes and radio buttons.

TWin32Edit::TWin32Edit(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
}

std::string TWin32Edit::Text() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
    return N(text);
}

void TWin32Edit::SetText(const std::string& text) {
    // The control tells EN_CHANGE for our own change too; that is no user's.
    setting_ = true;
    SetWindowTextW(window_, W(text).c_str());
    setting_ = false;
}

void TWin32Edit::Command(WORD code) {
    if (code == EN_CHANGE && !setting_ && onChange) onChange();
}

TWin32RadioButton::TWin32RadioButton(TContainer& parent, const TControlArgs& args) {
    // Checked by hand, so that a group is exactly the buttons of one container.
    Create(parent, args, L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON);
}

bool TWin32RadioButton::Checked() const { return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TWin32RadioButton::SetChecked(bool checked) {
    SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked) return;
    for (HWND sibling = GetWindow(GetParent(window_), GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == window_) continue;
        if (dynamic_cast<TWin32RadioButton*>(RoutedOf(sibling))) SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void TWin32RadioButton::Command(WORD code) {
    if (code != BN_CLICKED) return;
    SetChecked(true);
    if (onClick) onClick();
}

// The one-column list.

TWin32ListView::TWin32ListView(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, WC_LISTVIEWW,
           WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, WS_EX_CLIENTEDGE);
    SendMessageW(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    std::wstring header = W(args.Caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = header.data();
    column.cx = args.Bounds.Width - GetSystemMetrics(SM_CXVSCROLL) - 4;
    SendMessageW(window_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void TWin32ListView::AddItem(const std::string& text) {
    std::wstring wide = W(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = Count();
    item.pszText = wide.data();
    changing_ = true;
    SendMessageW(window_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    changing_ = false;
}

void TWin32ListView::SetItemText(int index, const std::string& text) {
    std::wstring wide = W(text);
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = wide.data();
    SendMessageW(window_, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TWin32ListView::DeleteItem(int index) {
    changing_ = true;
    SendMessageW(window_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    changing_ = false;
}

void TWin32ListView::Clear() {
    changing_ = true;
    SendMessageW(window_, LVM_DELETEALLITEMS, 0, 0);
    changing_ = false;
}

int TWin32ListView::Count() const { return static_cast<int>(SendMessageW(window_, LVM_GETITEMCOUNT, 0, 0)); }

std::string TWin32ListView::ItemText(int index) const {
    // The list holds entries of at most a few thousand characters.
    std::wstring text(4096, L'\0');
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto length = SendMessageW(window_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<size_t>(length));
    return N(text);
}

int TWin32ListView::SelectedIndex() const {
    return static_cast<int>(SendMessageW(window_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TWin32ListView::SetSelectedIndex(int index) {
    changing_ = true;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (index >= 0 && index < Count()) {
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        SendMessageW(window_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    }
    changing_ = false;
}

void TWin32ListView::SetFocus() { ::SetFocus(window_); }

bool TWin32ListView::Notify(NMHDR* header, LRESULT& result) {
    if (header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if (!changing_ && (change->uChanged & LVIF_STATE) &&
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) && onSelect) {
            onSelect();
        }
        result = 0;
        return true;
    }
    if (header->code == NM_DBLCLK) {
        if (onDoubleClick && SelectedIndex() >= 0) onDoubleClick();
        result = 0;
        return true;
    }
    return false;
}

// Labels.

template <class Base>
void TWin32LabelOf<Base>::Fit() {
    if (!autoSize_) return;
    HFONT font = FontFor(font_);
    const SIZE size = TextSize(this->window_, font, W(this->caption_.empty() ? std::string(" ") : this->caption_));
    this->bounds_.Width = this->caption_.empty() ? 0 : size.cx;
    this->bounds_.Height = size.cy;
    SetWindowPos(this->window_, nullptr, 0, 0, this->bounds_.Width, this->bounds_.Height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(this->window_, nullptr, TRUE);
}

template <class Base>
HBRUSH TWin32LabelOf<Base>::CtlColor(HDC dc) {
    SetTextColor(dc, font_.Color);
    SetBkMode(dc, TRANSPARENT);
    TWin32Routed* parent = RoutedOf(GetParent(this->window_));
    return BrushFor(parent ? parent->Background() : static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
}

TWin32Label::TWin32Label(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY);
    Fit();
}

TWin32LinkLabel::TWin32LinkLabel(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY);
    font_.Underline = true;
    font_.Color = clLink;
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(font_)), FALSE);
    SetWindowSubclass(window_, LinkProc, 1, 0);
    Fit();
}

void TWin32LinkLabel::Command(WORD code) {
    if (code == STN_CLICKED && onClick) onClick();
}

// Containers.

TWin32Panel::TWin32Panel(TContainer& parent, const TControlArgs& args)
    : color_(static_cast<TColor>(GetSysColor(COLOR_BTNFACE))) {
    Create(parent, args, ContainerClass(), WS_CLIPCHILDREN);
}

void TWin32Panel::SetColor(TColor color) {
    color_ = color;
    InvalidateRect(window_, nullptr, TRUE);
}

TWin32GroupBox::TWin32GroupBox(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN);
    SetWindowSubclass(window_, FilledGroupProc, 1, 0);
}

// Progress bar.

TWin32ProgressBar::TWin32ProgressBar(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, PROGRESS_CLASSW, PBS_SMOOTH);
    SetWindowSubclass(window_, ProgressProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void TWin32ProgressBar::SetCaption(const std::string& caption) {
    caption_ = caption;
    InvalidateRect(window_, nullptr, FALSE);
}

void TWin32ProgressBar::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    SendMessageW(window_, PBM_SETRANGE32, static_cast<WPARAM>(min), static_cast<LPARAM>(max));
}

void TWin32ProgressBar::SetShowCaption(bool show) {
    showCaption_ = show;
    InvalidateRect(window_, nullptr, FALSE);
}

void TWin32ProgressBar::StorePosition(int position) {
    position_ = position;
    SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(position < min_ ? min_ : position > max_ ? max_ : position), 0);
}

void TWin32ProgressBar::PaintCaption() {
    if (!showCaption_ || caption_.empty()) return;
    HDC dc = GetDC(window_);
    RECT rect;
    GetClientRect(window_, &rect);
    HGDIOBJ old = SelectObject(dc, FontFor({}));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, clBlack);
    std::wstring text = W(caption_);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
}

// List box.

TWin32ListBox::TWin32ListBox(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, L"LISTBOX", WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
           WS_EX_CLIENTEDGE);
    SetWindowSubclass(window_, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void TWin32ListBox::AddItem(const std::string& text) {
    items_.push_back(text);
    SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text).c_str()));
}

void TWin32ListBox::Clear() {
    items_.clear();
    SendMessageW(window_, LB_RESETCONTENT, 0, 0);
}

void TWin32ListBox::SetItemHeight(int height) { SendMessageW(window_, LB_SETITEMHEIGHT, 0, height); }

void TWin32ListBox::SetFontColor(TColor color) {
    fontColor_ = color;
    InvalidateRect(window_, nullptr, TRUE);
}

int TWin32ListBox::TextWidth(const std::string& text) const {
    return MeasureText(window_, reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0)), text);
}

void TWin32ListBox::SetHorizontalExtent(int width) {
    extent_ = width;
    SendMessageW(window_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

void TWin32ListBox::ScrollToEnd() { SendMessageW(window_, WM_VSCROLL, SB_BOTTOM, 0); }

int TWin32ListBox::TopIndex() const { return static_cast<int>(SendMessageW(window_, LB_GETTOPINDEX, 0, 0)); }

void TWin32ListBox::SetDoubleBuffered(bool on) {
    doubleBuffered_ = on;
    const LONG exStyle = GetWindowLongW(window_, GWL_EXSTYLE);
    SetWindowLongW(window_, GWL_EXSTYLE, on ? (exStyle | WS_EX_COMPOSITED) : (exStyle & ~WS_EX_COMPOSITED));
}

HBRUSH TWin32ListBox::CtlColor(HDC dc) {
    SetTextColor(dc, fontColor_);
    SetBkColor(dc, background_);
    return BrushFor(background_);
}

void TWin32ListBox::ContextMenu(POINT screen) {
    if (!popup_) return;
    if (TWin32Form* form = FormOf(GetAncestor(window_, GA_ROOT))) form->PopupMenu(*popup_, {screen.x, screen.y});
}

// Tree view.

TWin32TreeView::TWin32TreeView(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, WC_TREEVIEWW,
           WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE);
    // The three state images: blank, empty box, ticked box.
    stateImages_ = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 48, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 48, 16};
    FillRect(dc, &all, BrushFor(clWhite));
    RECT box{16 + 2, 2, 16 + 15, 15};
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT);
    box = {32 + 2, 2, 32 + 15, 15};
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | DFCS_CHECKED);
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_AddMasked(stateImages_, bitmap, clWhite);
    DeleteObject(bitmap);
    SendMessageW(window_, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(stateImages_));
    SetWindowSubclass(window_, TreeProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

TWin32TreeView::~TWin32TreeView() {
    if (window_) SendMessageW(window_, TVM_SETIMAGELIST, TVSIL_STATE, 0);
    if (stateImages_) ImageList_Destroy(stateImages_);
}

TNodeId TWin32TreeView::AddNode(TNodeId parent, const std::string& text, int imageIndex, int stateIndex) {
    const auto id = static_cast<TNodeId>(items_.size());
    std::wstring wide = W(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent == kNoNode ? TVI_ROOT : items_.at(parent);
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = wide.data();
    insert.item.iImage = imageIndex;
    insert.item.iSelectedImage = imageIndex;
    insert.item.state = INDEXTOSTATEIMAGEMASK(stateIndex);
    insert.item.stateMask = TVIS_STATEIMAGEMASK;
    insert.item.lParam = id;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(window_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    items_.push_back(item);
    texts_.push_back(text);
    return id;
}

int TWin32TreeView::StateIndex(TNodeId node) const {
    const auto state = SendMessageW(window_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(items_.at(node)),
                                    TVIS_STATEIMAGEMASK);
    return static_cast<int>((state & TVIS_STATEIMAGEMASK) >> 12);
}

void TWin32TreeView::SetStateIndex(TNodeId node, int stateIndex) {
    TVITEMW item{};
    item.mask = TVIF_STATE | TVIF_HANDLE;
    item.hItem = items_.at(node);
    item.state = INDEXTOSTATEIMAGEMASK(stateIndex);
    item.stateMask = TVIS_STATEIMAGEMASK;
    SendMessageW(window_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool TWin32TreeView::Expanded(TNodeId node) const {
    return (SendMessageW(window_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(items_.at(node)), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
}

void TWin32TreeView::SetExpanded(TNodeId node, bool expanded) {
    SendMessageW(window_, TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(items_.at(node)));
}

TTreeHit TWin32TreeView::HitTest(TPoint point) const {
    TVHITTESTINFO info{};
    info.pt = {point.X, point.Y};
    SendMessageW(window_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    TTreeHit hit;
    if (!info.hItem) return hit;
    TVITEMW item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = info.hItem;
    SendMessageW(window_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    hit.Node = static_cast<TNodeId>(item.lParam);
    hit.OnStateImage = (info.flags & TVHT_ONITEMSTATEICON) != 0;
    hit.OnLabel = (info.flags & TVHT_ONITEMLABEL) != 0;
    return hit;
}

void TWin32TreeView::ScrollToTop() { PostMessageW(window_, WM_VSCROLL, SB_TOP, 0); }

void TWin32TreeView::SetIndent(int indent) { SendMessageW(window_, TVM_SETINDENT, static_cast<WPARAM>(indent), 0); }

void TWin32TreeView::MouseDown(TMouseButton button, TPoint point) {
    if (onMouseDown) onMouseDown(button, point);
}

template class TWin32LabelOf<TLabel>;
template class TWin32LabelOf<TLinkLabel>;

}  // namespace nullvane::ui::win32
