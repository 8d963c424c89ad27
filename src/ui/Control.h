#pragma once
// The base of every control: bounds relative to its parent, visibility,
// enabled state, caption and hint. Each backend keeps or forwards the state.
#include <string>

#include "ui/Geometry.h"

namespace nullvane::ui {

class TControl {
public:
    virtual ~TControl() = default;
    TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    [[nodiscard]] virtual TRect Bounds() const = 0;
    virtual void SetBounds(const TRect& bounds) = 0;
    [[nodiscard]] virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    [[nodiscard]] virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    [[nodiscard]] virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // The tool tip shown over the control.
    [[nodiscard]] virtual std::string Hint() const = 0;
    virtual void SetHint(const std::string& hint) = 0;

    [[nodiscard]] int Left() const { return Bounds().Left; }
    [[nodiscard]] int Top() const { return Bounds().Top; }
    [[nodiscard]] int Width() const { return Bounds().Width; }
    [[nodiscard]] int Height() const { return Bounds().Height; }
    [[nodiscard]] int Right() const { return Bounds().Right(); }
    [[nodiscard]] int Bottom() const { return Bounds().Bottom(); }
    void SetLeft(int left) { auto b = Bounds(); b.Left = left; SetBounds(b); }
    void SetTop(int top) { auto b = Bounds(); b.Top = top; SetBounds(b); }
    void SetWidth(int width) { auto b = Bounds(); b.Width = width; SetBounds(b); }
    void SetHeight(int height) { auto b = Bounds(); b.Height = height; SetBounds(b); }
};

// A control that holds others (form, panel, group box). Children's bounds
// are relative to its client area.
class TContainer : public TControl {
public:
    [[nodiscard]] virtual int ClientWidth() const = 0;
    [[nodiscard]] virtual int ClientHeight() const = 0;
};

}  // namespace nullvane::ui
