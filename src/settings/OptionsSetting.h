#pragma once
// The settings record and its one process-wide instance.
#include <array>
#include <cstdint>
#include <string>

#include "base/RunOptions.h"

namespace nullvane::settings {

struct TShortcut {
    bool IsCtrl = true;
    bool IsShift = false;
    bool IsAlt = false;
    std::string CharString = "F5";
    uint16_t CharAscII = 116;  // virtual-key code of F5
};

enum class TWindowState { wsNormal, wsMaximized };

// The main window's size as it is created; the saved size defaults to it.
inline constexpr int kDesignedWindowWidth = 704;
inline constexpr int kDesignedWindowHeight = 507;

// Categories are identified by their image index (1 to 10 in options.ini).
// "Google Chrome" carries image index 11: its flag lives in slot 11 and is
// saved under its own key "11", so it never lands on another setting.
inline constexpr int kFirstExpandFlag = 1;
inline constexpr int kLastExpandFlag = 11;

struct TOptionsSetting {
    bool AskForSweep = true;
    bool OverwriteFile = false;
    int OverwriteNumber = 1;
    bool EnableHotkey = false;
    TShortcut Hotkey;
    bool AutoWash = false;
    int WashInterval = 0;
    bool StartWash = false;
    bool ShutdownWash = false;
    int SelectedCount = 0;
    // Indexed by a category's image index; element 0 is unused.
    std::array<bool, kLastExpandFlag + 1> FirstNodeExpand{false, true, true, true, true, true,
                                                          true,  true, true, true, true, true};
    bool ShowLogTempInternetFiles = false;
    bool ShowLogRecycleBin = false;
    bool FastScan = true;
    TWindowState WindowState = TWindowState::wsNormal;
    int Left = 0;
    int Top = 0;
    int Height = kDesignedWindowHeight;
    int Width = kDesignedWindowWidth;
};

// Read and written on the window thread only: a run takes what it reads of
// it when it starts (RunOptionsOf).
extern TOptionsSetting CurrentOptions;

// What a run reads of the settings.
[[nodiscard]] base::TRunOptions RunOptionsOf(const TOptionsSetting& options);

// Milliseconds of the schedule timer for an interval index of the settings
// dialog; an unknown index gives the first interval (15 minutes).
[[nodiscard]] int WashIntervalMs(int index);

// The Boss Key as the settings dialog shows it: "Ctrl  Shift  Alt  F5".
[[nodiscard]] std::string ShortcutText(const TShortcut& shortcut);

}  // namespace nullvane::settings
