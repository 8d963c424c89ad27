#pragma once
// A top-level window: the main window or a modal dialog.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Desktop.h"
#include "ui/Control.h"
#include "ui/Menu.h"

namespace nullvane::ui {

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// What a window procedure hands to the owner's message hook.
struct TMessage {
    uint32_t Msg = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
};

// System messages the windows handle by number (the core sees no Win32 headers).
inline constexpr uint32_t kWmQueryEndSession = 0x0011;
inline constexpr uint32_t kWmEndSession = 0x0016;
inline constexpr uint32_t kWmSysCommand = 0x0112;
inline constexpr uint32_t kWmHotKey = 0x0312;
inline constexpr uint32_t kWmLButtonDown = 0x0201;
inline constexpr uint32_t kWmRButtonDown = 0x0204;
inline constexpr uintptr_t kScMinimize = 0xF020;

struct TFormArgs {
    std::string Name;        // "frmMain": how tests and scripts find the form
    std::string ClassName;   // the window class; empty for the backend's default
    std::string Caption;
    int Width = 400;
    int Height = 300;
    bool Sizeable = true;
    bool Dialog = false;     // a fixed frame with no minimise/maximise boxes
    class TForm* Owner = nullptr;
};

class TForm : public TContainer {
public:
    [[nodiscard]] virtual std::string Name() const = 0;
    // The identity other code posts messages to.
    [[nodiscard]] virtual platform::WindowId Handle() const = 0;

    virtual void SetMinSize(int width, int height) = 0;
    virtual void CenterOnScreen() = 0;
    virtual void CenterOnOwner() = 0;
    [[nodiscard]] virtual bool Maximized() const = 0;
    virtual void Maximize() = 0;
    [[nodiscard]] virtual bool Minimized() const = 0;

    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Brings the window (and the program) to the front and restores it if it
    // was minimised.
    virtual void BringToFront() = 0;
    // Runs the window modally and returns how it was closed.
    virtual TModalResult ShowModal() = 0;
    // Ends ShowModal with that result.
    virtual void SetModalResult(TModalResult result) = 0;
    // mrNone while the modal run goes on; set once something asked it to end.
    [[nodiscard]] virtual TModalResult ModalResult() const = 0;
    // Asks the window to close: onClose runs, then the window goes away.
    virtual void Close() = 0;

    // The menu bar; the form does not own it.
    virtual void SetMenu(TMenuItem* menu) = 0;
    virtual void PopupMenu(TMenuItem& menu, TPoint screenPoint) = 0;
    // The window's own pop-up menu (a right click on it); its shortcuts work
    // while the window is active, also those of invisible entries. The form
    // does not own it.
    virtual void SetPopupMenu(TMenuItem* menu) = 0;
    [[nodiscard]] virtual TPoint CursorPos() const = 0;

    // The animation toward the notification area, the minimise, then hiding.
    virtual void MinimizeToTray() = 0;
    // Adds or removes the window's notification area icon; its mouse
    // messages arrive as `callbackMessage` with the mouse message in LParam.
    virtual void SetTrayIcon(bool present, const std::string& tip, uint32_t callbackMessage) = 0;
    [[nodiscard]] virtual bool HasTrayIcon() const = 0;

    // When the window becomes the program's active window: first shown, and
    // again when one of its modal windows closes.
    std::function<void()> onActivate;
    std::function<void()> onResize;
    // Before the window goes away (Close, the close box, end of session).
    std::function<void()> onClose;
    // Every message first; true if handled (then TMessage::Result is the answer).
    std::function<bool(TMessage&)> onMessage;
};

}  // namespace nullvane::ui
