#pragma once
// Menus as plain data: the main menu, pop-up menus and their shortcuts. The
// backends build their native menus from this model and route clicks back.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nullvane::ui {

struct TShortCut {
    bool Ctrl = false;
    bool Alt = false;
    bool Shift = false;
    char Key = 0;  // an upper-case letter or digit; 0 is no shortcut
    [[nodiscard]] bool Empty() const { return Key == 0; }
    // As a menu shows it: "Ctrl+Alt+C".
    [[nodiscard]] std::string Text() const;
    friend bool operator==(const TShortCut&, const TShortCut&) = default;
};

class TMenuItem {
public:
    TMenuItem() = default;
    explicit TMenuItem(std::string caption) : Caption(std::move(caption)) {}
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    std::string Caption;
    TShortCut ShortCut;
    bool Enabled = true;
    // An invisible entry is not shown, yet its shortcut still runs it.
    bool Visible = true;
    bool Separator = false;
    // A click on the entry (or its shortcut).
    std::function<void()> onClick;
    // Before this item's submenu opens (or one of its shortcuts runs): the
    // owner brings the entries' enabled state up to date.
    std::function<void()> onPopup;
    std::vector<std::unique_ptr<TMenuItem>> Items;
    TMenuItem* Parent = nullptr;

    TMenuItem& Add(std::string caption, std::function<void()> click = {}, TShortCut shortCut = {});
    void AddSeparator();
    // The entry with that caption, searched depth first; nullptr if none.
    [[nodiscard]] TMenuItem* Find(const std::string& caption);
    // The enabled entry whose shortcut that is, below this item.
    [[nodiscard]] TMenuItem* FindShortCut(const TShortCut& shortCut);
    // Runs the entry as a click does: nothing if it is disabled.
    bool Click();
};

// Runs the entry of that shortcut below the root, after its submenu's
// onPopup; false if no enabled entry has it.
bool ExecuteShortCut(TMenuItem& root, const TShortCut& shortCut);

}  // namespace nullvane::ui
