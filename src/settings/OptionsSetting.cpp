#include "settings/OptionsSetting.h"

namespace nullvane::settings {

TOptionsSetting CurrentOptions;

base::TRunOptions RunOptionsOf(const TOptionsSetting& options) {
    base::TRunOptions run;
    run.FastScan = options.FastScan;
    run.OverwriteFile = options.OverwriteFile;
    run.OverwriteNumber = options.OverwriteNumber;
    run.ShowLogRecycleBin = options.ShowLogRecycleBin;
    run.ShowLogTempInternetFiles = options.ShowLogTempInternetFiles;
    return run;
}

int WashIntervalMs(int index) {
    switch (index) {
        case 1: return 1800000;
        case 2: return 3600000;
        case 3: return 14400000;
        case 4: return 28800000;
        default: return 900000;
    }
}

std::string ShortcutText(const TShortcut& shortcut) {
    std::string text;
    if (shortcut.IsCtrl) text += "Ctrl  ";
    if (shortcut.IsShift) text += "Shift  ";
    if (shortcut.IsAlt) text += "Alt  ";
    return text + shortcut.CharString;
}

}  // namespace nullvane::settings
