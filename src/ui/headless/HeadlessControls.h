#pragma once
// Controls as plain state, for tests of the windows' logic. Tests fire
// events through the helpers (Click, FireMouseDown, Fire) that respect the
// enabled and visible state as a user would meet it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace nullvane::ui::headless {

// Text metrics of the headless backend: a fixed width per character.
[[nodiscard]] int HeadlessTextWidth(const std::string& text, const TFontStyle& font);
[[nodiscard]] int HeadlessTextHeight(const TFontStyle& font);

class THeadlessForm;

// Where a control registers so that scripts can find it by caption.
class TChildRegistry {
public:
    void Add(TControl* control) { controls_.push_back(control); }
    void Remove(TControl* control);
    [[nodiscard]] const std::vector<TControl*>& Controls() const { return controls_; }

private:
    std::vector<TControl*> controls_;
};

// The state every headless control keeps.
template <class Base>
class THeadlessControl : public Base {
public:
    THeadlessControl(std::shared_ptr<TChildRegistry> registry, const TRect& bounds, std::string caption, bool visible)
        : registry_(std::move(registry)), bounds_(bounds), visible_(visible), caption_(std::move(caption)) {
        if (registry_) registry_->Add(this);
    }
    ~THeadlessControl() override {
        if (registry_) registry_->Remove(this);
    }
    [[nodiscard]] TRect Bounds() const override { return bounds_; }
    void SetBounds(const TRect& bounds) override { bounds_ = bounds; }
    [[nodiscard]] bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override { visible_ = visible; }
    [[nodiscard]] bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    [[nodiscard]] std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    [[nodiscard]] std::string Hint() const override { return hint_; }
    void SetHint(const std::string& hint) override { hint_ = hint; }
    [[nodiscard]] const std::shared_ptr<TChildRegistry>& Registry() const { return registry_; }

protected:
    std::shared_ptr<TChildRegistry> registry_;
    TRect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    std::string hint_;
};

class THeadlessButton final : public THeadlessControl<TButton> {
public:
    using THeadlessControl::THeadlessControl;
    void SetDefault(bool isDefault) override { default_ = isDefault; }
    [[nodiscard]] bool IsDefault() const { return default_; }
    // A user's click: only on an enabled, visible button.
    bool Click();

private:
    bool default_ = false;
};

class THeadlessCheckBox final : public THeadlessControl<TCheckBox> {
public:
    using THeadlessControl::THeadlessControl;
    [[nodiscard]] bool Checked() const override { return checked_; }
    void SetChecked(bool checked) override { checked_ = checked; }
    // A user's click: toggles the tick, then onClick.
    bool Click();

private:
    bool checked_ = false;
};

class THeadlessEdit final : public THeadlessControl<TEdit> {
public:
    using THeadlessControl::THeadlessControl;
    [[nodiscard]] std::string Text() const override { return text_; }
    void SetText(const std::string& text) override { text_ = text; }
    void SetFocus() override { focused_ = true; }
    [[nodiscard]] bool Focused() const { return focused_; }
    // The user types the whole text: onChange follows.
    bool Type(const std::string& text);

private:
    std::string text_;
    bool focused_ = false;
};

class THeadlessRadioButton final : public THeadlessControl<TRadioButton> {
public:
    THeadlessRadioButton(std::shared_ptr<TChildRegistry> registry, const TRect& bounds, std::string caption, bool visible,
                         const TContainer* group)
        : THeadlessControl(std::move(registry), bounds, std::move(caption), visible), group_(group) {}
    [[nodiscard]] bool Checked() const override { return checked_; }
    void SetChecked(bool checked) override;
    // A user's click: checks it, then onClick.
    bool Click();

private:
    const TContainer* group_;
    bool checked_ = false;
};

class THeadlessListView final : public THeadlessControl<TListView> {
public:
    using THeadlessControl::THeadlessControl;
    void AddItem(const std::string& text) override { items_.push_back(text); }
    void SetItemText(int index, const std::string& text) override { items_.at(static_cast<size_t>(index)) = text; }
    void DeleteItem(int index) override;
    void Clear() override {
        items_.clear();
        selected_ = -1;
    }
    [[nodiscard]] int Count() const override { return static_cast<int>(items_.size()); }
    [[nodiscard]] std::string ItemText(int index) const override { return items_.at(static_cast<size_t>(index)); }
    [[nodiscard]] int SelectedIndex() const override { return selected_; }
    void SetSelectedIndex(int index) override { selected_ = index >= 0 && index < Count() ? index : -1; }
    void SetFocus() override { focused_ = true; }
    [[nodiscard]] bool Focused() const { return focused_; }
    // The user clicks a row (onSelect) or double-clicks it (onSelect, then onDoubleClick).
    bool Select(int index);
    bool DoubleClick(int index);

private:
    std::vector<std::string> items_;
    int selected_ = -1;
    bool focused_ = false;
};

template <class Base>
class THeadlessLabelOf : public THeadlessControl<Base> {
public:
    THeadlessLabelOf(std::shared_ptr<TChildRegistry> registry, const TRect& bounds, std::string caption, bool visible)
        : THeadlessControl<Base>(std::move(registry), bounds, std::move(caption), visible) {
        Fit();
    }
    void SetCaption(const std::string& caption) override {
        this->caption_ = caption;
        Fit();
    }
    void SetAutoSize(bool autoSize) override {
        autoSize_ = autoSize;
        Fit();
    }
    void SetFont(const TFontStyle& font) override {
        font_ = font;
        Fit();
    }
    [[nodiscard]] TFontStyle Font() const override { return font_; }
    [[nodiscard]] int TextWidth(const std::string& text) const override { return HeadlessTextWidth(text, font_); }

private:
    void Fit() {
        if (!autoSize_) return;
        this->bounds_.Width = HeadlessTextWidth(this->caption_, font_);
        this->bounds_.Height = HeadlessTextHeight(font_);
    }
    bool autoSize_ = true;
    TFontStyle font_;
};

using THeadlessLabel = THeadlessLabelOf<TLabel>;

class THeadlessLinkLabel final : public THeadlessLabelOf<TLinkLabel> {
public:
    using THeadlessLabelOf::THeadlessLabelOf;
    bool Click();
};

class THeadlessPanel final : public THeadlessControl<TPanel> {
public:
    using THeadlessControl::THeadlessControl;
    [[nodiscard]] int ClientWidth() const override { return bounds_.Width; }
    [[nodiscard]] int ClientHeight() const override { return bounds_.Height; }
    void SetColor(TColor color) override { color_ = color; }
    [[nodiscard]] TColor Color() const override { return color_; }

private:
    TColor color_ = Rgb(240, 240, 240);
};

class THeadlessGroupBox final : public THeadlessControl<TGroupBox> {
public:
    using THeadlessControl::THeadlessControl;
    [[nodiscard]] int ClientWidth() const override { return bounds_.Width; }
    [[nodiscard]] int ClientHeight() const override { return bounds_.Height; }
};

class THeadlessProgressBar final : public THeadlessControl<TProgressBar> {
public:
    using THeadlessControl::THeadlessControl;
    void SetRange(int min, int max) override { min_ = min; max_ = max; }
    [[nodiscard]] int Min() const override { return min_; }
    [[nodiscard]] int Max() const override { return max_; }
    [[nodiscard]] int Position() const override { return position_; }
    [[nodiscard]] bool ShowCaption() const override { return showCaption_; }
    void SetShowCaption(bool show) override { showCaption_ = show; }

protected:
    void StorePosition(int position) override { position_ = position; }

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    bool showCaption_ = false;
};

class THeadlessListBox final : public THeadlessControl<TListBox> {
public:
    using THeadlessControl::THeadlessControl;
    void AddItem(const std::string& text) override { items_.push_back(text); }
    void Clear() override { items_.clear(); topIndex_ = 0; }
    [[nodiscard]] int Count() const override { return static_cast<int>(items_.size()); }
    [[nodiscard]] std::vector<std::string> Items() const override { return items_; }
    void SetItemHeight(int height) override { itemHeight_ = height > 0 ? height : 1; }
    void SetFontColor(TColor color) override { fontColor_ = color; }
    [[nodiscard]] TColor FontColor() const override { return fontColor_; }
    [[nodiscard]] TColor BackgroundColor() const override { return clWhite; }
    [[nodiscard]] int TextWidth(const std::string& text) const override { return HeadlessTextWidth(text, {}); }
    void SetHorizontalExtent(int width) override { extent_ = width; }
    [[nodiscard]] int HorizontalExtent() const override { return extent_; }
    void ScrollToEnd() override;
    [[nodiscard]] int TopIndex() const override { return topIndex_; }
    void SetDoubleBuffered(bool on) override { doubleBuffered_ = on; }
    [[nodiscard]] bool DoubleBuffered() const override { return doubleBuffered_; }
    void SetPopupMenu(TMenuItem* menu) override { popup_ = menu; }
    [[nodiscard]] TMenuItem* PopupMenu() const { return popup_; }
    // A right click: the context menu's onPopup runs; returns the menu.
    TMenuItem* OpenContextMenu();

private:
    std::vector<std::string> items_;
    int itemHeight_ = 13;
    TColor fontColor_ = clBlack;
    int extent_ = 0;
    int topIndex_ = 0;
    bool doubleBuffered_ = false;
    TMenuItem* popup_ = nullptr;
};

// Rows of 18 pixels; per level one indent for the expand button, then the
// 16-pixel state image, then the label.
class THeadlessTreeView final : public THeadlessControl<TTreeView> {
public:
    static constexpr int kRowHeight = 18;
    using THeadlessControl::THeadlessControl;
    TNodeId AddNode(TNodeId parent, const std::string& text, int imageIndex, int stateIndex) override;
    [[nodiscard]] int NodeCount() const override { return static_cast<int>(nodes_.size()); }
    [[nodiscard]] std::string NodeText(TNodeId node) const override { return nodes_.at(node).text; }
    [[nodiscard]] int StateIndex(TNodeId node) const override { return nodes_.at(node).state; }
    void SetStateIndex(TNodeId node, int stateIndex) override { nodes_.at(node).state = stateIndex; }
    [[nodiscard]] bool Expanded(TNodeId node) const override { return nodes_.at(node).expanded; }
    void SetExpanded(TNodeId node, bool expanded) override { nodes_.at(node).expanded = expanded; }
    [[nodiscard]] TTreeHit HitTest(TPoint point) const override;
    void ScrollToTop() override { topRow_ = 0; }
    void SetIndent(int indent) override { indent_ = indent; }

    [[nodiscard]] int TopRow() const { return topRow_; }
    void ScrollTo(int row) { topRow_ = row; }
    [[nodiscard]] TNodeId FindNode(const std::string& text, TNodeId parent = kNoNode) const;
    // Points inside the node's state image and label; the node must be shown.
    [[nodiscard]] TPoint StateImagePoint(TNodeId node) const;
    [[nodiscard]] TPoint LabelPoint(TNodeId node) const;
    void FireMouseDown(TMouseButton button, TPoint point);

private:
    struct TNode {
        std::string text;
        TNodeId parent = kNoNode;
        int level = 0;
        int image = 0;
        int state = 0;
        bool expanded = false;
        std::vector<TNodeId> children;
    };
    [[nodiscard]] std::vector<TNodeId> ShownRows() const;
    [[nodiscard]] int RowOf(TNodeId node) const;
    [[nodiscard]] int StateLeft(TNodeId node) const { return (nodes_.at(node).level + 1) * indent_; }

    std::vector<TNode> nodes_;
    std::vector<TNodeId> roots_;
    int indent_ = 19;
    int topRow_ = 0;
};

class THeadlessTimer final : public TTimer {
public:
    [[nodiscard]] bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;
    [[nodiscard]] int Interval() const override { return interval_; }
    void SetInterval(int milliseconds) override;
    // One interval has passed: onTimer if the timer runs.
    bool Fire();
    // Time passes: onTimer once for each interval completed while it runs.
    void Advance(int64_t milliseconds);

private:
    bool enabled_ = false;
    int interval_ = 1000;
    int64_t elapsed_ = 0;
};

}  // namespace nullvane::ui::headless
