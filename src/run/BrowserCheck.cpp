#include "run/BrowserCheck.h"

#include "base/Texts.h"
#include "browsers/ChromiumProfiles.h"
#include "browsers/GeckoProfiles.h"
#include "run/CleanItemCatalogue.h"

namespace nullvane::run {

namespace {

// `machine` is null when only the windows can be looked at.
std::optional<std::string> Refusal(const TCleanItemTree& tree, platform::Desktop& desktop,
                                   platform::Platform* machine, base::TRunMode mode) {
    if (mode == base::rmClean) return std::nullopt;
    if ((mode == base::rmUnattended || mode == base::rmCleanRequested) &&
        tree.IsCategoryTicked(kCategoryFirefox.Text) &&
        (desktop.FindWindowByClass("MozillaUIWindowClass") != 0 ||
         desktop.FindWindowByClass("MozillaWindowClass") != 0 ||
         (machine && browsers::GeckoProfileLocked(*machine, browsers::MozillaFirefox())))) {
        return base::texts::kCloseFirefox;
    }
    if (mode != base::rmTest && tree.IsCategoryTicked(kCategoryChrome.Text) &&
        (desktop.FindWindowByClass("Chrome_WidgetWin_1") != 0 || (machine && browsers::ChromiumLockHeld(*machine, browsers::GoogleChrome())))) {
        return base::texts::kCloseChrome;
    }
    if (mode != base::rmTest && machine && tree.IsCategoryTicked(kCategoryOpera.Text) &&
        browsers::OperaLockHeld(*machine)) {
        return base::texts::kCloseOpera;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> BrowserRefusal(const TCleanItemTree& tree, platform::Platform& machine,
                                          base::TRunMode mode) {
    return Refusal(tree, machine.desktop, &machine, mode);
}

std::optional<std::string> BrowserRefusal(const TCleanItemTree& tree, platform::Desktop& desktop, base::TRunMode mode) {
    return Refusal(tree, desktop, nullptr, mode);
}

}  // namespace nullvane::run
