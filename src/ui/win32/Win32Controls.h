#pragma once
// The Windows controls. Every control's window carries a pointer to its
// object, so that the container windows route WM_COMMAND, WM_NOTIFY and the
// colour messages back to it.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/Controls.h"
#include "ui/Factory.h"
#include "ui/Form.h"

namespace nullvane::ui::win32 {

std::wstring W(const std::string& text);
std::string N(const std::wstring& text);
HFONT FontFor(const TFontStyle& style);
int MeasureText(HWND window, HFONT font, const std::string& text);
HBRUSH BrushFor(TColor color);

// What a control answers for the messages its container routes to it.
class TWin32Routed {
public:
    virtual ~TWin32Routed() = default;
    virtual void Command(WORD /*code*/) {}
    virtual bool Notify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    // WM_CTLCOLOR*: a brush, or nullptr for the default.
    virtual HBRUSH CtlColor(HDC /*dc*/) { return nullptr; }
    // The background a child label sits on.
    virtual TColor Background() const { return static_cast<TColor>(GetSysColor(COLOR_BTNFACE)); }
    // Key presses go straight to the control: no dialog key, shortcut or menu sees them.
    virtual bool CapturesKeys() const { return false; }
};

TWin32Routed* RoutedOf(HWND window);
void SetRouted(HWND window, TWin32Routed* routed);
// Routes the messages a container receives from its children; true if handled.
bool RouteChildMessage(HWND container, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
// The subclass procedure of a group box that holds controls: it passes their
// messages on and fills its own background, which a group box does not.
LRESULT CALLBACK FilledGroupProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
// The window class of a plain container (a panel, a page): it passes its
// children's messages on and fills itself with its control's background.
const wchar_t* ContainerClass();
// The HWND that children of a container are created in.
HWND WindowOf(TControl& control);

template <class Base>
class TWin32Control : public Base, public TWin32Routed {
public:
    ~TWin32Control() override {
        if (window_) {
            SetRouted(window_, nullptr);
            DestroyWindow(window_);
        }
    }
    [[nodiscard]] HWND Window() const { return window_; }

    [[nodiscard]] TRect Bounds() const override { return bounds_; }
    void SetBounds(const TRect& bounds) override {
        bounds_ = bounds;
        MoveWindow(window_, bounds.Left, bounds.Top, bounds.Width, bounds.Height, TRUE);
    }
    [[nodiscard]] bool Visible() const override { return (GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE) != 0; }
    void SetVisible(bool visible) override { ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE); }
    [[nodiscard]] bool Enabled() const override { return IsWindowEnabled(window_) != FALSE; }
    void SetEnabled(bool enabled) override { EnableWindow(window_, enabled ? TRUE : FALSE); }
    [[nodiscard]] std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override {
        caption_ = caption;
        SetWindowTextW(window_, W(caption).c_str());
    }
    [[nodiscard]] std::string Hint() const override { return hint_; }
    void SetHint(const std::string& hint) override;

protected:
    void Create(TContainer& parent, const TControlArgs& args, const wchar_t* className, DWORD style, DWORD exStyle = 0);

    HWND window_ = nullptr;
    TRect bounds_;
    std::string caption_;
    std::string hint_;
};

class TWin32Form;
TWin32Form* FormOf(HWND window);
void AddToolTip(HWND control, const std::string& text);

template <class Base>
void TWin32Control<Base>::Create(TContainer& parent, const TControlArgs& args, const wchar_t* className, DWORD style,
                                 DWORD exStyle) {
    bounds_ = args.Bounds;
    caption_ = args.Caption;
    window_ = CreateWindowExW(exStyle, className, W(args.Caption).c_str(),
                              WS_CHILD | (args.Visible ? WS_VISIBLE : 0) | style, args.Bounds.Left, args.Bounds.Top,
                              args.Bounds.Width, args.Bounds.Height, WindowOf(parent), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetRouted(window_, this);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor({})), FALSE);
}

template <class Base>
void TWin32Control<Base>::SetHint(const std::string& hint) {
    hint_ = hint;
    AddToolTip(window_, hint);
}

class TWin32Button final : public TWin32Control<TButton> {
public:
    TWin32Button(TContainer& parent, const TControlArgs& args);
    void SetDefault(bool isDefault) override;
    void Command(WORD code) override;
};

class TWin32CheckBox final : public TWin32Control<TCheckBox> {
public:
    TWin32CheckBox(TContainer& parent, const TControlArgs& args);
    [[nodiscard]] bool Checked() const override;
    void SetChecked(bool checked) override;
    void Command(WORD code) override;
};

template <class Base>
class TWin32LabelOf : public TWin32Control<Base> {
public:
    void SetCaption(const std::string& caption) override {
        TWin32Control<Base>::SetCaption(caption);
        Fit();
    }
    void SetAutoSize(bool autoSize) override {
        autoSize_ = autoSize;
        Fit();
    }
    void SetFont(const TFontStyle& font) override {
        font_ = font;
        SendMessageW(this->window_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(font)), TRUE);
        Fit();
    }
    [[nodiscard]] TFontStyle Font() const override { return font_; }
    [[nodiscard]] int TextWidth(const std::string& text) const override {
        return MeasureText(this->window_, FontFor(font_), text);
    }
    HBRUSH CtlColor(HDC dc) override;

protected:
    void Fit();
    bool autoSize_ = true;
    TFontStyle font_;
};

class TWin32Label final : public TWin32LabelOf<TLabel> {
public:
    TWin32Label(TContainer& parent, const TControlArgs& args);
};

class TWin32LinkLabel final : public TWin32LabelOf<TLinkLabel> {
public:
    TWin32LinkLabel(TContainer& parent, const TControlArgs& args);
    void Command(WORD code) override;
};

class TWin32Panel final : public TWin32Control<TPanel> {
public:
    TWin32Panel(TContainer& parent, const TControlArgs& args);
    [[nodiscard]] int ClientWidth() const override { return bounds_.Width; }
    [[nodiscard]] int ClientHeight() const override { return bounds_.Height; }
    void SetColor(TColor color) override;
    [[nodiscard]] TColor Color() const override { return color_; }
    [[nodiscard]] TColor Background() const override { return color_; }

private:
    TColor color_;
};

class TWin32GroupBox final : public TWin32Control<TGroupBox> {
public:
    TWin32GroupBox(TContainer& parent, const TControlArgs& args);
    [[nodiscard]] int ClientWidth() const override { return bounds_.Width; }
    [[nodiscard]] int ClientHeight() const override { return bounds_.Height; }
};

class TWin32ProgressBar final : public TWin32Control<TProgressBar> {
public:
    TWin32ProgressBar(TContainer& parent, const TControlArgs& args);
    void SetCaption(const std::string& caption) override;
    void SetRange(int min, int max) override;
    [[nodiscard]] int Min() const override { return min_; }
    [[nodiscard]] int Max() const override { return max_; }
    [[nodiscard]] int Position() const override { return position_; }
    [[nodiscard]] bool ShowCaption() const override { return showCaption_; }
    void SetShowCaption(bool show) override;
    void PaintCaption();

protected:
    void StorePosition(int position) override;

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    bool showCaption_ = false;
};

class TWin32ListBox final : public TWin32Control<TListBox> {
public:
    TWin32ListBox(TContainer& parent, const TControlArgs& args);
    void AddItem(const std::string& text) override;
    void Clear() override;
    [[nodiscard]] int Count() const override { return static_cast<int>(items_.size()); }
    [[nodiscard]] std::vector<std::string> Items() const override { return items_; }
    void SetItemHeight(int height) override;
    void SetFontColor(TColor color) override;
    [[nodiscard]] TColor FontColor() const override { return fontColor_; }
    [[nodiscard]] TColor BackgroundColor() const override { return background_; }
    [[nodiscard]] int TextWidth(const std::string& text) const override;
    void SetHorizontalExtent(int width) override;
    [[nodiscard]] int HorizontalExtent() const override { return extent_; }
    void ScrollToEnd() override;
    [[nodiscard]] int TopIndex() const override;
    void SetDoubleBuffered(bool on) override;
    [[nodiscard]] bool DoubleBuffered() const override { return doubleBuffered_; }
    void SetPopupMenu(TMenuItem* menu) override { popup_ = menu; }
    HBRUSH CtlColor(HDC dc) override;
    void ContextMenu(POINT screen);

private:
    std::vector<std::string> items_;
    TColor fontColor_ = clBlack;
    TColor background_ = clWhite;
    int extent_ = 0;
    bool doubleBuffered_ = false;
    TMenuItem* popup_ = nullptr;
};

class TWin32TreeView final : public TWin32Control<TTreeView> {
public:
    TWin32TreeView(TContainer& parent, const TControlArgs& args);
    ~TWin32TreeView() override;
    TNodeId AddNode(TNodeId parent, const std::string& text, int imageIndex, int stateIndex) override;
    [[nodiscard]] int NodeCount() const override { return static_cast<int>(items_.size()); }
    [[nodiscard]] std::string NodeText(TNodeId node) const override { return texts_.at(node); }
    [[nodiscard]] int StateIndex(TNodeId node) const override;
    void SetStateIndex(TNodeId node, int stateIndex) override;
    [[nodiscard]] bool Expanded(TNodeId node) const override;
    void SetExpanded(TNodeId node, bool expanded) override;
    [[nodiscard]] TTreeHit HitTest(TPoint point) const override;
    void ScrollToTop() override;
    void SetIndent(int indent) override;
    void MouseDown(TMouseButton button, TPoint point);

private:
    std::vector<HTREEITEM> items_;
    std::vector<std::string> texts_;
    HIMAGELIST stateImages_ = nullptr;
};

class TWin32Edit final : public TWin32Control<TEdit> {
public:
    TWin32Edit(TContainer& parent, const TControlArgs& args);
    [[nodiscard]] std::string Text() const override;
    void SetText(const std::string& text) override;
    void SetFocus() override { ::SetFocus(window_); }
    void Command(WORD code) override;

private:
    bool setting_ = false;
};

class TWin32RadioButton final : public TWin32Control<TRadioButton> {
public:
    TWin32RadioButton(TContainer& parent, const TControlArgs& args);
    [[nodiscard]] bool Checked() const override;
    void SetChecked(bool checked) override;
    void Command(WORD code) override;
};

class TWin32ListView final : public TWin32Control<TListView> {
public:
    TWin32ListView(TContainer& parent, const TControlArgs& args);
    void AddItem(const std::string& text) override;
    void SetItemText(int index, const std::string& text) override;
    void DeleteItem(int index) override;
    void Clear() override;
    [[nodiscard]] int Count() const override;
    [[nodiscard]] std::string ItemText(int index) const override;
    [[nodiscard]] int SelectedIndex() const override;
    void SetSelectedIndex(int index) override;
    void SetFocus() override;
    bool Notify(NMHDR* header, LRESULT& result) override;

private:
    bool changing_ = false;
};

class TWin32Form;

class TWin32Timer final : public TTimer {
public:
    TWin32Timer(TWin32Form& owner, UINT_PTR id);
    ~TWin32Timer() override;
    [[nodiscard]] bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;
    [[nodiscard]] int Interval() const override { return interval_; }
    void SetInterval(int milliseconds) override;
    void Tick();

private:
    void Arm();
    TWin32Form& owner_;
    UINT_PTR id_;
    bool enabled_ = false;
    int interval_ = 1000;
};

class TWin32Application final : public TApplication {
public:
    void SetTitle(const std::string& title) override { title_ = title; }
    void Run() override;
    void Terminate() override;
    [[nodiscard]] bool Terminated() const override { return terminated_; }
    bool WaitUntil(const std::function<bool()>& done, int timeoutMs) override;
    void ShellOpen(const std::string& target) override;
    void ProcessOneMessage() override;
    [[nodiscard]] int HintPause() const override;
    void SetHintPause(int milliseconds) override;

private:
    std::string title_;
    bool terminated_ = false;
};

// The delay before a hint shows, shared by every form's tool tip.
[[nodiscard]] int& HintPauseMs();

// Translates menu shortcuts and dispatches one message.
void DispatchOne(MSG& msg);

class TWin32Form final : public TForm, public TWin32Routed {
public:
    explicit TWin32Form(const TFormArgs& args);
    ~TWin32Form() override;
    [[nodiscard]] HWND Window() const { return window_; }

    [[nodiscard]] TRect Bounds() const override;
    void SetBounds(const TRect& bounds) override;
    [[nodiscard]] bool Visible() const override { return IsWindowVisible(window_) != FALSE; }
    void SetVisible(bool visible) override;
    [[nodiscard]] bool Enabled() const override { return IsWindowEnabled(window_) != FALSE; }
    void SetEnabled(bool enabled) override { EnableWindow(window_, enabled ? TRUE : FALSE); }
    [[nodiscard]] std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override;
    [[nodiscard]] std::string Hint() const override { return {}; }
    void SetHint(const std::string&) override {}
    [[nodiscard]] int ClientWidth() const override;
    [[nodiscard]] int ClientHeight() const override;

    [[nodiscard]] std::string Name() const override { return name_; }
    [[nodiscard]] platform::WindowId Handle() const override { return reinterpret_cast<platform::WindowId>(window_); }
    void SetMinSize(int width, int height) override;
    void CenterOnScreen() override;
    void CenterOnOwner() override;
    [[nodiscard]] bool Maximized() const override { return IsZoomed(window_) != FALSE; }
    void Maximize() override { ShowWindow(window_, SW_MAXIMIZE); }
    [[nodiscard]] bool Minimized() const override { return IsIconic(window_) != FALSE; }
    void Show() override;
    void Hide() override { ShowWindow(window_, SW_HIDE); }
    void BringToFront() override;
    TModalResult ShowModal() override;
    void SetModalResult(TModalResult result) override { modalResult_ = result; }
    [[nodiscard]] TModalResult ModalResult() const override { return modalResult_; }
    void Close() override;
    void SetMenu(TMenuItem* menu) override;
    void SetPopupMenu(TMenuItem* menu) override { popupMenu_ = menu; }
    [[nodiscard]] TMenuItem* OwnPopupMenu() const { return popupMenu_; }
    void PopupMenu(TMenuItem& menu, TPoint screenPoint) override;
    [[nodiscard]] TPoint CursorPos() const override;
    void MinimizeToTray() override;
    void SetTrayIcon(bool present, const std::string& tip, uint32_t callbackMessage) override;
    [[nodiscard]] bool HasTrayIcon() const override { return trayIcon_; }

    [[nodiscard]] TMenuItem* Menu() const { return menu_; }
    [[nodiscard]] bool InModal() const { return inModal_; }
    [[nodiscard]] HWND ToolTip();
    UINT_PTR NextTimerId() { return ++lastTimerId_; }
    void AddTimer(UINT_PTR id, TWin32Timer* timer) { timers_[id] = timer; }
    void RemoveTimer(UINT_PTR id) { timers_.erase(id); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    HMENU BuildMenu(TMenuItem& menu, bool popup);
    void RefreshMenu(HMENU menu);

    std::string name_;
    std::string caption_;
    TForm* owner_;
    HWND window_ = nullptr;
    HWND toolTip_ = nullptr;
    int minWidth_ = 0;
    int minHeight_ = 0;
    bool shownOnce_ = false;
    bool closed_ = false;
    bool inModal_ = false;
    bool trayIcon_ = false;
    uint32_t trayMessage_ = 0;
    TModalResult modalResult_ = mrNone;
    TMenuItem* menu_ = nullptr;
    TMenuItem* popupMenu_ = nullptr;
    HMENU menuBar_ = nullptr;
    std::map<UINT, TMenuItem*> menuIds_;
    std::map<HMENU, TMenuItem*> menuHandles_;
    UINT nextMenuId_ = 100;
    std::map<UINT_PTR, TWin32Timer*> timers_;
    UINT_PTR lastTimerId_ = 0;
};

}  // namespace nullvane::ui::win32
