#include "run/BrowserCheck.h"

#include "cleaners/FirefoxProfiles.h"
#include "run/CleanItemCatalogue.h"
#include "base/Texts.h"

namespace nullvane::run {

std::optional<std::string> BrowserRefusal(const TCleanItemTree& tree, platform::Desktop& desktop, TRunMode mode) {
    if (mode == rmClean) return std::nullopt;
    if ((mode == rmUnattended || mode == rmCleanRequested) && tree.IsCategoryTicked(kCategoryFirefox) &&
        (desktop.FindWindowByClass("MozillaUIWindowClass") != 0 || desktop.FindWindowByClass("MozillaWindowClass") != 0)) {
        return texts::kCloseFirefox;
    }
    if (mode != rmTest && tree.IsCategoryTicked(kCategoryChrome) && desktop.FindWindowByClass("Chrome_WidgetWin_1") != 0) {
        return texts::kCloseChrome;
    }
    return std::nullopt;
}

std::optional<std::string> BrowserRefusal(const TCleanItemTree& tree, platform::Platform& machine, TRunMode mode) {
    if (auto refusal = BrowserRefusal(tree, machine.desktop, mode)) return refusal;
    if ((mode == rmUnattended || mode == rmCleanRequested) && tree.IsCategoryTicked(kCategoryFirefox) &&
        cleaners::FirefoxProfileLocked(machine))
        return texts::kCloseFirefox;
    return std::nullopt;
}

}  // namespace nullvane::run
