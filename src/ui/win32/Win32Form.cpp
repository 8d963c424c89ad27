#include "ui/win32/Win32Controls.h"
#include "ui/win32/Win32Factory.h"
#include "ui/win32/Win32ListControls.h"
#include "ui/win32/Win32ChoiceControls.h"
#include "ui/win32/Win32PageControl.h"

#include "platform/CaughtException.h"
#include "platform/win32/MessagePump.h"

#include <shellapi.h>

#include <algorithm>

namespace nullvane::ui::win32 {

namespace {
const wchar_t kFormProp[] = L"NullvaneForm";

std::wstring MenuText(const TMenuItem& item) {
    std::wstring text = W(item.Caption);
    if (!item.ShortCut.Empty()) text += L"\t" + W(item.ShortCut.Text());
    return text;
}

void RegisterFormClass(const std::wstring& name, WNDPROC proc) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, name.c_str(), &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
    wc.lpszClassName = name.c_str();
    RegisterClassExW(&wc);
}
}  // namespace

TWin32Form* FormOf(HWND window) { return window ? static_cast<TWin32Form*>(GetPropW(window, kFormProp)) : nullptr; }

void DispatchOne(MSG& msg) {
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        if (TWin32Routed* focused = RoutedOf(msg.hwnd); focused && focused->CapturesKeys()) {
            DispatchMessageW(&msg);
            return;
        }
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        TWin32Form* form = FormOf(GetAncestor(msg.hwnd, GA_ROOT));
        if (form && msg.wParam == VK_ESCAPE && form->InModal()) {
            form->SetModalResult(mrCancel);
            return;
        }
        const auto key = static_cast<char>(msg.wParam);
        if (form && (form->Menu() || form->OwnPopupMenu()) && form->Enabled() &&
            ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) {
            TShortCut shortCut;
            shortCut.Ctrl = GetKeyState(VK_CONTROL) < 0;
            shortCut.Alt = GetKeyState(VK_MENU) < 0;
            shortCut.Shift = GetKeyState(VK_SHIFT) < 0;
            shortCut.Key = key;
            if (shortCut.Ctrl || shortCut.Alt) {
                bool handled = false;
                try {
                    handled = form->Menu() && ExecuteShortCut(*form->Menu(), shortCut);
                    // The window's pop-up menu answers its shortcuts too, also those of invisible entries.
                    if (!handled && form->OwnPopupMenu()) handled = ExecuteShortCut(*form->OwnPopupMenu(), shortCut);
                } catch (...) {
                    platform::ReportCaughtException("menu shortcut");
                    handled = true;
                }
                if (handled) return;
            }
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

// The form.

TWin32Form::TWin32Form(const TFormArgs& args) : name_(args.Name), caption_(args.Caption), owner_(args.Owner) {
    const std::wstring className = args.ClassName.empty() ? L"NullvaneForm" : W(args.ClassName);
    RegisterFormClass(className, WindowProc);
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    if (args.Dialog) {
        style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        exStyle = WS_EX_DLGMODALFRAME;
    } else if (!args.Sizeable) {
        style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    }
    auto* ownerForm = dynamic_cast<TWin32Form*>(args.Owner);
    CreateWindowExW(exStyle, className.c_str(), W(args.Caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                    args.Width, args.Height, ownerForm ? ownerForm->Window() : nullptr, nullptr,
                    GetModuleHandleW(nullptr), this);
    SetPropW(window_, kFormProp, this);
    SetRouted(window_, this);
}

TWin32Form::~TWin32Form() {
    // The owner is going away: the messages of the window's end reach nobody.
    onMessage = nullptr;
    onResize = nullptr;
    onActivate = nullptr;
    onClose = nullptr;
    if (trayIcon_) SetTrayIcon(false, {}, trayMessage_);
    for (auto& [id, timer] : timers_) KillTimer(window_, id);
    if (window_) {
        ::SetMenu(window_, nullptr);
        if (menuBar_) DestroyMenu(menuBar_);
        RemovePropW(window_, kFormProp);
        SetRouted(window_, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK TWin32Form::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<TWin32Form*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TWin32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, msg, wParam, lParam);
    try {
        return self->Handle(msg, wParam, lParam);
    } catch (...) {
        // No exception leaves a window procedure.
        platform::ReportCaughtException("form window procedure");
        return 0;
    }
}

LRESULT TWin32Form::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (onMessage && msg != WM_NCCREATE && msg != WM_CREATE) {
        TMessage message{msg, wParam, lParam, 0};
        if (onMessage(message)) return message.Result;
    }
    LRESULT result = 0;
    if (RouteChildMessage(window_, msg, wParam, lParam, result)) return result;
    switch (msg) {
    case WM_COMMAND:
        if (lParam == 0) {
            if (auto it = menuIds_.find(LOWORD(wParam)); it != menuIds_.end()) it->second->Click();
            return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        RefreshMenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_CONTEXTMENU:
        if (popupMenu_ && reinterpret_cast<HWND>(wParam) == window_) {
            // Shown only when it has an entry to show.
            const bool anyShown = std::any_of(popupMenu_->Items.begin(), popupMenu_->Items.end(),
                                              [](const auto& item) { return item->Visible && !item->Separator; });
            POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (lParam == -1) GetCursorPos(&point);
            if (anyShown) PopupMenu(*popupMenu_, {point.x, point.y});
            return 0;
        }
        break;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, minWidth_);
        info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, minHeight_);
        return 0;
    }
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED && onResize) onResize();
        return 0;
    case WM_TIMER:
        if (auto it = timers_.find(wParam); it != timers_.end()) {
            it->second->Tick();
            return 0;
        }
        break;
    case WM_CLOSE:
        Close();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, msg, wParam, lParam);
}

TRect TWin32Form::Bounds() const {
    RECT rect{};
    GetWindowRect(window_, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void TWin32Form::SetBounds(const TRect& bounds) {
    MoveWindow(window_, bounds.Left, bounds.Top, std::max(bounds.Width, minWidth_), std::max(bounds.Height, minHeight_),
               TRUE);
}

void TWin32Form::SetVisible(bool visible) {
    if (visible) {
        Show();
    } else {
        Hide();
    }
}

void TWin32Form::SetCaption(const std::string& caption) {
    caption_ = caption;
    SetWindowTextW(window_, W(caption).c_str());
}

int TWin32Form::ClientWidth() const {
    RECT rect{};
    GetClientRect(window_, &rect);
    return rect.right;
}

int TWin32Form::ClientHeight() const {
    RECT rect{};
    GetClientRect(window_, &rect);
    return rect.bottom;
}

void TWin32Form::SetMinSize(int width, int height) {
    minWidth_ = width;
    minHeight_ = height;
}

void TWin32Form::CenterOnScreen() {
    const TRect b = Bounds();
    MoveWindow(window_, (GetSystemMetrics(SM_CXSCREEN) - b.Width) / 2, (GetSystemMetrics(SM_CYSCREEN) - b.Height) / 2,
               b.Width, b.Height, TRUE);
}

void TWin32Form::CenterOnOwner() {
    if (!owner_ || !owner_->Visible()) {
        CenterOnScreen();
        return;
    }
    const TRect o = owner_->Bounds();
    const TRect b = Bounds();
    MoveWindow(window_, o.Left + (o.Width - b.Width) / 2, o.Top + (o.Height - b.Height) / 2, b.Width, b.Height, TRUE);
}

void TWin32Form::Show() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    if (!shownOnce_) {
        shownOnce_ = true;
        if (onResize) onResize();
        if (onActivate) onActivate();
    }
}

void TWin32Form::BringToFront() {
    ShowWindow(window_, SW_SHOW);
    if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
}

TModalResult TWin32Form::ShowModal() {
    modalResult_ = mrNone;
    auto* ownerForm = dynamic_cast<TWin32Form*>(owner_);
    HWND ownerWindow = ownerForm ? ownerForm->Window() : nullptr;
    if (ownerWindow) EnableWindow(ownerWindow, FALSE);
    inModal_ = true;
    shownOnce_ = true;
    if (onResize) onResize();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (modalResult_ == mrNone) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        DispatchOne(msg);
    }
    inModal_ = false;
    if (ownerWindow) EnableWindow(ownerWindow, TRUE);
    ShowWindow(window_, SW_HIDE);
    if (ownerWindow) SetActiveWindow(ownerWindow);
    if (quit) {
        PostQuitMessage(static_cast<int>(quitCode));
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
    }
    if (owner_ && owner_->onActivate) owner_->onActivate();
    return modalResult_;
}

void TWin32Form::Close() {
    if (inModal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    if (closed_) return;
    closed_ = true;
    if (onClose) onClose();
    ShowWindow(window_, SW_HIDE);
}

HMENU TWin32Form::BuildMenu(TMenuItem& menu, bool popup) {
    HMENU handle = popup ? CreatePopupMenu() : CreateMenu();
    menuHandles_[handle] = &menu;
    for (auto& item : menu.Items) {
        if (!item->Visible) continue;
        if (item->Separator) {
            AppendMenuW(handle, MF_SEPARATOR, 0, nullptr);
        } else if (!item->Items.empty()) {
            HMENU sub = BuildMenu(*item, true);
            AppendMenuW(handle, MF_POPUP | (item->Enabled ? 0 : MF_GRAYED), reinterpret_cast<UINT_PTR>(sub),
                        MenuText(*item).c_str());
        } else {
            const UINT id = nextMenuId_++;
            menuIds_[id] = item.get();
            AppendMenuW(handle, MF_STRING | (item->Enabled ? 0 : MF_GRAYED), id, MenuText(*item).c_str());
        }
    }
    return handle;
}

void TWin32Form::RefreshMenu(HMENU menu) {
    auto it = menuHandles_.find(menu);
    if (it == menuHandles_.end()) return;
    TMenuItem& model = *it->second;
    if (model.onPopup) model.onPopup();
    UINT position = 0;
    for (size_t i = 0; i < model.Items.size(); ++i) {
        if (!model.Items[i]->Visible) continue;
        if (!model.Items[i]->Separator) {
            EnableMenuItem(menu, position, MF_BYPOSITION | (model.Items[i]->Enabled ? MF_ENABLED : MF_GRAYED));
        }
        ++position;
    }
}

void TWin32Form::SetMenu(TMenuItem* menu) {
    menu_ = menu;
    HMENU old = menuBar_;
    menuBar_ = nullptr;
    if (menu) {
        menuBar_ = CreateMenu();
        menuHandles_[menuBar_] = menu;
        for (auto& item : menu->Items) {
            HMENU sub = BuildMenu(*item, true);
            AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), MenuText(*item).c_str());
        }
    }
    ::SetMenu(window_, menuBar_);
    if (old) DestroyMenu(old);
}

void TWin32Form::PopupMenu(TMenuItem& menu, TPoint screenPoint) {
    const UINT firstId = nextMenuId_;
    HMENU handle = BuildMenu(menu, true);
    SetForegroundWindow(window_);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(handle, TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.X,
                                                         screenPoint.Y, 0, window_, nullptr));
    PostMessageW(window_, WM_NULL, 0, 0);
    TMenuItem* item = nullptr;
    if (auto it = menuIds_.find(chosen); chosen != 0 && it != menuIds_.end()) item = it->second;
    for (auto it = menuIds_.begin(); it != menuIds_.end();) {
        it = it->first >= firstId ? menuIds_.erase(it) : std::next(it);
    }
    for (auto it = menuHandles_.begin(); it != menuHandles_.end();) {
        const bool ours = it->first != menuBar_ && GetMenu(window_) != it->first && it->second == &menu;
        it = ours ? menuHandles_.erase(it) : std::next(it);
    }
    DestroyMenu(handle);
    nextMenuId_ = firstId;
    if (item) item->Click();
}

TPoint TWin32Form::CursorPos() const {
    POINT point{};
    GetCursorPos(&point);
    return {point.x, point.y};
}

void TWin32Form::MinimizeToTray() {
    const LONG exStyle = GetWindowLongW(window_, GWL_EXSTYLE);
    SetWindowLongW(window_, GWL_EXSTYLE, exStyle | WS_EX_TOOLWINDOW);
    RECT trayRect{};
    if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) {
        if (HWND notify = FindWindowExW(tray, nullptr, L"TrayNotifyWnd", nullptr)) GetWindowRect(notify, &trayRect);
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(window_, &placement)) {
        placement.flags |= WPF_SETMINPOSITION;
        placement.ptMinPosition = {trayRect.left, trayRect.top};
        SetWindowPlacement(window_, &placement);
    }
    ShowWindow(window_, SW_MINIMIZE);
    SetWindowLongW(window_, GWL_EXSTYLE, exStyle);
    ShowWindow(window_, SW_HIDE);
}

void TWin32Form::SetTrayIcon(bool present, const std::string& tip, uint32_t callbackMessage) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(window_));
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICONSM));
    if (!data.hIcon) data.hIcon = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICON));
    // The tip holds at most 63 characters and the terminating zero.
    const std::wstring wide = W(tip).substr(0, 63);
    std::copy(wide.begin(), wide.end(), data.szTip);
    Shell_NotifyIconW(present ? NIM_ADD : NIM_DELETE, &data);
    trayIcon_ = present;
    trayMessage_ = callbackMessage;
}

HWND TWin32Form::ToolTip() {
    if (!toolTip_) {
        toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 400);
        SendMessageW(toolTip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(HintPauseMs(), 0));
    }
    return toolTip_;
}

// Timers.

TWin32Timer::TWin32Timer(TWin32Form& owner, UINT_PTR id) : owner_(owner), id_(id) { owner_.AddTimer(id_, this); }

TWin32Timer::~TWin32Timer() {
    KillTimer(owner_.Window(), id_);
    owner_.RemoveTimer(id_);
}

// SetTimer starts the countdown anew: an unchanged timer is left alone, or
// re-arming it more often than its interval would keep it from ever firing.
void TWin32Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Arm();
}

void TWin32Timer::SetInterval(int milliseconds) {
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    Arm();
}

void TWin32Timer::Arm() {
    if (enabled_ && interval_ > 0) {
        SetTimer(owner_.Window(), id_, static_cast<UINT>(interval_), nullptr);
    } else {
        KillTimer(owner_.Window(), id_);
    }
}

void TWin32Timer::Tick() {
    if (enabled_ && onTimer) onTimer();
}

// The application.

void TWin32Application::Run() {
    MSG msg;
    while (!terminated_) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        DispatchOne(msg);
    }
}

void TWin32Application::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

bool TWin32Application::WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    return platform::win32::PumpMessagesUntil(done, timeoutMs, DispatchOne);
}

int& HintPauseMs() {
    static int pause = 500;
    return pause;
}

int TWin32Application::HintPause() const { return HintPauseMs(); }

void TWin32Application::SetHintPause(int milliseconds) {
    HintPauseMs() = milliseconds;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (TWin32Form* form = FormOf(window)) {
                SendMessageW(form->ToolTip(), TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(HintPauseMs(), 0));
            }
            return TRUE;
        },
        0);
}

void TWin32Application::ShellOpen(const std::string& target) {
    ShellExecuteW(nullptr, L"open", W(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TWin32Application::ProcessOneMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return;
    if (msg.message == WM_QUIT) {
        // Left for the loop that owns it.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
    }
    DispatchOne(msg);
}

// The factory.

TWin32Factory::TWin32Factory() : application_(std::make_unique<TWin32Application>()) {
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof init;
    init.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&init);
}

TWin32Factory::~TWin32Factory() = default;

TApplication& TWin32Factory::Application() { return *application_; }

std::unique_ptr<TForm> TWin32Factory::CreateForm(const TFormArgs& args) { return std::make_unique<TWin32Form>(args); }

std::unique_ptr<TPanel> TWin32Factory::CreatePanel(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32Panel>(parent, args);
}

std::unique_ptr<TGroupBox> TWin32Factory::CreateGroupBox(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32GroupBox>(parent, args);
}

std::unique_ptr<TButton> TWin32Factory::CreateButton(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32Button>(parent, args);
}

std::unique_ptr<TCheckBox> TWin32Factory::CreateCheckBox(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32CheckBox>(parent, args);
}

std::unique_ptr<TLabel> TWin32Factory::CreateLabel(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32Label>(parent, args);
}

std::unique_ptr<TLinkLabel> TWin32Factory::CreateLinkLabel(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32LinkLabel>(parent, args);
}

std::unique_ptr<TProgressBar> TWin32Factory::CreateProgressBar(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32ProgressBar>(parent, args);
}

std::unique_ptr<TListBox> TWin32Factory::CreateListBox(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32ListBox>(parent, args);
}

std::unique_ptr<TTreeView> TWin32Factory::CreateTreeView(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32TreeView>(parent, args);
}

std::unique_ptr<TEdit> TWin32Factory::CreateEdit(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32Edit>(parent, args);
}

std::unique_ptr<TRadioButton> TWin32Factory::CreateRadioButton(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32RadioButton>(parent, args);
}

std::unique_ptr<TListView> TWin32Factory::CreateListView(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32ListView>(parent, args);
}

std::unique_ptr<TReportListView> TWin32Factory::CreateReportListView(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32ReportListView>(parent, args);
}

std::unique_ptr<TSelectionListBox> TWin32Factory::CreateSelectionListBox(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32SelectionListBox>(parent, args);
}

std::unique_ptr<TPageControl> TWin32Factory::CreatePageControl(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32PageControl>(parent, args);
}

std::unique_ptr<TRadioGroup> TWin32Factory::CreateRadioGroup(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32RadioGroup>(parent, args);
}

std::unique_ptr<TComboBox> TWin32Factory::CreateComboBox(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32ComboBox>(parent, args);
}

std::unique_ptr<TKeyBox> TWin32Factory::CreateKeyBox(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<TWin32KeyBox>(parent, args);
}

std::unique_ptr<TTimer> TWin32Factory::CreateTimer(TForm& owner) {
    auto& form = dynamic_cast<TWin32Form&>(owner);
    return std::make_unique<TWin32Timer>(form, form.NextTimerId());
}

}  // namespace nullvane::ui::win32
