#pragma once
// Headless radio groups, drop-down lists and key boxes: plain state, with
// helpers for a user's clicks and key presses that respect the enabled and
// visible state.
#include <string>
#include <vector>

#include "ui/ComboBox.h"
#include "ui/KeyBox.h"
#include "ui/RadioGroup.h"
#include "ui/headless/HeadlessControls.h"

namespace nullvane::ui::headless {

class THeadlessRadioGroup final : public THeadlessControl<TRadioGroup> {
public:
    using THeadlessControl::THeadlessControl;
    void SetItems(const std::vector<std::string>& items) override;
    [[nodiscard]] std::vector<std::string> Items() const override { return items_; }
    void SetColumns(int columns) override { columns_ = columns < 1 ? 1 : columns; }
    [[nodiscard]] int Columns() const override { return columns_; }
    [[nodiscard]] int ItemIndex() const override { return index_; }
    void SetItemIndex(int index) override;
    // The user clicks the choice of that caption.
    bool Click(const std::string& item);

private:
    std::vector<std::string> items_;
    int columns_ = 1;
    int index_ = -1;
};

class THeadlessComboBox final : public THeadlessControl<TComboBox> {
public:
    using THeadlessControl::THeadlessControl;
    void AddItem(const std::string& text) override { items_.push_back(text); }
    void Clear() override;
    [[nodiscard]] int Count() const override { return static_cast<int>(items_.size()); }
    [[nodiscard]] std::string ItemText(int index) const override { return items_.at(static_cast<size_t>(index)); }
    [[nodiscard]] int ItemIndex() const override { return index_; }
    void SetItemIndex(int index) override { index_ = index >= 0 && index < Count() ? index : -1; }
    // The user opens the list and picks the item of that text.
    bool Choose(const std::string& text);

private:
    std::vector<std::string> items_;
    int index_ = -1;
};

class THeadlessKeyBox final : public THeadlessControl<TKeyBox> {
public:
    using THeadlessControl::THeadlessControl;
    [[nodiscard]] std::string Text() const override { return text_; }
    void SetText(const std::string& text) override { text_ = text; }
    void SetFocus() override { focused_ = true; }
    [[nodiscard]] bool Focused() const { return focused_; }
    // The user presses a key in the box.
    bool Press(const TKeyPress& press);

private:
    std::string text_;
    bool focused_ = false;
};

}  // namespace nullvane::ui::headless
