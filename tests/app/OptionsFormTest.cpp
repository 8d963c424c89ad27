#include <algorithm>
#include <stdexcept>

#include "MainWindowFixture.h"
#include "app/KeyNames.h"
#include "app/OptionsForm.h"
#include "app/WindowTexts.h"
#include "settings/OptionsFile.h"
#include "settings/OptionsSetting.h"

namespace nullvane::app::testing {
namespace {

using platform::RegRoot;
using settings::CurrentOptions;
using namespace ui::headless;

TEST(BossKeyCapture, ShowsTheModifiersHeldAndTheKeysNameFromTheTable) {
    struct TCase {
        ui::TKeyPress press;
        const char* text;
        const char* charString;
        uint16_t charAscII;
    };
    const TCase cases[] = {
        {{120, true, true, false}, "Ctrl  Shift  F9", "F9", 120},
        {{17, true, false, false}, "Ctrl  ", "", 0},  // a modifier alone is no key
        {{18, false, false, true}, "Alt  ", "", 0},
        {{46, false, false, false}, "Del", "Del", 46},  // "DDel" read as "Del"
        {{46, true, false, true}, "Ctrl  Alt  Del", "Del", 46},
        {{0xB3, true, false, false}, "", "", 0xB3},  // a media key has no name: the box empties
        {{136, false, false, false}, "", "", 136},
        {{47, false, false, false}, "Help", "Help", 47},
        {{48, false, false, false}, "0", "0", 48},
        {{64, false, false, false}, "@", "@", 64},
        {{90, false, true, false}, "Shift  Z", "Z", 90},
        {{96, false, false, false}, "Num 0", "Num 0", 96},
        {{105, false, false, false}, "Num 9", "Num 9", 105},
        {{108, false, false, false}, "Separator", "Separator", 108},
        {{112, false, false, false}, "F1", "F1", 112},
        {{135, false, false, false}, "F24", "F24", 135},
        {{27, false, false, false}, "Esc", "Esc", 27},
        {{13, false, false, true}, "Alt  Enter", "Enter", 13},
        {{44, false, false, false}, "PrintScreen", "PrintScreen", 44},
        {{144, false, false, false}, "Numlock", "Numlock", 144},
        {{145, false, false, false}, "Scroll", "Scroll", 145},
    };
    for (const auto& c : cases) {
        const TCapturedKey captured = CaptureKey(c.press);
        EXPECT_EQ(captured.Text, c.text) << "key " << c.press.Key;
        EXPECT_EQ(captured.CharString, c.charString) << "key " << c.press.Key;
        EXPECT_EQ(captured.CharAscII, c.charAscII) << "key " << c.press.Key;
    }
    EXPECT_EQ(KeyName(46, false), "DDel");
    EXPECT_EQ(KeyName(46, true), "Del");
}

// The settings dialog as a user works it.
struct TDialog {
    THeadlessForm& form;

    template <class T>
    T& Get(const std::string& caption) {
        T* control = form.Find<T>(caption);
        if (!control) throw std::runtime_error("no control " + caption);
        return *control;
    }
    THeadlessCheckBox& Check(const std::string& caption) { return Get<THeadlessCheckBox>(caption); }
    THeadlessRadioGroup& Intervals() { return Get<THeadlessRadioGroup>("Time Intervals"); }
    THeadlessComboBox& Passes() { return *form.FindAll<THeadlessComboBox>().at(0); }
    THeadlessKeyBox& Key() { return *form.FindAll<THeadlessKeyBox>().at(0); }
    void Press(uint16_t key, bool ctrl = false, bool shift = false, bool alt = false) {
        Key().Press({key, ctrl, shift, alt});
    }
    // True when the dialog closed with OK.
    bool OK() {
        Get<THeadlessButton>("&OK").Click();
        return form.ModalResult() == ui::mrOk;
    }
    void Cancel() { Get<THeadlessButton>("&Cancel").Click(); }
};

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class OptionsFormTest : public MainWindowTest {
protected:
    OptionsFormTest() { sim.system().SetProgramFolder("C:\\Program Files\\Nullvane"); }

    // Opens "&Settings..." from a menu; the script works the dialog.
    void Settings(const std::function<void(TDialog&)>& script, bool fromTray = false) {
        controls.ScriptModal(TfrmOptions::kFormName, [&](THeadlessForm& form) {
            TDialog dialog{form};
            script(dialog);
        });
        auto& menu = fromTray ? main->pmTray : main->mmMain;
        ASSERT_TRUE(menu.Find("&Settings...")->Click());
    }
    void WriteOption(const std::string& section, const std::string& key, const std::string& value) {
        ASSERT_TRUE(sim.profiles().WriteString(settings::OptionsFilePath(sim.Machine()), section, key, value));
    }
    [[nodiscard]] std::string RunEntry() { return sim.registry().ReadString(RegRoot::CurrentUser, kRunKey, "Nullvane"); }
    void SetRunEntry(const std::string& data) {
        auto key = sim.registry().CreateKey(RegRoot::CurrentUser, kRunKey);
        ASSERT_TRUE(key && key->SetValue(platform::RegValue::String("Nullvane", data)));
    }
};

TEST_F(OptionsFormTest, OkTakesEveryPageArmsTheScheduleWritesAQuotedStartUpEntryAndFastModeFollows) {
    auto& main = Open();
    ASSERT_TRUE(main.cbFastMode->Checked());
    Settings([](TDialog& d) {
        EXPECT_EQ(d.form.Caption(), "Settings");
        d.Check("Fast mode, not show detailed log of all cleaner settings").Click();
        d.Check("Overwrite the deleted files, Number of times").Click();
        EXPECT_EQ(d.Passes().Count(), 10);
        EXPECT_TRUE(d.Passes().Choose("3"));
        // The intervals follow "Automatic clean enabled".
        EXPECT_FALSE(d.Intervals().Click("Every 4 hours"));
        d.Check("Automatic clean enabled").Click();
        EXPECT_TRUE(d.Intervals().Click("Every 4 hours"));
        // Cleaning at Windows start needs the start-up entry: OK ticks it too.
        d.Check("Clean when Windows start").Click();
        EXPECT_FALSE(d.Check("Auto run when the computer starts").Checked());
        EXPECT_TRUE(d.OK());
    });
    EXPECT_FALSE(CurrentOptions.FastScan);
    EXPECT_FALSE(main.cbFastMode->Checked());
    EXPECT_TRUE(CurrentOptions.OverwriteFile);
    EXPECT_EQ(CurrentOptions.OverwriteNumber, 3);
    EXPECT_TRUE(main.tmSchedule->Enabled());
    EXPECT_EQ(main.tmSchedule->Interval(), 14400000);
    EXPECT_EQ(RunEntry(), "\"C:\\Program Files\\Nullvane\\nullvane.exe\" -Start");
    EXPECT_FALSE(static_cast<bool>(sim.registry().ReadValue(RegRoot::LocalMachine, kRunKey, "Nullvane")));
    const std::string path = settings::OptionsFilePath(sim.Machine());
    EXPECT_EQ(sim.profiles().GetString(path, "SChedule", "WashInterval", ""), "3");
    EXPECT_EQ(sim.profiles().GetString(path, "Settings", "OverwriteNumber", ""), "3");

    // From the icon menu: the dialog shows what OK took; Cancel changes nothing.
    const settings::TOptionsSetting before = CurrentOptions;
    Settings(
        [](TDialog& d) {
            EXPECT_TRUE(d.Check("Auto run when the computer starts").Checked());
            EXPECT_EQ(d.Intervals().ItemIndex(), 3);
            EXPECT_EQ(d.Passes().ItemIndex(), 2);
            d.Check("Auto run when the computer starts").Click();
            d.Check("Clean when Windows start").Click();
            d.Check("Automatic clean enabled").Click();
            d.Check("Enable Boss Key").Click();
            d.Cancel();
        },
        true);
    EXPECT_EQ(controls.ModalRuns().back(), TfrmOptions::kFormName);
    EXPECT_TRUE(CurrentOptions.StartWash);
    EXPECT_TRUE(CurrentOptions.AutoWash);
    EXPECT_FALSE(CurrentOptions.EnableHotkey);
    EXPECT_EQ(CurrentOptions.Hotkey.CharAscII, before.Hotkey.CharAscII);
    EXPECT_TRUE(main.tmSchedule->Enabled());
    EXPECT_FALSE(RunEntry().empty());
    EXPECT_TRUE(sim.desktop().HotKeys().empty());
}

TEST_F(OptionsFormTest, OldUnquotedStartUpEntriesReadAsTickedAndOkUntickedRemovesTheEntry) {
    SetRunEntry("C:\\Old Place\\nullvane.exe -Start");
    {
        auto key = sim.registry().CreateKey(RegRoot::CurrentUser, kRunKey);
        ASSERT_TRUE(key->SetValue(platform::RegValue::String("Other", "other.exe")));
    }
    Open();
    Settings([](TDialog& d) {
        EXPECT_TRUE(d.Check("Auto run when the computer starts").Checked());
        d.Cancel();
    });
    EXPECT_EQ(RunEntry(), "C:\\Old Place\\nullvane.exe -Start");

    // Without "-Start" the entry is not ours to tick; OK leaves it unticked: gone.
    SetRunEntry("C:\\Old Place\\nullvane.exe");
    Settings([](TDialog& d) {
        EXPECT_FALSE(d.Check("Auto run when the computer starts").Checked());
        EXPECT_TRUE(d.OK());
    });
    EXPECT_FALSE(static_cast<bool>(sim.registry().ReadValue(RegRoot::CurrentUser, kRunKey, "Nullvane")));
    EXPECT_EQ(sim.registry().ReadString(RegRoot::CurrentUser, kRunKey, "Other"), "other.exe");
}

TEST_F(OptionsFormTest, AKeyAnotherProgramHoldsIsRefusedAndTheBoxAndKeyReturnToTheirValuesAtOpening) {
    WriteOption("Hotkey", "EnableHotkey", "1");
    auto& desktop = sim.desktop();
    desktop.HoldHotKeyElsewhere(platform::hkControl | platform::hkShift, 120);
    auto& main = Open();
    ASSERT_EQ(desktop.HotKeys().size(), 1u);
    Settings([&](TDialog& d) {
        EXPECT_EQ(d.Key().Text(), "Ctrl  F5");
        d.Press(120, true, true);
        EXPECT_EQ(d.Key().Text(), "Ctrl  Shift  F9");
        EXPECT_FALSE(d.OK());
        EXPECT_EQ(AskedTexts(), std::vector<std::string>{texts::kBossKeyFailed});
        EXPECT_EQ(d.Key().Text(), "Ctrl  F5");
        // Neither the test key nor its atom is left behind.
        EXPECT_EQ(desktop.HotKeys().size(), 1u);
        const auto atoms = desktop.Atoms();
        EXPECT_EQ(std::count(atoms.begin(), atoms.end(), TfrmOptions::kTestAtom), 0);
        // A free key is tested and taken.
        d.Press(117, true, false, true);
        EXPECT_TRUE(d.OK());
    });
    EXPECT_EQ(CurrentOptions.Hotkey.CharString, "F6");
    EXPECT_EQ(CurrentOptions.Hotkey.CharAscII, 117);
    EXPECT_TRUE(CurrentOptions.Hotkey.IsCtrl && CurrentOptions.Hotkey.IsAlt && !CurrentOptions.Hotkey.IsShift);
    // The main window let go of Ctrl+F5 and holds Ctrl+Alt+F6 now.
    ASSERT_EQ(desktop.HotKeys().size(), 1u);
    EXPECT_EQ(desktop.HotKeys()[0].first, main.Form->Handle());
    EXPECT_EQ(desktop.HotKeys()[0].second, main.BossKey.Atom());
    EXPECT_TRUE(desktop.RegisterHotKey(0x999, 1, platform::hkControl, 116)) << "Ctrl+F5 is still held";
}

TEST_F(OptionsFormTest, BlankModifierOnlyAndTypingKeysAreNotTakenSilently) {
    auto& main = Open();
    auto& dialogs = sim.dialogs();
    Settings([&](TDialog& d) {
        d.Check("Enable Boss Key").Click();
        d.Press(17, true);  // Ctrl alone
        EXPECT_EQ(d.Key().Text(), "Ctrl  ");
        EXPECT_FALSE(d.OK());
        d.Press(0xB3);  // a key without a name
        EXPECT_EQ(d.Key().Text(), "");
        EXPECT_FALSE(d.OK());
        EXPECT_EQ(AskedTexts(), (std::vector<std::string>{texts::kHotkeyBlank, texts::kHotkeyBlank}));

        // "A" alone would be lost to every program: asked, No by default.
        d.Press('A');
        EXPECT_FALSE(d.OK());
        ASSERT_EQ(dialogs.AskedCount(), 3u);
        EXPECT_NE(dialogs.Asked()[2].text.find("\"A\""), std::string::npos);
        EXPECT_EQ(dialogs.Asked()[2].flags & platform::mbDefButton2, platform::mbDefButton2);
        dialogs.QueueAnswer(platform::idYes);
        EXPECT_TRUE(d.OK());
    });
    EXPECT_TRUE(CurrentOptions.EnableHotkey);
    EXPECT_FALSE(CurrentOptions.Hotkey.IsCtrl);
    EXPECT_EQ(CurrentOptions.Hotkey.CharAscII, 'A');
    EXPECT_NE(main.BossKey.Atom(), 0);
    EXPECT_FALSE(sim.desktop().RegisterHotKey(0x999, 1, 0, 'A')) << "the Boss Key holds A";
}

TEST_F(OptionsFormTest, SwitchingTheBossKeyOffShowsTheWindowsItHidWithoutATestRegistration) {
    WriteOption("Hotkey", "EnableHotkey", "1");
    auto& desktop = sim.desktop();
    const auto ie = desktop.RegisterWindow("IEFrame");
    auto& main = Open();
    ui::TMessage press{ui::kWmHotKey, main.BossKey.Atom(), 0, 0};
    ASSERT_TRUE(main.Form->onMessage(press));
    ASSERT_FALSE(desktop.IsWindowVisible(ie));
    Settings([](TDialog& d) {
        d.Check("Enable Boss Key").Click();
        EXPECT_TRUE(d.OK());
    });
    EXPECT_EQ(sim.dialogs().AskedCount(), 0u);
    EXPECT_TRUE(desktop.IsWindowVisible(ie));
    EXPECT_FALSE(main.BossKey.BrowsersHidden());
    EXPECT_TRUE(desktop.HotKeys().empty());
    EXPECT_TRUE(desktop.Atoms().empty());
    // A press that was already on its way finds no Boss Key.
    ASSERT_TRUE(main.Form->onMessage(press));
    EXPECT_TRUE(desktop.IsWindowVisible(ie));
    desktop.DestroyWindow(ie);
}

TEST_F(OptionsFormTest, TheOverwriteHintShowsOnlyWhileTickedAtOnceAndTheDelayIsPutBackAtClose) {
    Open();
    auto& application = controls.HeadlessApplication();
    ASSERT_EQ(application.HintPause(), 500);
    Settings([&](TDialog& d) {
        auto& overwrite = d.Check("Overwrite the deleted files, Number of times");
        EXPECT_EQ(overwrite.Hint(), "");
        overwrite.Click();
        EXPECT_EQ(overwrite.Hint(), texts::kOverwriteHint);
        EXPECT_EQ(application.HintPause(), 0);
        overwrite.Click();
        EXPECT_EQ(overwrite.Hint(), "");
        d.Cancel();
    });
    EXPECT_EQ(application.HintPause(), 500);
}

}  // namespace
}  // namespace nullvane::app::testing
