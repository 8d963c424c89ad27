#include "settings/OptionsFile.h"

#include <climits>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace nullvane::settings {

namespace {

// A key that is absent reads as this, which no saved value can equal.
constexpr char kMissing[] = "\x01";

std::string BoolText(bool value) { return value ? "1" : "0"; }

// The number a key is named by ("12"), or 0 for any other name.
int ReadKeyNumber(const std::string& keyName) {
    if (keyName.empty() || keyName.size() > 9 || keyName[0] == '0') return 0;
    int n = 0;
    for (char c : keyName) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

class TOptionsReader {
public:
    TOptionsReader(platform::ProfileFile& profiles, const std::string& path) : profiles_(profiles), path_(path) {}

    int Integer(const char* section, const std::string& key, int def) {
        return ReadOptionInteger(profiles_, path_, section, key, def);
    }
    bool Boolean(const char* section, const std::string& key, bool def) {
        return Integer(section, key, def ? 1 : 0) != 0;
    }
    std::string Text(const char* section, const std::string& key, const std::string& def) {
        return profiles_.GetString(path_, section, key, def);
    }
    std::vector<std::string> KeyNames(const char* section) { return profiles_.KeyNames(path_, section); }

private:
    platform::ProfileFile& profiles_;
    const std::string& path_;
};

class TOptionsWriter {
public:
    TOptionsWriter(platform::ProfileFile& profiles, const std::string& path) : profiles_(profiles), path_(path) {}

    void Integer(const char* section, const std::string& key, long long value) {
        profiles_.WriteString(path_, section, key, std::to_string(value));
    }
    void Boolean(const char* section, const std::string& key, bool value) {
        profiles_.WriteString(path_, section, key, BoolText(value));
    }
    void Text(const char* section, const std::string& key, const std::string& value) {
        profiles_.WriteString(path_, section, key, value);
    }

private:
    platform::ProfileFile& profiles_;
    const std::string& path_;
};

void ReadOptions(platform::Platform& machine, const std::string& path, run::TCleanItemTree& tree,
                 TOptionsSetting& options) {
    TOptionsReader ini(machine.profiles, path);
    const TOptionsSetting defaults;

    options.AskForSweep = ini.Boolean("Settings", "AskForSweep", defaults.AskForSweep);
    options.OverwriteFile = ini.Boolean("Settings", "OverwriteFile", defaults.OverwriteFile);
    options.OverwriteNumber = ini.Integer("Settings", "OverwriteNumber", defaults.OverwriteNumber);
    if (options.OverwriteNumber < 1 || options.OverwriteNumber > 10) options.OverwriteNumber = 1;

    options.EnableHotkey = ini.Boolean("Hotkey", "EnableHotkey", defaults.EnableHotkey);
    options.Hotkey.IsCtrl = ini.Boolean("Hotkey", "IsCtrl", defaults.Hotkey.IsCtrl);
    options.Hotkey.IsShift = ini.Boolean("Hotkey", "IsShift", defaults.Hotkey.IsShift);
    options.Hotkey.IsAlt = ini.Boolean("Hotkey", "IsAlt", defaults.Hotkey.IsAlt);
    options.Hotkey.CharString = ini.Text("Hotkey", "CharString", defaults.Hotkey.CharString);
    int key = ini.Integer("Hotkey", "CharAscII", defaults.Hotkey.CharAscII);
    options.Hotkey.CharAscII = static_cast<uint16_t>(key >= 0 && key <= 0xFFFF ? key : defaults.Hotkey.CharAscII);

    options.AutoWash = ini.Boolean("SChedule", "AutoWash", defaults.AutoWash);
    options.WashInterval = ini.Integer("SChedule", "WashInterval", defaults.WashInterval);
    options.StartWash = ini.Boolean("SChedule", "StartWash", defaults.StartWash);
    options.ShutdownWash = ini.Boolean("SChedule", "ShutdownWash", defaults.ShutdownWash);

    tree.SetAllStates(run::kStateUnticked);
    options.SelectedCount = ini.Integer("NodeSelected", "SelectedCount", defaults.SelectedCount);
    // Keys "1" up to the count are read; walking the keys present rather than
    // every number up to the count keeps a damaged count from stalling start-up.
    // A name that matches nothing (an application since removed) ticks nothing.
    for (const std::string& keyName : ini.KeyNames("NodeSelected")) {
        int n = ReadKeyNumber(keyName);
        if (n >= 1 && n <= options.SelectedCount) tree.SelectNodeByName(ini.Text("NodeSelected", keyName, ""));
    }

    for (int flag = kFirstExpandFlag; flag <= kLastExpandFlag; ++flag) {
        options.FirstNodeExpand[static_cast<size_t>(flag)] =
            ini.Boolean("FirstNodeExpand", std::to_string(flag), defaults.FirstNodeExpand[static_cast<size_t>(flag)]);
    }

    options.ShowLogTempInternetFiles =
        ini.Boolean("Settings", "ShowLogTempInternetFiles", defaults.ShowLogTempInternetFiles);
    options.ShowLogRecycleBin = ini.Boolean("Settings", "ShowLogRecycleBin", defaults.ShowLogRecycleBin);
    options.FastScan = ini.Boolean("Settings", "FastScan", defaults.FastScan);

    const int centredLeft = (machine.system.ScreenWidth() - kDesignedWindowWidth) / 2;
    const int centredTop = (machine.system.ScreenHeight() - kDesignedWindowHeight) / 2;
    if (ini.Integer("Window", "State", kShowNormal) == kShowMaximized) {
        // The saved position is not read; should the window later be
        // restored from maximised, it comes back centred at its designed size.
        options.WindowState = TWindowState::wsMaximized;
        options.Left = centredLeft;
        options.Top = centredTop;
        options.Width = kDesignedWindowWidth;
        options.Height = kDesignedWindowHeight;
        return;
    }
    options.WindowState = TWindowState::wsNormal;
    options.Left = ini.Integer("Window", "Left", centredLeft);
    options.Top = ini.Integer("Window", "Top", centredTop);
    options.Width = ini.Integer("Window", "Width", kDesignedWindowWidth);
    options.Height = ini.Integer("Window", "Height", kDesignedWindowHeight);
}

void WriteOptions(platform::Platform& machine, const std::string& path, const run::TCleanItemTree& tree,
                  TOptionsSetting& options, TWindowPlacement* window) {
    TOptionsWriter ini(machine.profiles, path);

    ini.Boolean("Settings", "AskForSweep", options.AskForSweep);
    ini.Boolean("Settings", "OverwriteFile", options.OverwriteFile);
    ini.Integer("Settings", "OverwriteNumber", options.OverwriteNumber);

    ini.Boolean("Hotkey", "EnableHotkey", options.EnableHotkey);
    ini.Boolean("Hotkey", "IsCtrl", options.Hotkey.IsCtrl);
    ini.Boolean("Hotkey", "IsShift", options.Hotkey.IsShift);
    ini.Boolean("Hotkey", "IsAlt", options.Hotkey.IsAlt);
    ini.Text("Hotkey", "CharString", options.Hotkey.CharString);
    ini.Integer("Hotkey", "CharAscII", options.Hotkey.CharAscII);

    ini.Boolean("SChedule", "AutoWash", options.AutoWash);
    ini.Integer("SChedule", "WashInterval", options.WashInterval);
    ini.Boolean("SChedule", "StartWash", options.StartWash);
    ini.Boolean("SChedule", "ShutdownWash", options.ShutdownWash);

    // Keys above the new count are left in place; the next read ignores them.
    int written = 0;
    for (const std::string& name : tree.TickedNodeNames()) ini.Text("NodeSelected", std::to_string(++written), name);
    options.SelectedCount = written;
    ini.Integer("NodeSelected", "SelectedCount", written);

    for (int flag = kFirstExpandFlag; flag <= kLastExpandFlag; ++flag) {
        ini.Boolean("FirstNodeExpand", std::to_string(flag), options.FirstNodeExpand[static_cast<size_t>(flag)]);
    }

    ini.Boolean("Settings", "ShowLogTempInternetFiles", options.ShowLogTempInternetFiles);
    ini.Boolean("Settings", "ShowLogRecycleBin", options.ShowLogRecycleBin);
    ini.Boolean("Settings", "FastScan", options.FastScan);

    if (window) {
        if (auto state = window->GetShowState()) {
            ini.Integer("Window", "State", *state);
            options.WindowState = *state == kShowMaximized ? TWindowState::wsMaximized : TWindowState::wsNormal;
        }
        TWindowBounds bounds = window->GetBounds();
        options.Left = bounds.Left;
        options.Top = bounds.Top;
        options.Width = bounds.Width;
        options.Height = bounds.Height;
    } else {
        ini.Integer("Window", "State",
                    options.WindowState == TWindowState::wsMaximized ? kShowMaximized : kShowNormal);
    }
    ini.Integer("Window", "Left", options.Left);
    ini.Integer("Window", "Top", options.Top);
    ini.Integer("Window", "Width", options.Width);
    ini.Integer("Window", "Height", options.Height);
}

}  // namespace

int ReadOptionInteger(platform::ProfileFile& profiles, const std::string& path, const std::string& section,
                      const std::string& key, int def) {
    std::string text = profiles.GetString(path, section, key, kMissing);
    if (text == kMissing) return def;
    size_t begin = text.find_first_not_of(" \t");
    size_t end = text.find_last_not_of(" \t");
    if (begin == std::string::npos) return def;
    std::string_view digits(text.data() + begin, end - begin + 1);
    bool negative = false;
    if (digits.front() == '-' || digits.front() == '+') {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) return def;
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return def;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) return def;
    }
    if (negative) value = -value;
    if (value < INT_MIN || value > INT_MAX) return def;
    return static_cast<int>(value);
}

namespace {

std::string OptionsFolder(platform::Platform& machine) {
    std::string appData = machine.system.SpecialFolder(platform::csidlAppData);
    return appData.empty() ? std::string() : platform::WithTrailingBackslash(appData) + kOptionsFolder;
}

}  // namespace

std::string OptionsFilePath(platform::Platform& machine) {
    std::string folder = OptionsFolder(machine);
    if (!folder.empty() && machine.files.MakeFolders(folder)) return folder + kOptionsFileName;
    return machine.system.ProgramFolder() + kOptionsFileName;
}

std::string OptionsFilePathForReading(platform::Platform& machine) {
    std::string folder = OptionsFolder(machine);
    if (!folder.empty() && machine.files.DirectoryExists(folder)) return folder + kOptionsFileName;
    std::string besideProgram = machine.system.ProgramFolder() + kOptionsFileName;
    if (folder.empty() || machine.files.Exists(besideProgram)) return besideProgram;
    return folder + kOptionsFileName;
}

void ReadWriteOptions(TReadWrite direction, platform::Platform& machine, const std::string& path,
                      run::TCleanItemTree& tree, TOptionsSetting& options, TWindowPlacement* window) {
    if (direction == TReadWrite::Read) {
        ReadOptions(machine, path, tree, options);
    } else {
        WriteOptions(machine, path, tree, options, window);
    }
}

}  // namespace nullvane::settings
