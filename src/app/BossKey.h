#pragma once
// The Boss Key: a system-wide hot key that hides the visible windows of the
// five browser classes and shows exactly those again. While it keeps windows
// hidden, options.ini names them, so that a start after a crash gives them back.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/ProfileFile.h"
#include "settings/OptionsSetting.h"

namespace nullvane::app {

class TBossKey {
public:
    TBossKey(platform::Desktop& desktop, platform::ProfileFile& profiles, std::string optionsPath);

    // Takes the atom and the key for `window`; false when the atom cannot be
    // had or another program holds the combination.
    [[nodiscard]] bool Register(platform::WindowId window, const settings::TShortcut& key);
    // Lets go of the key and its atom.
    void Unregister();
    // The hot key's identifier, 0 while there is none.
    [[nodiscard]] uint16_t Atom() const { return atom_; }
    [[nodiscard]] bool BrowsersHidden() const { return !hidden_.empty(); }

    // WM_HOTKEY: a press of this key hides the visible browser windows and
    // remembers exactly those, or shows exactly those again. Other
    // identifiers (a press on its way when the key went) change nothing.
    void HotKeyPressed(uintptr_t id);
    // Shows the remembered windows that still exist as they were.
    void ShowHidden();
    // At start: the browser windows an earlier process left hidden.
    void ShowLeftHidden();

private:
    void Toggle();
    void KeepHiddenInFile();

    platform::Desktop& desktop_;
    platform::ProfileFile& profiles_;
    std::string optionsPath_;
    platform::WindowId window_ = 0;
    uint16_t atom_ = 0;
    std::vector<platform::TopLevelWindow> hidden_;
};

}  // namespace nullvane::app
