#include "ui/headless/HeadlessForm.h"

#include <algorithm>

#include "ui/headless/HeadlessFactory.h"

namespace nullvane::ui::headless {

THeadlessForm::THeadlessForm(THeadlessFactory& factory, const TFormArgs& args)
    : factory_(factory), name_(args.Name), caption_(args.Caption), owner_(args.Owner),
      bounds_{0, 0, args.Width, args.Height} {
    auto& host = factory_.Host();
    if (host.registerWindow) {
        handle_ = host.registerWindow(args.ClassName.empty() ? "Nullvane" + args.Name : args.ClassName,
                                      [this](uint32_t msg, uintptr_t w, intptr_t l) { Dispatch(msg, w, l); });
    } else {
        static platform::WindowId nextHandle = 0x1000;
        handle_ = nextHandle += 4;
    }
    factory_.Register(this);
}

THeadlessForm::~THeadlessForm() {
    factory_.Unregister(this);
    if (handle_ && factory_.Host().unregisterWindow) factory_.Host().unregisterWindow(handle_);
}

int THeadlessForm::ClientHeight() const { return bounds_.Height - kFrameHeight - (menu_ ? kMenuHeight : 0); }

void THeadlessForm::SetBounds(const TRect& bounds) {
    TRect b = bounds;
    b.Width = std::max(b.Width, minWidth_);
    b.Height = std::max(b.Height, minHeight_);
    const bool resized = b.Width != bounds_.Width || b.Height != bounds_.Height;
    bounds_ = b;
    if (resized && onResize) onResize();
}

void THeadlessForm::SetVisible(bool visible) {
    if (visible) {
        Show();
    } else {
        Hide();
    }
}

void THeadlessForm::SetMinSize(int width, int height) {
    minWidth_ = width;
    minHeight_ = height;
    SetBounds(bounds_);
}

void THeadlessForm::CenterOnScreen() {
    const auto& host = factory_.Host();
    bounds_.Left = (host.screenWidth - bounds_.Width) / 2;
    bounds_.Top = (host.screenHeight - bounds_.Height) / 2;
}

void THeadlessForm::CenterOnOwner() {
    if (!owner_) {
        CenterOnScreen();
        return;
    }
    const TRect o = owner_->Bounds();
    bounds_.Left = o.Left + (o.Width - bounds_.Width) / 2;
    bounds_.Top = o.Top + (o.Height - bounds_.Height) / 2;
}

void THeadlessForm::Show() {
    visible_ = true;
    if (!shownOnce_) {
        shownOnce_ = true;
        if (onResize) onResize();
        if (onActivate) onActivate();
    }
}

void THeadlessForm::BringToFront() {
    visible_ = true;
    minimized_ = false;
    ++broughtToFront_;
}

TModalResult THeadlessForm::ShowModal() {
    modalResult_ = mrNone;
    visible_ = true;
    shownOnce_ = true;
    const TModalResult result = factory_.PlayModal(*this);
    visible_ = false;
    if (owner_ && owner_->onActivate) owner_->onActivate();
    return result;
}

void THeadlessForm::Close() {
    if (closed_) return;
    if (onClose) onClose();
    closed_ = true;
    visible_ = false;
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
}

void THeadlessForm::PopupMenu(TMenuItem& menu, TPoint screenPoint) {
    cursor_ = screenPoint;
    if (menu.onPopup) menu.onPopup();
    lastPopup_ = &menu;
}

void THeadlessForm::MinimizeToTray() {
    minimized_ = true;
    visible_ = false;
}

void THeadlessForm::SetTrayIcon(bool present, const std::string& tip, uint32_t callbackMessage) {
    trayIcon_ = present;
    trayTip_ = present ? tip : std::string();
    trayMessage_ = callbackMessage;
}

bool THeadlessForm::PressShortCut(const TShortCut& shortCut) {
    if (!enabled_) return false;
    if (menu_ && ExecuteShortCut(*menu_, shortCut)) return true;
    return popupMenu_ && ExecuteShortCut(*popupMenu_, shortCut);
}

intptr_t THeadlessForm::Dispatch(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    TMessage message{msg, wParam, lParam, 0};
    if (onMessage && onMessage(message)) return message.Result;
    if (msg == kWmSysCommand && (wParam & 0xFFF0) == kScMinimize) minimized_ = true;
    return 0;
}

}  // namespace nullvane::ui::headless
