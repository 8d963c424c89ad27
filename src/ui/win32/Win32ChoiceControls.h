#pragma once
// The radio group (a group box with radio buttons as its children), the
// drop-down list (a list-style combo box) and the key box (an edit box that
// takes every key press itself and shows what its owner sets).
#include <memory>
#include <vector>

#include "ui/ComboBox.h"
#include "ui/KeyBox.h"
#include "ui/RadioGroup.h"
#include "ui/win32/Win32Controls.h"

namespace nullvane::ui::win32 {

class TWin32RadioGroup final : public TWin32Control<TRadioGroup> {
public:
    TWin32RadioGroup(TContainer& parent, const TControlArgs& args);
    void SetBounds(const TRect& bounds) override;
    void SetEnabled(bool enabled) override;
    void SetItems(const std::vector<std::string>& items) override;
    [[nodiscard]] std::vector<std::string> Items() const override { return items_; }
    void SetColumns(int columns) override;
    [[nodiscard]] int Columns() const override { return columns_; }
    [[nodiscard]] int ItemIndex() const override;
    void SetItemIndex(int index) override;

private:
    // One radio button; its clicks come back through its container.
    struct TChoice final : TWin32Routed {
        TWin32RadioGroup* group = nullptr;
        int index = 0;
        HWND window = nullptr;
        void Command(WORD code) override;
    };
    void Layout();
    void Chosen(int index);

    std::vector<std::string> items_;
    std::vector<std::unique_ptr<TChoice>> choices_;
    int columns_ = 1;
};

class TWin32ComboBox final : public TWin32Control<TComboBox> {
public:
    TWin32ComboBox(TContainer& parent, const TControlArgs& args);
    void SetBounds(const TRect& bounds) override;
    void AddItem(const std::string& text) override;
    void Clear() override;
    [[nodiscard]] int Count() const override;
    [[nodiscard]] std::string ItemText(int index) const override;
    [[nodiscard]] int ItemIndex() const override;
    void SetItemIndex(int index) override;
    void Command(WORD code) override;
};

class TWin32KeyBox final : public TWin32Control<TKeyBox> {
public:
    TWin32KeyBox(TContainer& parent, const TControlArgs& args);
    [[nodiscard]] std::string Text() const override;
    void SetText(const std::string& text) override;
    void SetFocus() override { ::SetFocus(window_); }
    [[nodiscard]] bool CapturesKeys() const override { return true; }
    // A key went down in the box, with the modifiers held now.
    void KeyDown(WPARAM key);
};

}  // namespace nullvane::ui::win32
