#pragma once
// A form as plain state. Posted messages reach it through the host's
// message queue; modal runs are answered by scripts.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Form.h"
#include "ui/headless/HeadlessControls.h"

namespace nullvane::ui::headless {

class THeadlessFactory;

class THeadlessForm final : public TForm {
public:
    // The frame around the client area: borders, caption and, with a menu, the menu bar.
    static constexpr int kFrameWidth = 16;
    static constexpr int kFrameHeight = 39;
    static constexpr int kMenuHeight = 20;

    THeadlessForm(THeadlessFactory& factory, const TFormArgs& args);
    ~THeadlessForm() override;

    [[nodiscard]] TRect Bounds() const override { return bounds_; }
    void SetBounds(const TRect& bounds) override;
    [[nodiscard]] bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override;
    [[nodiscard]] bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    [[nodiscard]] std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    [[nodiscard]] std::string Hint() const override { return {}; }
    void SetHint(const std::string&) override {}
    [[nodiscard]] int ClientWidth() const override { return bounds_.Width - kFrameWidth; }
    [[nodiscard]] int ClientHeight() const override;

    [[nodiscard]] std::string Name() const override { return name_; }
    [[nodiscard]] platform::WindowId Handle() const override { return handle_; }
    void SetMinSize(int width, int height) override;
    void CenterOnScreen() override;
    void CenterOnOwner() override;
    [[nodiscard]] bool Maximized() const override { return maximized_; }
    void Maximize() override { maximized_ = true; }
    [[nodiscard]] bool Minimized() const override { return minimized_; }
    void Show() override;
    void Hide() override { visible_ = false; }
    void BringToFront() override;
    TModalResult ShowModal() override;
    void SetModalResult(TModalResult result) override { modalResult_ = result; }
    void Close() override;
    void SetMenu(TMenuItem* menu) override { menu_ = menu; }
    void SetPopupMenu(TMenuItem* menu) override { popupMenu_ = menu; }
    void PopupMenu(TMenuItem& menu, TPoint screenPoint) override;
    [[nodiscard]] TPoint CursorPos() const override { return cursor_; }
    void MinimizeToTray() override;
    void SetTrayIcon(bool present, const std::string& tip, uint32_t callbackMessage) override;
    [[nodiscard]] bool HasTrayIcon() const override { return trayIcon_; }

    // Test side.
    [[nodiscard]] bool Closed() const { return closed_; }
    [[nodiscard]] TMenuItem* Menu() const { return menu_; }
    [[nodiscard]] TMenuItem* LastPopupMenu() const { return lastPopup_; }
    [[nodiscard]] std::string TrayTip() const { return trayTip_; }
    [[nodiscard]] uint32_t TrayCallbackMessage() const { return trayMessage_; }
    [[nodiscard]] int BroughtToFrontCount() const { return broughtToFront_; }
    [[nodiscard]] TModalResult ModalResult() const override { return modalResult_; }
    [[nodiscard]] TMenuItem* OwnPopupMenu() const { return popupMenu_; }
    void SetCursorPos(TPoint point) { cursor_ = point; }
    // A key press with modifiers, as the message loop routes it to the menu
    // bar, then to the window's pop-up menu.
    bool PressShortCut(const TShortCut& shortCut);
    // A message as the window procedure receives it; unhandled ones get the
    // default handling (minimise on the system minimise command).
    intptr_t Dispatch(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    // The user resizes the window by its frame.
    void ResizeTo(int width, int height) { SetBounds({bounds_.Left, bounds_.Top, width, height}); }

    [[nodiscard]] const std::shared_ptr<TChildRegistry>& Registry() const { return registry_; }
    // The child of that kind whose caption is that text; nullptr if none.
    template <class T>
    [[nodiscard]] T* Find(const std::string& caption) const {
        for (TControl* control : registry_->Controls()) {
            if (auto* typed = dynamic_cast<T*>(control); typed && control->Caption() == caption) return typed;
        }
        return nullptr;
    }
    // Every child of that kind, in the order they were made (edit boxes have
    // no caption to be found by).
    template <class T>
    [[nodiscard]] std::vector<T*> FindAll() const {
        std::vector<T*> found;
        for (TControl* control : registry_->Controls()) {
            if (auto* typed = dynamic_cast<T*>(control)) found.push_back(typed);
        }
        return found;
    }

private:
    THeadlessFactory& factory_;
    std::string name_;
    std::string caption_;
    TForm* owner_;
    std::shared_ptr<TChildRegistry> registry_ = std::make_shared<TChildRegistry>();
    platform::WindowId handle_ = 0;
    TRect bounds_;
    int minWidth_ = 0;
    int minHeight_ = 0;
    bool visible_ = false;
    bool enabled_ = true;
    bool shownOnce_ = false;
    bool maximized_ = false;
    bool minimized_ = false;
    bool closed_ = false;
    bool trayIcon_ = false;
    std::string trayTip_;
    uint32_t trayMessage_ = 0;
    int broughtToFront_ = 0;
    TModalResult modalResult_ = mrNone;
    TMenuItem* menu_ = nullptr;
    TMenuItem* popupMenu_ = nullptr;
    TMenuItem* lastPopup_ = nullptr;
    TPoint cursor_;
};

}  // namespace nullvane::ui::headless
