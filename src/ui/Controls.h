#pragma once
// The controls the windows are written against. Events are plain function
// members that the owner sets; a backend calls them on the window thread.
#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Menu.h"

namespace nullvane::ui {

class TButton : public TControl {
public:
    std::function<void()> onClick;
    // Enter presses it (OK buttons of dialogs).
    virtual void SetDefault(bool isDefault) = 0;
};

class TCheckBox : public TControl {
public:
    [[nodiscard]] virtual bool Checked() const = 0;
    // Changes the tick without calling onClick.
    virtual void SetChecked(bool checked) = 0;
    // After the user changed the tick.
    std::function<void()> onClick;
};

struct TFontStyle {
    int PointSize = 8;
    bool Bold = false;
    bool Underline = false;
    TColor Color = clBlack;
};

// A text label. An auto-sized label takes the size of its caption.
class TLabel : public TControl {
public:
    virtual void SetAutoSize(bool autoSize) = 0;
    virtual void SetFont(const TFontStyle& font) = 0;
    [[nodiscard]] virtual TFontStyle Font() const = 0;
    // Width of a text in this label's font.
    [[nodiscard]] virtual int TextWidth(const std::string& text) const = 0;
};

// A label that opens something when clicked.
class TLinkLabel : public TLabel {
public:
    std::function<void()> onClick;
};

class TPanel : public TContainer {
public:
    virtual void SetColor(TColor color) = 0;
    [[nodiscard]] virtual TColor Color() const = 0;
};

class TGroupBox : public TContainer {};

// A progress bar that draws a caption over itself. Setting the position
// also sets the caption to the whole percentage of the range.
class TProgressBar : public TControl {
public:
    virtual void SetRange(int min, int max) = 0;
    [[nodiscard]] virtual int Min() const = 0;
    [[nodiscard]] virtual int Max() const = 0;
    [[nodiscard]] virtual int Position() const = 0;
    [[nodiscard]] virtual bool ShowCaption() const = 0;
    virtual void SetShowCaption(bool show) = 0;

    void SetPosition(int position);
    // "0%" at the bottom of the range, "100%" at the top; the fraction is dropped.
    [[nodiscard]] static std::string PercentText(int position, int min, int max);

protected:
    virtual void StorePosition(int position) = 0;
};

// A list of text lines (the log).
class TListBox : public TControl {
public:
    virtual void AddItem(const std::string& text) = 0;
    virtual void Clear() = 0;
    [[nodiscard]] virtual int Count() const = 0;
    [[nodiscard]] virtual std::vector<std::string> Items() const = 0;
    virtual void SetItemHeight(int height) = 0;
    virtual void SetFontColor(TColor color) = 0;
    [[nodiscard]] virtual TColor FontColor() const = 0;
    [[nodiscard]] virtual TColor BackgroundColor() const = 0;
    [[nodiscard]] virtual int TextWidth(const std::string& text) const = 0;
    virtual void SetHorizontalExtent(int width) = 0;
    [[nodiscard]] virtual int HorizontalExtent() const = 0;
    // Scrolls so that the last line shows.
    virtual void ScrollToEnd() = 0;
    [[nodiscard]] virtual int TopIndex() const = 0;
    virtual void SetDoubleBuffered(bool on) = 0;
    [[nodiscard]] virtual bool DoubleBuffered() const = 0;
    // The context menu; the list box does not own it.
    virtual void SetPopupMenu(TMenuItem* menu) = 0;
};

enum class TMouseButton { Left, Right, Middle };

// Node handles of a tree view; -1 is no node.
using TNodeId = int;
inline constexpr TNodeId kNoNode = -1;

struct TTreeHit {
    TNodeId Node = kNoNode;
    bool OnStateImage = false;
    bool OnLabel = false;
};

// A tree with state images per node (0 blank, 1 empty box, 2 ticked box).
// Nodes are only added, in display order under their parent.
class TTreeView : public TControl {
public:
    virtual TNodeId AddNode(TNodeId parent, const std::string& text, int imageIndex, int stateIndex) = 0;
    [[nodiscard]] virtual int NodeCount() const = 0;
    [[nodiscard]] virtual std::string NodeText(TNodeId node) const = 0;
    [[nodiscard]] virtual int StateIndex(TNodeId node) const = 0;
    virtual void SetStateIndex(TNodeId node, int stateIndex) = 0;
    [[nodiscard]] virtual bool Expanded(TNodeId node) const = 0;
    virtual void SetExpanded(TNodeId node, bool expanded) = 0;
    // What is at a point of the tree's client area.
    [[nodiscard]] virtual TTreeHit HitTest(TPoint point) const = 0;
    virtual void ScrollToTop() = 0;
    virtual void SetIndent(int indent) = 0;
    std::function<void(TMouseButton, TPoint)> onMouseDown;
};

// A one-line text box.
class TEdit : public TControl {
public:
    [[nodiscard]] virtual std::string Text() const = 0;
    // Changes the text without calling onChange.
    virtual void SetText(const std::string& text) = 0;
    virtual void SetFocus() {}
    // After the user changed the text.
    std::function<void()> onChange;
};

// A radio button. The radio buttons of one container are one group:
// checking one unchecks the others.
class TRadioButton : public TControl {
public:
    [[nodiscard]] virtual bool Checked() const = 0;
    // Checks or unchecks it (checking unchecks the rest of its group)
    // without calling onClick.
    virtual void SetChecked(bool checked) = 0;
    // After the user checked it.
    std::function<void()> onClick;
};

// A read-only list of one column with a header (the control's caption),
// whole rows selected, one at a time.
class TListView : public TControl {
public:
    virtual void AddItem(const std::string& text) = 0;
    virtual void SetItemText(int index, const std::string& text) = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void Clear() = 0;
    [[nodiscard]] virtual int Count() const = 0;
    [[nodiscard]] virtual std::string ItemText(int index) const = 0;
    [[nodiscard]] std::vector<std::string> Items() const;
    // The selected row, or -1.
    [[nodiscard]] virtual int SelectedIndex() const = 0;
    // Selects a row (-1: none) without calling onSelect.
    virtual void SetSelectedIndex(int index) = 0;
    virtual void SetFocus() = 0;
    // After the user changed the selection.
    std::function<void()> onSelect;
    std::function<void()> onDoubleClick;
};

// A repeating timer. Setting the state or interval it already has changes
// nothing, so its countdown goes on; a change starts the countdown anew.
class TTimer {
public:
    virtual ~TTimer() = default;
    [[nodiscard]] virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    [[nodiscard]] virtual int Interval() const = 0;
    virtual void SetInterval(int milliseconds) = 0;
    std::function<void()> onTimer;
};

}  // namespace nullvane::ui
