#include "run/BrowserCheck.h"

#include "base/Texts.h"
#include "browsers/ChromiumProfiles.h"
#include "browsers/GeckoProfiles.h"
#include "run/CleanItemCatalogue.h"

namespace nullvane::run {

namespace {

using browsers::TBrowser;

bool ChecksFamily(browsers::TBrowserFamily family, base::TRunMode mode) {
    if (mode == base::rmClean) return false;
    if (family == browsers::bfGecko) return mode == base::rmUnattended || mode == base::rmCleanRequested;
    return mode != base::rmTest;
}

bool FirefoxWindowOpen(platform::Desktop& desktop) {
    return desktop.FindWindowByClass("MozillaUIWindowClass") != 0 || desktop.FindWindowByClass("MozillaWindowClass") != 0;
}

// `machine` is null when only the windows can be looked at.
std::optional<TBrowserRefusal> Refusal(const TCleanItemTree& tree, platform::Desktop& desktop,
                                       platform::Platform* machine, base::TRunMode mode) {
    // The Gecko family first, then the Chromium family, each in table order.
    for (browsers::TBrowserFamily family : {browsers::bfGecko, browsers::bfChromium}) {
        if (!ChecksFamily(family, mode)) continue;
        for (const TBrowser& browser : browsers::BrowserTable()) {
            if (browser.Family != family || !tree.IsCategoryTicked(browser.Name)) continue;
            const bool open = machine ? BrowserOpen(*machine, browser)
                                      : &browser == &browsers::MozillaFirefox() && FirefoxWindowOpen(desktop);
            if (open) return TBrowserRefusal{CloseBrowserText(browser), &browser};
        }
    }
    if (mode != base::rmTest && mode != base::rmClean && machine && tree.IsCategoryTicked(kCategoryOpera.Text) &&
        browsers::OperaLockHeld(*machine)) {
        return TBrowserRefusal{base::texts::kCloseOpera, nullptr};
    }
    return std::nullopt;
}

}  // namespace

std::string CloseBrowserText(const browsers::TBrowser& browser) {
    std::string text = std::string(base::texts::kClosePrefix) + browser.Name + base::texts::kCloseSuffix;
    if (browser.RunningNote) text += std::string("\n") + browser.RunningNote;
    return text;
}

bool BrowserLockHeld(platform::Platform& machine, const browsers::TBrowser& browser) {
    return browser.Family == browsers::bfGecko ? browsers::GeckoProfileLocked(machine, browser)
                                               : browsers::ChromiumLockHeld(machine, browser);
}

bool BrowserOpen(platform::Platform& machine, const browsers::TBrowser& browser) {
    return (&browser == &browsers::MozillaFirefox() && FirefoxWindowOpen(machine.desktop)) ||
           BrowserLockHeld(machine, browser);
}

std::optional<TBrowserRefusal> BrowserRefusal(const TCleanItemTree& tree, platform::Platform& machine,
                                              base::TRunMode mode) {
    return Refusal(tree, machine.desktop, &machine, mode);
}

std::optional<TBrowserRefusal> BrowserRefusal(const TCleanItemTree& tree, platform::Desktop& desktop,
                                              base::TRunMode mode) {
    return Refusal(tree, desktop, nullptr, mode);
}

}  // namespace nullvane::run
