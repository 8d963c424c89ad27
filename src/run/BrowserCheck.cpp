#include "run/BrowserCheck.h"

#include "base/Texts.h"
#include "browsers/ChromiumProfiles.h"
#include "browsers/FirefoxProfiles.h"
#include "run/CleanItemCatalogue.h"

namespace nullvane::run {

namespace {

// `machine` is null when only the windows can be looked at.
std::optional<std::string> Refusal(const TCleanItemTree& tree, platform::Desktop& desktop,
                                   platform::Platform* machine, TRunMode mode) {
    if (mode == rmClean) return std::nullopt;
    if ((mode == rmUnattended || mode == rmCleanRequested) && tree.IsCategoryTicked(kCategoryFirefox.Text) &&
        (desktop.FindWindowByClass("MozillaUIWindowClass") != 0 || desktop.FindWindowByClass("MozillaWindowClass") != 0 ||
         (machine && browsers::FirefoxProfileLocked(*machine)))) {
        return texts::kCloseFirefox;
    }
    if (mode != rmTest && tree.IsCategoryTicked(kCategoryChrome.Text) &&
        (desktop.FindWindowByClass("Chrome_WidgetWin_1") != 0 || (machine && browsers::ChromeLockHeld(*machine)))) {
        return texts::kCloseChrome;
    }
    if (mode != rmTest && machine && tree.IsCategoryTicked(kCategoryOpera.Text) && browsers::OperaLockHeld(*machine)) {
        return texts::kCloseOpera;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> BrowserRefusal(const TCleanItemTree& tree, platform::Platform& machine, TRunMode mode) {
    return Refusal(tree, machine.desktop, &machine, mode);
}

std::optional<std::string> BrowserRefusal(const TCleanItemTree& tree, platform::Desktop& desktop, TRunMode mode) {
    return Refusal(tree, desktop, nullptr, mode);
}

}  // namespace nullvane::run
