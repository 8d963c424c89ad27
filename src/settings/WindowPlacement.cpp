#include "settings/WindowPlacement.h"

#include <algorithm>
#include <cstdint>

namespace nullvane::settings {

namespace {

// `start` moved so that [start, start + length) lies inside [low, low + room),
// with length <= room.
int Inside(int start, int length, int low, int room) {
    const int64_t highest = int64_t{low} + room - length;
    return static_cast<int>(std::clamp<int64_t>(start, low, std::max<int64_t>(low, highest)));
}

}  // namespace

TWindowBounds VisibleBounds(const TWindowBounds& bounds, platform::Platform& machine) {
    TWindowBounds result = bounds;
    if (result.Width <= 0) result.Width = kDesignedWindowWidth;
    if (result.Height <= 0) result.Height = kDesignedWindowHeight;
    const platform::MonitorArea monitor =
        machine.desktop.MonitorNear({result.Left, result.Top, result.Width, result.Height});
    const platform::ScreenRect& work = monitor.workArea;
    if (work.width > 0) result.Width = std::min(result.Width, work.width);
    if (work.height > 0) result.Height = std::min(result.Height, work.height);
    if (!monitor.overlaps) {
        // Nowhere on any monitor: where a window without saved settings goes.
        result.Left = (machine.system.ScreenWidth() - result.Width) / 2;
        result.Top = (machine.system.ScreenHeight() - result.Height) / 2;
        return result;
    }
    result.Left = Inside(result.Left, result.Width, work.left, work.width);
    result.Top = Inside(result.Top, result.Height, work.top, work.height);
    return result;
}

void ApplyPlacement(TOptionsSetting& options, TWindowPlacement& window, platform::Platform& machine) {
    if (options.WindowState == TWindowState::wsMaximized) {
        window.SetMaximized();
        return;
    }
    const TWindowBounds visible = VisibleBounds({options.Left, options.Top, options.Width, options.Height}, machine);
    options.Left = visible.Left;
    options.Top = visible.Top;
    options.Width = visible.Width;
    options.Height = visible.Height;
    window.SetBounds(visible);
}

}  // namespace nullvane::settings
