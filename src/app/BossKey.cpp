#include "app/BossKey.h"

#include <algorithm>

#include "platform/Text.h"
#include "settings/HiddenBrowserWindows.h"

namespace nullvane::app {

namespace {
constexpr char kBossKeyAtom[] = "MyQKTRHotkey_Hide";
constexpr const char* kBrowserClasses[] = {"IEFrame", "NS_AE_WindowClass", "MozillaWindowClass", "MozillaUIWindowClass",
                                           "OpWindow"};

bool IsBrowserClass(const std::string& className) {
    for (const char* browser : kBrowserClasses) {
        if (platform::EqualsIgnoreCase(className, browser)) return true;
    }
    return false;
}

// Still the window that was hidden: a handle alone may since name another.
bool SameWindow(const platform::TopLevelWindow& remembered, const platform::TopLevelWindow& now) {
    return remembered.window == now.window && remembered.processId == now.processId &&
           platform::EqualsIgnoreCase(remembered.className, now.className);
}
}  // namespace

TBossKey::TBossKey(platform::Desktop& desktop, platform::ProfileFile& profiles, std::string optionsPath)
    : desktop_(desktop), profiles_(profiles), optionsPath_(std::move(optionsPath)) {}

bool TBossKey::Register(platform::WindowId window, const settings::TShortcut& key) {
    window_ = window;
    atom_ = desktop_.AddGlobalAtom(kBossKeyAtom);
    uint32_t modifiers = 0;
    if (key.IsCtrl) modifiers |= platform::hkControl;
    if (key.IsShift) modifiers |= platform::hkShift;
    if (key.IsAlt) modifiers |= platform::hkAlt;
    return atom_ != 0 && desktop_.RegisterHotKey(window_, atom_, modifiers, key.CharAscII);
}

void TBossKey::Unregister() {
    if (const uint16_t atom = desktop_.FindGlobalAtom(kBossKeyAtom)) {
        desktop_.UnregisterHotKey(window_, atom);
        desktop_.DeleteGlobalAtom(atom);
    }
    atom_ = 0;
}

void TBossKey::HotKeyPressed(uintptr_t id) {
    if (atom_ != 0 && static_cast<uint16_t>(id) == atom_) Toggle();
}

void TBossKey::Toggle() {
    if (!hidden_.empty()) {
        ShowHidden();
        return;
    }
    // Only what shows: a window a browser keeps hidden itself stays as it is.
    for (const auto& window : desktop_.TopLevelWindows()) {
        if (!window.visible || !IsBrowserClass(window.className)) continue;
        desktop_.ShowWindowAsync(window.window, false);
        hidden_.push_back(window);
    }
    KeepHiddenInFile();
}

void TBossKey::KeepHiddenInFile() { settings::WriteHiddenBrowserWindows(profiles_, optionsPath_, hidden_); }

void TBossKey::ShowLeftHidden() {
    const auto left = settings::TakeHiddenBrowserWindows(profiles_, optionsPath_);
    // The file is not trusted: only a browser window that is still the one
    // named (handle, class and process) is shown.
    for (const auto& window : desktop_.TopLevelWindows()) {
        if (!IsBrowserClass(window.className)) continue;
        const bool named = std::any_of(left.begin(), left.end(), [&](const auto& entry) { return SameWindow(entry, window); });
        if (named) desktop_.ShowWindowAsync(window.window, true);
    }
}

void TBossKey::ShowHidden() {
    if (hidden_.empty()) return;
    for (const auto& window : desktop_.TopLevelWindows()) {
        const bool remembered =
            std::any_of(hidden_.begin(), hidden_.end(), [&](const auto& hidden) { return SameWindow(hidden, window); });
        if (remembered) desktop_.ShowWindowAsync(window.window, true);
    }
    hidden_.clear();
    KeepHiddenInFile();
}

}  // namespace nullvane::app
