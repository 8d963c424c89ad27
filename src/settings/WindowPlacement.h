#pragma once
// The main window's placement as the settings store sees it. The main window
// implements it; without a window the placement held in the settings applies.
#include <optional>

#include "platform/Platform.h"
#include "settings/OptionsSetting.h"

namespace nullvane::settings {

struct TWindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = kDesignedWindowWidth;
    int Height = kDesignedWindowHeight;
    friend bool operator==(const TWindowBounds&, const TWindowBounds&) = default;
};

// Show states as GetWindowPlacement reports them.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

class TWindowPlacement {
public:
    virtual ~TWindowPlacement() = default;
    // The window's show state, or nullopt when the system cannot tell it.
    [[nodiscard]] virtual std::optional<int> GetShowState() = 0;
    // The window's current position and size.
    [[nodiscard]] virtual TWindowBounds GetBounds() = 0;
    virtual void SetMaximized() = 0;
    virtual void SetBounds(const TWindowBounds& bounds) = 0;
};

// Where a window with these bounds can be seen: moved into the work area of
// the nearest monitor (and shrunk to it if larger); centred on the screen if
// no part of it would be on any monitor. A size that is not positive is the
// designed size.
[[nodiscard]] TWindowBounds VisibleBounds(const TWindowBounds& bounds, platform::Platform& machine);

// Puts the window where the settings left it: maximised, or at the saved
// position and size made visible, which the settings then hold (what the
// main window does each time it is activated).
void ApplyPlacement(TOptionsSetting& options, TWindowPlacement& window, platform::Platform& machine);

}  // namespace nullvane::settings
