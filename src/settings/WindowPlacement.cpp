#include "settings/WindowPlacement.h"

namespace nullvane::settings {

void ApplyPlacement(const TOptionsSetting& options, TWindowPlacement& window) {
    if (options.WindowState == TWindowState::wsMaximized) {
        window.SetMaximized();
        return;
    }
    window.SetBounds(TWindowBounds{options.Left, options.Top, options.Width, options.Height});
}

}  // namespace nullvane::settings
