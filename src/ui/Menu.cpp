#include "ui/Menu.h"

namespace nullvane::ui {

std::string TShortCut::Text() const {
    if (Empty()) return {};
    std::string text;
    if (Ctrl) text += "Ctrl+";
    if (Shift) text += "Shift+";
    if (Alt) text += "Alt+";
    text += Key;
    return text;
}

TMenuItem& TMenuItem::Add(std::string caption, std::function<void()> click, TShortCut shortCut) {
    auto item = std::make_unique<TMenuItem>(std::move(caption));
    item->onClick = std::move(click);
    item->ShortCut = shortCut;
    item->Parent = this;
    Items.push_back(std::move(item));
    return *Items.back();
}

void TMenuItem::AddSeparator() {
    auto item = std::make_unique<TMenuItem>("-");
    item->Separator = true;
    item->Parent = this;
    Items.push_back(std::move(item));
}

TMenuItem* TMenuItem::Find(const std::string& caption) {
    for (auto& item : Items) {
        if (!item->Separator && item->Caption == caption) return item.get();
        if (auto* found = item->Find(caption)) return found;
    }
    return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(const TShortCut& shortCut) {
    if (shortCut.Empty()) return nullptr;
    for (auto& item : Items) {
        if (!item->Separator && item->ShortCut == shortCut) return item.get();
        if (auto* found = item->FindShortCut(shortCut)) return found;
    }
    return nullptr;
}

bool TMenuItem::Click() {
    if (Separator || !Enabled) return false;
    if (onClick) onClick();
    return true;
}

bool ExecuteShortCut(TMenuItem& root, const TShortCut& shortCut) {
    TMenuItem* item = root.FindShortCut(shortCut);
    if (!item) return false;
    for (TMenuItem* parent = item->Parent; parent; parent = parent->Parent) {
        if (parent->onPopup) parent->onPopup();
    }
    return item->Click();
}

}  // namespace nullvane::ui
