#pragma once
// The settings record and its one process-wide instance.
#include <array>
#include <cstdint>
#include <string>

namespace nullvane::settings {

struct TShortcut {
    bool IsCtrl = true;
    bool IsShift = false;
    bool IsAlt = false;
    std::string CharString = "F5";
    uint16_t CharAscII = 116;  // virtual-key code of F5
};

enum class TWindowState { wsNormal, wsMaximized };

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
    // Indexed 1 to 10 by a category's image index; element 0 is unused.
    std::array<bool, 11> FirstNodeExpand{true, true, true, true, true, true, true, true, true, true, true};
    bool ShowLogTempInternetFiles = false;
    bool ShowLogRecycleBin = false;
    bool FastScan = true;
    TWindowState WindowState = TWindowState::wsNormal;
    int Left = 0;
    int Top = 0;
    int Height = 507;
    int Width = 704;
};

// Read and written on the window thread; the run thread reads it live.
extern TOptionsSetting CurrentOptions;

}  // namespace nullvane::settings
