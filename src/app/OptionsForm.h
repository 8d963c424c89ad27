#pragma once
// The settings dialog: three pages over a copy of the settings, the Windows
// start-up entry and the Boss Key. Only OK changes anything.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "settings/OptionsSetting.h"
#include "ui/Factory.h"

namespace nullvane::app {

// What OK changes in the main window.
class TOptionsOwner {
public:
    virtual ~TOptionsOwner() = default;
    // The Boss Key was switched on or off or changed: the old one goes (and
    // the windows it hid come back), the new one is taken.
    virtual void BossKeyChanged() = 0;
    // The schedule timer follows the settings.
    virtual void ArmSchedule() = 0;
    // options.ini follows the settings.
    virtual void SaveSettings() = 0;
};

class TfrmOptions {
public:
    static constexpr char kFormName[] = "frmOptions";
    // The start-up entry: the user's own, which needs no rights.
    static constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr char kRunValue[] = "Nullvane";
    static constexpr char kTestAtom[] = "MyQKTRHotkey_Test";

    TfrmOptions(platform::Platform& machine, ui::TControlFactory& controls, ui::TForm& owner, TOptionsOwner& effects);
    TfrmOptions(const TfrmOptions&) = delete;
    TfrmOptions& operator=(const TfrmOptions&) = delete;

    // Runs the dialog over the current settings; true after a successful OK.
    [[nodiscard]] bool Execute();

    // The dialog's own copy of the settings.
    settings::TOptionsSetting DialogOptions;
    void OptionsToControls();
    void ControlsToOptions();
    // "Enable Boss Key" differs from its value at opening, or it is ticked
    // and the key differs.
    [[nodiscard]] bool HotkeyChanged() const;
    // A test registration of the key in the box; true when it may be kept.
    // Refused, the box and the key are back as they were at opening.
    [[nodiscard]] bool TryHotkey();
    void kbHotkeyKeyDown(const ui::TKeyPress& press);
    void bOKClick();
    void cbOverwriteClick();
    void cbAutoWashClick();

    // Controls, page by page; the pages outlive the controls on them.
    std::unique_ptr<ui::TForm> Form;
    std::unique_ptr<ui::TPageControl> pcOptions;
    std::unique_ptr<ui::TCheckBox> cbFastScan;
    std::unique_ptr<ui::TCheckBox> cbShowLogTempInternetFiles;
    std::unique_ptr<ui::TCheckBox> cbShowLogRecycleBin;
    std::unique_ptr<ui::TCheckBox> cbAskForSweep;
    std::unique_ptr<ui::TCheckBox> cbAutoRun;
    std::unique_ptr<ui::TCheckBox> cbOverwrite;
    std::unique_ptr<ui::TComboBox> cmbOverwriteNumber;
    std::unique_ptr<ui::TCheckBox> cbAutoWash;
    std::unique_ptr<ui::TRadioGroup> rgInterval;
    std::unique_ptr<ui::TCheckBox> cbStartWash;
    std::unique_ptr<ui::TCheckBox> cbShutdownWash;
    std::unique_ptr<ui::TLabel> lBossKeyNote1;
    std::unique_ptr<ui::TLabel> lBossKeyNote2;
    std::unique_ptr<ui::TCheckBox> cbEnableHotkey;
    std::unique_ptr<ui::TLabel> lEnterBossKey;
    std::unique_ptr<ui::TKeyBox> kbHotkey;
    std::unique_ptr<ui::TButton> bOK;
    std::unique_ptr<ui::TButton> bCancel;

private:
    void CreateControls();
    [[nodiscard]] bool AutoRunEntryPresent();
    void WriteAutoRunEntry(bool present);
    // A typing key without modifier: the user says whether to take it anyway.
    [[nodiscard]] bool TypingKeyAccepted();
    void ShowError(const std::string& text);

    platform::Platform& machine_;
    ui::TControlFactory& controls_;
    ui::TForm& owner_;
    TOptionsOwner& effects_;
    // Remembered at opening.
    bool enableHotkeyAtOpen_ = false;
    std::string keyTextAtOpen_;
    std::string charStringAtOpen_;
    uint16_t charAscIIAtOpen_ = 0;
    int hintPauseAtOpen_ = 500;
};

}  // namespace nullvane::app
