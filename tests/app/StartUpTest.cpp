#include "MainWindowFixture.h"
#include "app/WindowTexts.h"
#include "base/ProductInfo.h"
#include "base/Texts.h"
#include "app/StartUp.h"
#include "settings/OptionsFile.h"
#include "settings/OptionsSetting.h"

namespace nullvane::app::testing {
namespace {

using settings::CurrentOptions;

constexpr char kTempFiles[] = "Windows - Temporary Files";

TEST(StartSwitch, OnlyTheFirstParameterCountsWithStartExactAndCleanOnceInAnyCase) {
    EXPECT_EQ(ParseStartSwitch({}), TStartSwitch::None);
    EXPECT_EQ(ParseStartSwitch({"-Start"}), TStartSwitch::Start);
    EXPECT_EQ(ParseStartSwitch({"-START"}), TStartSwitch::None);
    EXPECT_EQ(ParseStartSwitch({"-cleanonce"}), TStartSwitch::CleanOnce);
    EXPECT_EQ(ParseStartSwitch({"-CleanOnce"}), TStartSwitch::CleanOnce);
    EXPECT_EQ(ParseStartSwitch({"x", "-cleanonce"}), TStartSwitch::None);
}

class StartUpTest : public MainWindowTest {
protected:
    // The selection as the settings file keeps it.
    void SaveSelection(const std::string& name) {
        const std::string path = settings::OptionsFilePath(sim.Machine());
        ASSERT_TRUE(sim.profiles().WriteString(path, "NodeSelected", "SelectedCount", "1"));
        ASSERT_TRUE(sim.profiles().WriteString(path, "NodeSelected", "1", name));
    }
};

TEST_F(StartUpTest, SecondStartHandsOverToTheFirstWhichShowsItselfFromTheNotificationArea) {
    EXPECT_FALSE(HandOverToRunningInstance(sim.desktop()));
    auto& main = Open();
    sim.desktop().PostToWindow(main.Form->Handle(), ui::kWmSysCommand, ui::kScMinimize, 0);
    sim.queue().Pump();
    ASSERT_FALSE(main.Form->Visible());

    EXPECT_TRUE(HandOverToRunningInstance(sim.desktop()));
    const auto posted = sim.desktop().PostedTo(main.Form->Handle());
    EXPECT_EQ(posted.back().message, base::WM_SHOWMAINWINDOW);
    EXPECT_EQ(sim.desktop().ForegroundRequests().back(), main.Form->Handle());
    sim.queue().Pump();
    EXPECT_TRUE(main.Form->Visible());
    EXPECT_FALSE(Form().HasTrayIcon());
}

TEST_F(StartUpTest, CleanOnceRemovesTheSavedSelectionWithoutAskingAndCloses) {
    MakeJunk(kTempFiles, 3);
    SaveSelection(kTempFiles);
    auto& main = Open(TStartSwitch::CleanOnce);
    ASSERT_TRUE(CurrentOptions.AskForSweep);
    EXPECT_TRUE(main.Form->Visible());
    EXPECT_FALSE(main.tmSchedule->Enabled());
    ASSERT_TRUE(Pump([&] { return Form().Closed(); }));
    EXPECT_EQ(JunkLeft(kTempFiles), 0);
    EXPECT_TRUE(controls.ModalRuns().empty());
    EXPECT_TRUE(controls.Application().Terminated());
    EXPECT_EQ(main.pbProgress->Caption(), "Finished!");
    EXPECT_EQ(cleaner->Calls().at(0).mode, base::rmUnattended);
}

TEST_F(StartUpTest, CleanOnceWithNothingTickedStaysOpenAndSaysNothing) {
    auto& main = Open(TStartSwitch::CleanOnce);
    sim.queue().Pump();
    EXPECT_TRUE(main.CleanOnce);
    EXPECT_FALSE(Form().Closed());
    EXPECT_TRUE(main.Form->Visible());
    EXPECT_EQ(sim.dialogs().AskedCount(), 0u);
}

TEST_F(StartUpTest, StartSwitchHidesTheWindowWithOneIconAndCleansOnlyWithStartWash) {
    MakeJunk(kTempFiles, 2);
    SaveSelection(kTempFiles);
    auto& main = Open(TStartSwitch::Start);
    sim.queue().Pump();
    EXPECT_FALSE(main.Form->Visible());
    EXPECT_TRUE(Form().HasTrayIcon());
    EXPECT_TRUE(cleaner->Calls().empty());
    this->main.reset();

    CurrentOptions = settings::TOptionsSetting{};
    const std::string path = settings::OptionsFilePath(sim.Machine());
    ASSERT_TRUE(sim.profiles().WriteString(path, "SChedule", "StartWash", "1"));
    ASSERT_TRUE(sim.profiles().WriteString(path, "Settings", "AskForSweep", "0"));
    auto& again = Open(TStartSwitch::Start);
    ASSERT_TRUE(Pump([&] { return !cleaner->Calls().empty() && again.Runs.Idle(); }));
    EXPECT_EQ(cleaner->Calls().at(0).mode, base::rmUnattended);
    EXPECT_EQ(JunkLeft(kTempFiles), 0);
    EXPECT_FALSE(again.Form->Visible());
}

TEST_F(StartUpTest, TheStartUpCleanIsOfferedOncePerProcessAndItsCancelIsFinal) {
    MakeJunk(kTempFiles, 2);
    SaveSelection(kTempFiles);
    const std::string path = settings::OptionsFilePath(sim.Machine());
    ASSERT_TRUE(sim.profiles().WriteString(path, "SChedule", "StartWash", "1"));
    Open(TStartSwitch::Start);
    // The confirmation is cancelled (no script); closing it activates the window again.
    EXPECT_FALSE(Pump([&] { return controls.ModalRuns().size() > 1; }, 500));
    EXPECT_EQ(controls.ModalRuns(), std::vector<std::string>{"frmAskDelete"});
    EXPECT_TRUE(cleaner->Calls().empty());
    EXPECT_EQ(JunkLeft(kTempFiles), 2);
}

TEST_F(StartUpTest, ActivationsKeepTheScheduleCountingAndATickWaitsForAnEarlierTicksBox) {
    MakeJunk(kTempFiles, 2);
    SaveSelection(kTempFiles);
    const std::string path = settings::OptionsFilePath(sim.Machine());
    ASSERT_TRUE(sim.profiles().WriteString(path, "SChedule", "AutoWash", "1"));
    ASSERT_TRUE(sim.profiles().WriteString(path, "Settings", "AskForSweep", "0"));
    auto& main = Open();
    auto& timer = dynamic_cast<ui::headless::THeadlessTimer&>(*main.tmSchedule);
    ASSERT_EQ(timer.Interval(), 900000);
    timer.Advance(600000);
    main.Form->onActivate();  // a modal window closed: the schedule is armed again, unchanged
    timer.Advance(300000);
    ASSERT_TRUE(Pump([&] { return !cleaner->Calls().empty() && main.Runs.Idle(); }));
    EXPECT_EQ(cleaner->Calls().at(0).mode, base::rmUnattended);

    // A ticked open browser refuses with a box; ticks meanwhile add none.
    ClickTick("Mozilla Firefox - Cookies");
    const auto firefox = sim.desktop().RegisterWindow("MozillaWindowClass");
    sim.dialogs().SetResponder([&](const platform::sim::AskedMessageBox&) {
        timer.Advance(900000);
        timer.Advance(900000);
        return platform::idOk;
    });
    timer.Advance(900000);
    EXPECT_EQ(AskedTexts(), std::vector<std::string>{std::string("Please close Mozilla Firefox firstly!")});
    sim.desktop().DestroyWindow(firefox);
}

TEST_F(StartUpTest, TheEndOfTheSessionCleansWithoutAskingWithinItsBoundThenSavesAndCloses) {
    MakeJunk(kTempFiles, 2);
    SaveSelection(kTempFiles);
    const std::string path = settings::OptionsFilePath(sim.Machine());
    ASSERT_TRUE(sim.profiles().WriteString(path, "SChedule", "ShutdownWash", "1"));
    auto& main = Open();
    ASSERT_TRUE(CurrentOptions.AskForSweep);  // the setting itself is the consent
    ui::TMessage query{ui::kWmQueryEndSession, 0, 0, 0};
    ASSERT_TRUE(main.Form->onMessage(query));
    EXPECT_EQ(query.Result, 1);
    EXPECT_EQ(JunkLeft(kTempFiles), 0);  // ran to its end before the answer
    EXPECT_TRUE(controls.ModalRuns().empty());
    EXPECT_EQ(sim.dialogs().AskedCount(), 0u);
    EXPECT_NE(sim.profiles().GetString(path, "Settings", "AskForSweep", "unwritten"), "unwritten");
    // Windows showed why the end waited, only while it waited.
    EXPECT_EQ(sim.desktop().ShutdownBlockReasons(), (std::vector<std::string>{"Nullvane is cleaning...", ""}));

    // A run that outlasts the bound is cancelled before the answer.
    MakeJunk(kTempFiles, 1);
    cleaner->HoldItems();
    main.EndOfSessionCleanMs = 200;
    ASSERT_TRUE(main.Form->onMessage(query));
    EXPECT_EQ(query.Result, 1);
    EXPECT_TRUE(main.Runs.Idle());
    EXPECT_EQ(JunkLeft(kTempFiles), 1);
    cleaner->Release();

    // Another program refused the end: everything stays. Then it ends.
    ui::TMessage refused{ui::kWmEndSession, 0, 0, 0};
    ASSERT_TRUE(main.Form->onMessage(refused));
    EXPECT_FALSE(Form().Closed());
    ui::TMessage ends{ui::kWmEndSession, 1, 0, 0};
    ASSERT_TRUE(main.Form->onMessage(ends));
    EXPECT_TRUE(Form().Closed());
}

TEST_F(StartUpTest, TheBossKeyHidesTheVisibleBrowserWindowsAndShowsExactlyThoseAgain) {
    auto& desktop = sim.desktop();
    const auto ie = desktop.RegisterWindow("IEFrame");
    const auto firefox = desktop.RegisterWindow("MozillaWindowClass");
    const auto chrome = desktop.RegisterWindow("Chrome_WidgetWin_1");
    const auto opera = desktop.RegisterWindow("OpWindow");
    desktop.SetWindowVisible(opera, false);  // kept hidden by its own program
    CurrentOptions.EnableHotkey = true;
    const std::string path = settings::OptionsFilePath(sim.Machine());
    ASSERT_TRUE(sim.profiles().WriteString(path, "Hotkey", "EnableHotkey", "1"));
    auto& main = Open();
    ASSERT_NE(main.BossKey.Atom(), 0);
    ASSERT_EQ(desktop.HotKeys().size(), 1u);
    auto press = [&] {
        ui::TMessage hotKey{ui::kWmHotKey, main.BossKey.Atom(), 0, 0};
        ASSERT_TRUE(main.Form->onMessage(hotKey));
    };

    press();
    EXPECT_TRUE(main.BossKey.BrowsersHidden());
    EXPECT_FALSE(desktop.IsWindowVisible(ie));
    EXPECT_FALSE(desktop.IsWindowVisible(firefox));
    EXPECT_TRUE(desktop.IsWindowVisible(chrome));
    press();
    EXPECT_FALSE(main.BossKey.BrowsersHidden());
    EXPECT_TRUE(desktop.IsWindowVisible(ie));
    EXPECT_TRUE(desktop.IsWindowVisible(firefox));
    EXPECT_FALSE(desktop.IsWindowVisible(opera));  // never remembered, never shown

    // No browser open at a press: the next press hides, it does not "show".
    desktop.DestroyWindow(ie);
    desktop.DestroyWindow(firefox);
    press();
    EXPECT_FALSE(main.BossKey.BrowsersHidden());
    const auto later = desktop.RegisterWindow("MozillaUIWindowClass");
    press();
    EXPECT_FALSE(desktop.IsWindowVisible(later));

    // Closing shows it again and lets go of the key.
    main.Close();
    EXPECT_TRUE(desktop.IsWindowVisible(later));
    EXPECT_TRUE(desktop.HotKeys().empty());
    EXPECT_TRUE(desktop.Atoms().empty());
    desktop.DestroyWindow(chrome);
    desktop.DestroyWindow(opera);
}

TEST_F(StartUpTest, BrowserWindowsAProcessLeftHiddenAreShownAtTheNextStart) {
    auto& desktop = sim.desktop();
    const auto ie = desktop.RegisterWindow("IEFrame");
    const auto firefox = desktop.RegisterWindow("MozillaWindowClass");
    const std::string path = settings::OptionsFilePath(sim.Machine());
    ASSERT_TRUE(sim.profiles().WriteString(path, "Hotkey", "EnableHotkey", "1"));
    auto& main = Open();
    ui::TMessage press{ui::kWmHotKey, main.BossKey.Atom(), 0, 0};
    ASSERT_TRUE(main.Form->onMessage(press));
    ASSERT_FALSE(desktop.IsWindowVisible(ie));
    const std::string kept = sim.profiles().GetString(path, "Hotkey", "HiddenBrowserWindows", "");
    const std::string process = std::to_string(platform::sim::SimDesktop::kOwnProcessId);
    EXPECT_EQ(kept, std::to_string(firefox) + ":" + process + ":MozillaWindowClass," + std::to_string(ie) + ":" + process +
                        ":IEFrame");

    // The process ends without closing; meanwhile a handle came to name a
    // window of another kind, which stays as it is.
    this->main.reset();
    const auto notepad = desktop.RegisterWindow("Notepad");
    desktop.SetWindowVisible(notepad, false);
    ASSERT_TRUE(sim.profiles().WriteString(path, "Hotkey", "HiddenBrowserWindows", kept + "," + std::to_string(notepad)));
    CurrentOptions = settings::TOptionsSetting{};
    Open();
    EXPECT_TRUE(desktop.IsWindowVisible(ie));
    EXPECT_TRUE(desktop.IsWindowVisible(firefox));
    EXPECT_FALSE(desktop.IsWindowVisible(notepad));
    EXPECT_EQ(sim.profiles().GetString(path, "Hotkey", "HiddenBrowserWindows", "gone"), "gone");
    EXPECT_TRUE(sim.dialogs().Asked().empty()) << "the dead window's hot key went with it";
    desktop.DestroyWindow(ie);
    desktop.DestroyWindow(firefox);
    desktop.DestroyWindow(notepad);
}

TEST_F(StartUpTest, AtStartOnlyAWindowThatIsStillTheOneNamedWithItsClassAndProcessIsShown) {
    // Windows the browsers keep hidden themselves, named by a hand-edited file.
    auto& desktop = sim.desktop();
    const auto named = desktop.RegisterWindow("MozillaWindowClass");
    const auto otherProcess = desktop.RegisterWindow("MozillaWindowClass");
    const auto otherClass = desktop.RegisterWindow("OpWindow");
    const auto handleOnly = desktop.RegisterWindow("IEFrame");
    for (const auto window : {named, otherProcess, otherClass, handleOnly}) {
        desktop.SetWindowVisible(window, false);
        desktop.SetWindowProcess(window, 4100);
    }
    desktop.SetWindowProcess(otherProcess, 4200);
    const auto entry = [](platform::WindowId window, const std::string& className) {
        return std::to_string(window) + ":4100:" + className;
    };
    const std::string path = settings::OptionsFilePath(sim.Machine());
    ASSERT_TRUE(sim.profiles().WriteString(path, "Hotkey", "HiddenBrowserWindows",
                                           entry(named, "MozillaWindowClass") + "," + entry(otherProcess, "MozillaWindowClass") +
                                               "," + entry(otherClass, "IEFrame") + "," + std::to_string(handleOnly)));
    Open();
    EXPECT_TRUE(desktop.IsWindowVisible(named));
    EXPECT_FALSE(desktop.IsWindowVisible(otherProcess));
    EXPECT_FALSE(desktop.IsWindowVisible(otherClass));
    EXPECT_FALSE(desktop.IsWindowVisible(handleOnly)) << "an entry of handles alone is not trusted";
    EXPECT_EQ(sim.profiles().GetString(path, "Hotkey", "HiddenBrowserWindows", "gone"), "gone");
    for (const auto window : {named, otherProcess, otherClass, handleOnly}) desktop.DestroyWindow(window);
}

TEST_F(StartUpTest, ABossKeyAnotherProgramHoldsIsToldAndTheProgramGoesOn) {
    sim.desktop().HoldHotKeyElsewhere(platform::hkControl, 116);
    const std::string path = settings::OptionsFilePath(sim.Machine());
    ASSERT_TRUE(sim.profiles().WriteString(path, "Hotkey", "EnableHotkey", "1"));
    auto& main = Open();
    EXPECT_EQ(AskedTexts(), std::vector<std::string>{texts::kBossKeyFailed});
    EXPECT_TRUE(sim.desktop().HotKeys().empty());
    EXPECT_TRUE(main.Form->Visible());
}

TEST_F(StartUpTest, ClosingDuringARunCancelsItSavesTheSettingsAndDoesNotHang) {
    auto& main = Open();
    ClickTick(kTempFiles);
    cleaner->HoldItems();
    Button(*main.bTest).Click();
    ASSERT_TRUE(PumpUntilHeld());

    main.Close();
    EXPECT_TRUE(main.Runs.Idle());
    EXPECT_EQ(main.bTest->Caption(), "Test");
    EXPECT_TRUE(controls.Application().Terminated());
    // The window goes away while the run may still wait for a synchronised call.
    this->main.reset();
    const std::string path = settings::OptionsFilePath(sim.Machine());
    // The ticked category is saved before its item.
    EXPECT_EQ(sim.profiles().GetString(path, "NodeSelected", "1", ""), "Windows");
    EXPECT_EQ(sim.profiles().GetString(path, "NodeSelected", "2", ""), kTempFiles);
    EXPECT_NE(sim.profiles().GetString(path, "Settings", "AskForSweep", "unwritten"), "unwritten");
}

TEST_F(StartUpTest, ExpandedCategoriesAreRestoredAndSavedAtClose) {
    const std::string path = settings::OptionsFilePath(sim.Machine());
    ASSERT_TRUE(sim.profiles().WriteString(path, "FirstNodeExpand", "2", "0"));
    auto& main = Open();
    auto& tree = TreeView();
    const auto windows = main.ViewNode(*main.Tree.FindCategory("Windows"));
    const auto ie = main.ViewNode(*main.Tree.FindCategory("Internet Explorer"));
    EXPECT_FALSE(tree.Expanded(windows));
    EXPECT_TRUE(tree.Expanded(ie));
    tree.SetExpanded(windows, true);
    tree.SetExpanded(ie, false);
    main.Close();
    EXPECT_EQ(sim.profiles().GetString(path, "FirstNodeExpand", "2", ""), "1");
    EXPECT_EQ(sim.profiles().GetString(path, "FirstNodeExpand", "1", ""), "0");
}

}  // namespace
}  // namespace nullvane::app::testing
