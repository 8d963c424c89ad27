#include "app/OptionsForm.h"

#include "app/KeyNames.h"
#include "app/WindowTexts.h"
#include "base/Texts.h"

namespace nullvane::app {

using settings::CurrentOptions;

namespace {
constexpr int kPageLeft = 12;

uint32_t ModifiersOf(const settings::TShortcut& key) {
    uint32_t modifiers = 0;
    if (key.IsCtrl) modifiers |= platform::hkControl;
    if (key.IsShift) modifiers |= platform::hkShift;
    if (key.IsAlt) modifiers |= platform::hkAlt;
    return modifiers;
}
}  // namespace

TfrmOptions::TfrmOptions(platform::Platform& machine, ui::TControlFactory& controls, ui::TForm& owner,
                         TOptionsOwner& effects)
    : machine_(machine), controls_(controls), owner_(owner), effects_(effects) {
    CreateControls();
}

void TfrmOptions::CreateControls() {
    ui::TFormArgs args;
    args.Name = kFormName;
    args.Caption = "Settings";
    args.Width = 440;
    args.Height = 360;
    args.Sizeable = false;
    args.Dialog = true;
    args.Owner = &owner_;
    Form = controls_.CreateForm(args);

    pcOptions = controls_.CreatePageControl(*Form, {{8, 8, 418, 266}, ""});
    auto& common = pcOptions->AddPage("Common");
    auto& schedule = pcOptions->AddPage("Schedule");
    auto& bossKey = pcOptions->AddPage("Boss Key");

    auto checkBox = [this](ui::TContainer& page, int top, int width, const char* caption) {
        return controls_.CreateCheckBox(page, {{kPageLeft, top, width, 18}, caption});
    };
    cbFastScan = checkBox(common, 14, 370, "Fast mode, not show detailed log of all cleaner settings");
    cbShowLogTempInternetFiles = checkBox(common, 40, 370, "Show detailed log of Temporary Internet Files");
    cbShowLogRecycleBin = checkBox(common, 66, 370, "Show detailed log of Empty Recycle Bin");
    cbAskForSweep = checkBox(common, 92, 370, "Ask before deleting the item");
    cbAutoRun = checkBox(common, 118, 370, "Auto run when the computer starts");
    cbOverwrite = checkBox(common, 144, 292, "Overwrite the deleted files, Number of times");
    cbOverwrite->onClick = [this] { cbOverwriteClick(); };
    cmbOverwriteNumber = controls_.CreateComboBox(common, {{310, 142, 56, 21}, ""});
    for (int passes = 1; passes <= 10; ++passes) cmbOverwriteNumber->AddItem(std::to_string(passes));

    cbAutoWash = checkBox(schedule, 14, 370, "Automatic clean enabled");
    cbAutoWash->onClick = [this] { cbAutoWashClick(); };
    rgInterval = controls_.CreateRadioGroup(schedule, {{kPageLeft, 40, 380, 96}, "Time Intervals"});
    rgInterval->SetColumns(2);
    rgInterval->SetItems({"Every 15 minutes", "Every 30 minutes", "Every hour", "Every 4 hours", "Every 8 hours"});
    cbStartWash = checkBox(schedule, 148, 370, "Clean when Windows start");
    cbShutdownWash = checkBox(schedule, 174, 370, "Clean when Windows shut down");

    lBossKeyNote1 = controls_.CreateLabel(bossKey, {{kPageLeft, 14, 0, 0}, "You can set a Boss Key(a keyboard key shortcut) that enables you"});
    lBossKeyNote2 = controls_.CreateLabel(bossKey, {{kPageLeft, 30, 0, 0}, "to quickly hide all web browsers on your system."});
    cbEnableHotkey = checkBox(bossKey, 60, 200, "Enable Boss Key");
    lEnterBossKey = controls_.CreateLabel(bossKey, {{kPageLeft, 92, 0, 0}, "Enter the Boss Key below:"});
    kbHotkey = controls_.CreateKeyBox(bossKey, {{kPageLeft, 110, 230, 21}, ""});
    kbHotkey->onKeyDown = [this](const ui::TKeyPress& press) { kbHotkeyKeyDown(press); };

    bOK = controls_.CreateButton(*Form, {{256, 284, 80, 26}, "&OK"});
    bOK->SetDefault(true);
    bOK->onClick = [this] { bOKClick(); };
    bCancel = controls_.CreateButton(*Form, {{346, 284, 80, 26}, "&Cancel"});
    bCancel->onClick = [this] { Form->SetModalResult(ui::mrCancel); };
}

bool TfrmOptions::Execute() {
    DialogOptions = CurrentOptions;
    OptionsToControls();
    enableHotkeyAtOpen_ = DialogOptions.EnableHotkey;
    keyTextAtOpen_ = kbHotkey->Text();
    charStringAtOpen_ = DialogOptions.Hotkey.CharString;
    charAscIIAtOpen_ = DialogOptions.Hotkey.CharAscII;
    pcOptions->SetActivePageIndex(0);
    hintPauseAtOpen_ = controls_.Application().HintPause();
    Form->CenterOnOwner();
    const ui::TModalResult result = Form->ShowModal();
    controls_.Application().SetHintPause(hintPauseAtOpen_);
    return result == ui::mrOk;
}

// The controls and the dialog's copy.

void TfrmOptions::OptionsToControls() {
    const auto& o = DialogOptions;
    cbFastScan->SetChecked(o.FastScan);
    cbShowLogTempInternetFiles->SetChecked(o.ShowLogTempInternetFiles);
    cbShowLogRecycleBin->SetChecked(o.ShowLogRecycleBin);
    cbAskForSweep->SetChecked(o.AskForSweep);
    cbAutoRun->SetChecked(AutoRunEntryPresent());
    cbOverwrite->SetChecked(o.OverwriteFile);
    cbOverwrite->SetHint(o.OverwriteFile ? texts::kOverwriteHint : "");
    cmbOverwriteNumber->SetItemIndex(o.OverwriteNumber - 1);
    cbAutoWash->SetChecked(o.AutoWash);
    // An interval the file spells wrongly runs as the first; it shows so too.
    rgInterval->SetItemIndex(o.WashInterval >= 0 && o.WashInterval < 5 ? o.WashInterval : 0);
    rgInterval->SetEnabled(o.AutoWash);
    cbStartWash->SetChecked(o.StartWash);
    cbShutdownWash->SetChecked(o.ShutdownWash);
    cbEnableHotkey->SetChecked(o.EnableHotkey);
    kbHotkey->SetText(settings::ShortcutText(o.Hotkey));
}

void TfrmOptions::ControlsToOptions() {
    auto& o = DialogOptions;
    o.FastScan = cbFastScan->Checked();
    o.ShowLogTempInternetFiles = cbShowLogTempInternetFiles->Checked();
    o.ShowLogRecycleBin = cbShowLogRecycleBin->Checked();
    o.AskForSweep = cbAskForSweep->Checked();
    o.OverwriteFile = cbOverwrite->Checked();
    o.OverwriteNumber = cmbOverwriteNumber->ItemIndex() < 0 ? 1 : cmbOverwriteNumber->ItemIndex() + 1;
    o.AutoWash = cbAutoWash->Checked();
    o.WashInterval = rgInterval->ItemIndex() < 0 ? 0 : rgInterval->ItemIndex();
    o.StartWash = cbStartWash->Checked();
    o.ShutdownWash = cbShutdownWash->Checked();
    o.EnableHotkey = cbEnableHotkey->Checked();
    // The key itself (CharString, CharAscII) is set by the key capture.
    const std::string text = kbHotkey->Text();
    o.Hotkey.IsCtrl = text.find("Ctrl") != std::string::npos;
    o.Hotkey.IsShift = text.find("Shift") != std::string::npos;
    o.Hotkey.IsAlt = text.find("Alt") != std::string::npos;
}

void TfrmOptions::kbHotkeyKeyDown(const ui::TKeyPress& press) {
    const TCapturedKey captured = CaptureKey(press);
    kbHotkey->SetText(captured.Text);
    DialogOptions.Hotkey.CharString = captured.CharString;
    DialogOptions.Hotkey.CharAscII = captured.CharAscII;
}

void TfrmOptions::cbOverwriteClick() {
    if (cbOverwrite->Checked()) {
        cbOverwrite->SetHint(texts::kOverwriteHint);
        // At once: the note is what the tick is about.
        controls_.Application().SetHintPause(0);
    } else {
        cbOverwrite->SetHint("");
    }
}

void TfrmOptions::cbAutoWashClick() { rgInterval->SetEnabled(cbAutoWash->Checked()); }

// The Boss Key.

bool TfrmOptions::HotkeyChanged() const {
    const bool enabled = cbEnableHotkey->Checked();
    return enabled != enableHotkeyAtOpen_ || (enabled && kbHotkey->Text() != keyTextAtOpen_);
}

void TfrmOptions::ShowError(const std::string& text) {
    (void)machine_.dialogs.ShowMessage(text, base::texts::kCaption, platform::mbOk | platform::mbIconError);
}

bool TfrmOptions::TryHotkey() {
    // A modifier alone is no key: it would be registered and never fire.
    if (kbHotkey->Text().empty() || DialogOptions.Hotkey.CharAscII == 0) {
        ShowError(texts::kHotkeyBlank);
        return false;
    }
    auto& desktop = machine_.desktop;
    const uint16_t atom = desktop.AddGlobalAtom(kTestAtom);
    if (atom == 0) {
        ShowError(texts::kHotkeyTestFailed);
        return false;
    }
    if (kbHotkey->Text() != keyTextAtOpen_) {
        const auto& key = DialogOptions.Hotkey;
        if (!desktop.RegisterHotKey(Form->Handle(), atom, ModifiersOf(key), key.CharAscII)) {
            ShowError(texts::kBossKeyFailed);
            kbHotkey->SetText(keyTextAtOpen_);
            ControlsToOptions();
            DialogOptions.Hotkey.CharString = charStringAtOpen_;
            DialogOptions.Hotkey.CharAscII = charAscIIAtOpen_;
            desktop.UnregisterHotKey(Form->Handle(), atom);
            desktop.DeleteGlobalAtom(atom);
            return false;
        }
        desktop.UnregisterHotKey(Form->Handle(), atom);
        charStringAtOpen_ = key.CharString;
        charAscIIAtOpen_ = key.CharAscII;
    }
    desktop.DeleteGlobalAtom(atom);
    return true;
}

bool TfrmOptions::TypingKeyAccepted() {
    const auto& key = DialogOptions.Hotkey;
    if (key.IsCtrl || key.IsShift || key.IsAlt || !IsTypingKey(key.CharAscII)) return true;
    const std::string question = texts::kTypingKeyFirst + key.CharString + texts::kTypingKeySecond;
    return machine_.dialogs.ShowMessage(question, base::texts::kCaption,
                                       platform::mbYesNo | platform::mbIconWarning | platform::mbDefButton2) ==
           platform::idYes;
}

// The start-up entry.

bool TfrmOptions::AutoRunEntryPresent() {
    const auto value = machine_.registry.ReadValue(platform::RegRoot::CurrentUser, kRunKey, kRunValue);
    // Older entries were written without quotes; they still count.
    return value && value->IsString() && value->AsString().find("-Start") != std::string::npos;
}

void TfrmOptions::WriteAutoRunEntry(bool present) {
    // Failures are not reported: the entry is a convenience.
    auto key = machine_.registry.CreateKey(platform::RegRoot::CurrentUser, kRunKey);
    if (!key) return;
    if (present) {
        // Quoted: unquoted, a blank in the path lets Windows start another program.
        (void)key->SetValue(platform::RegValue::String(kRunValue, "\"" + machine_.system.ProgramPath() + "\" -Start"));
    } else {
        (void)key->DeleteValue(kRunValue);
    }
}

// OK.

void TfrmOptions::bOKClick() {
    ControlsToOptions();
    const bool changed = HotkeyChanged();
    if (changed && cbEnableHotkey->Checked() && (!TryHotkey() || !TypingKeyAccepted())) return;
    CurrentOptions = DialogOptions;
    if (changed) effects_.BossKeyChanged();
    effects_.ArmSchedule();
    if (cbStartWash->Checked()) cbAutoRun->SetChecked(true);
    WriteAutoRunEntry(cbAutoRun->Checked());
    effects_.SaveSettings();
    Form->SetModalResult(ui::mrOk);
}

}  // namespace nullvane::app
