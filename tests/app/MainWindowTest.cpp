#include <algorithm>

#include "MainWindowFixture.h"
#include "app/LogFile.h"
#include "base/Texts.h"
#include "removal/FileRemoval.h"
#include "run/BrowserClosing.h"
#include "run/CleanItemTree.h"
#include "settings/OptionsFile.h"
#include "settings/OptionsSetting.h"

namespace nullvane::app::testing {
namespace {

using settings::CurrentOptions;
using ui::headless::THeadlessForm;

constexpr char kTempFiles[] = "Windows - Temporary Files";
constexpr char kClipboard[] = "Windows - Clipboard";
constexpr char kCookies[] = "Internet Explorer - Cookies";

bool AnyLineStartsWith(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

TEST_F(MainWindowTest, LayoutFollowsTheClientAreaAtTheDesignedAndTheMinimumSize) {
    auto& main = Open();
    for (auto [width, height] : {std::pair{704, 507}, std::pair{610, 400}, std::pair{300, 200}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        Form().ResizeTo(width, height);
        // Below the minimum the window keeps the minimum size.
        EXPECT_EQ(main.Form->Width(), std::max(width, TfrmMain::kMinWidth));
        EXPECT_EQ(main.Form->Height(), std::max(height, TfrmMain::kMinHeight));
        const int cw = main.Form->ClientWidth();
        const int ch = main.Form->ClientHeight();
        const int panel = main.pnlBottom->Height();
        EXPECT_EQ(main.pnlTitle->Bounds(), (ui::TRect{0, 0, cw, 50}));
        EXPECT_EQ(main.pnlBottom->Bounds(), (ui::TRect{0, ch - panel, cw, panel}));
        EXPECT_EQ(main.tvCleanItems->Bottom(), ch - panel - 10);
        const auto group = main.gbProgress->Bounds();
        EXPECT_EQ(group.Bottom(), ch - panel - 10);
        EXPECT_EQ(group.Right(), cw - 6);
        EXPECT_EQ(main.bTest->Bottom(), group.Height - 10);
        EXPECT_EQ(main.pbProgress->Width(), group.Width - 16);
        EXPECT_EQ(main.lMain->Width(), main.pbProgress->Width());
        EXPECT_EQ(main.lMain->Bottom(), main.bTest->Top() - 10);
        EXPECT_EQ(main.bClean->Top(), main.bTest->Top());
        EXPECT_EQ(main.bClean->Right(), main.lMain->Right());
        EXPECT_EQ(main.bTest->Right(), main.bClean->Left() - 20);
        EXPECT_EQ(main.lCheckUpdates->Right(), cw - 8);
        EXPECT_EQ(main.lDonate->Right(), main.lCheckUpdates->Left() - 16);
        EXPECT_EQ(main.cbFastMode->Left(), group.Left);
        EXPECT_EQ(main.lClearing->Top(), main.lMain->Bottom() + 8);
        EXPECT_EQ(main.lCurrentItem->Top(), main.lClearing->Top());
        EXPECT_EQ(main.lTotalItems->Left(), main.lClearing->Left());
        EXPECT_EQ(main.lTotalItems->Top(), main.lClearing->Bottom() + 5);
        EXPECT_EQ(main.lNumber->Top(), main.lTotalItems->Top());
        EXPECT_EQ(main.lNumber->Left(), main.lTotalItems->Right() + 5);
        // Nothing in the bottom panel runs into anything else.
        EXPECT_LT(main.cbFastMode->Right(), main.lDonate->Left());
        EXPECT_GT(main.lMain->Height(), 100);
    }
    // The designed size in numbers: a 688 x 448 client area under the menu.
    Form().ResizeTo(704, 507);
    EXPECT_EQ(main.tvCleanItems->Height(), 448 - 72 - 30 - 10);
    EXPECT_EQ(main.gbProgress->Bounds(), (ui::TRect{266, 56, 416, 352}));
    EXPECT_EQ(main.bTest->Bounds(), (ui::TRect{238, 317, 75, 25}));
}

TEST_F(MainWindowTest, TicksSpreadFromCategoriesToItemsAndBackWithTheMouse) {
    auto& main = Open();
    auto& tree = TreeView();
    const auto windows = *main.Tree.FindCategory("Windows");
    ClickTick("Windows");
    EXPECT_EQ(tree.StateIndex(main.ViewNode(windows)), 2);
    EXPECT_EQ(main.Tree.CollectTickedItems().size(), 17u);
    EXPECT_EQ(tree.StateIndex(main.ViewNode(*main.Tree.FindItem(kClipboard))), 2);

    // Unticking all but one item keeps the category ticked; the last one unticks it.
    const auto items = main.Tree.CollectTickedItems();
    for (size_t i = 0; i + 1 < items.size(); ++i) ClickTick(items[i]);
    EXPECT_EQ(tree.StateIndex(main.ViewNode(windows)), 2);
    ClickTick(items.back());
    EXPECT_EQ(tree.StateIndex(main.ViewNode(windows)), 1);

    // The run list is in tree order, whatever the order of ticking.
    ClickTick(kTempFiles);
    ClickTick(kCookies);
    EXPECT_EQ(main.Tree.CollectTickedItems(), (std::vector<std::string>{kCookies, kTempFiles}));

    // A click on the "<New List>" label opens the editor and leaves its tick alone.
    const auto newList = *main.Tree.FindItem("Custom Lists - <New List>");
    tree.SetExpanded(main.ViewNode(*main.Tree.ParentOf(newList)), true);
    tree.FireMouseDown(ui::TMouseButton::Left, tree.LabelPoint(main.ViewNode(newList)));
    EXPECT_EQ(controls.ModalRuns(), std::vector<std::string>{"frmNewCustomItem"});
    int editorOpened = 1;
    main.onOpenCustomListEditor = [&] { ++editorOpened; };
    EXPECT_EQ(tree.StateIndex(main.ViewNode(newList)), 1);
    tree.FireMouseDown(ui::TMouseButton::Left, tree.StateImagePoint(main.ViewNode(newList)));
    EXPECT_EQ(editorOpened, 1);
    EXPECT_EQ(main.Tree.CollectTickedItems().back(), "Custom Lists - <New List>");
}

TEST_F(MainWindowTest, TestRunFindsWithoutRemovingAndEndsFinished) {
    auto& main = Open();
    MakeJunk(kTempFiles, 3);
    MakeJunk(kCookies, 2);
    ClickTick(kTempFiles);
    ClickTick(kCookies);
    CurrentOptions.FastScan = false;

    EXPECT_FALSE(main.pbProgress->Visible());
    Button(*main.bTest).Click();
    EXPECT_FALSE(main.Runs.Idle());
    EXPECT_EQ(main.bTest->Caption(), "Cancel");
    EXPECT_TRUE(main.pbProgress->Visible());
    EXPECT_TRUE(main.lNumber->Visible());
    EXPECT_TRUE(main.lMain->DoubleBuffered());
    EXPECT_TRUE(main.tmAnimation->Enabled());
    EXPECT_EQ(main.lTotalItems->Caption(), "Total items will be removed: ");
    EXPECT_EQ(main.lNumber->Left(), main.lTotalItems->Right() + 5);

    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(main.bTest->Caption(), "Test");
    EXPECT_EQ(main.pbProgress->Caption(), "Finished!");
    EXPECT_TRUE(main.pbProgress->ShowCaption());
    EXPECT_EQ(main.pbProgress->Position(), 1000);
    EXPECT_FALSE(main.tmAnimation->Enabled());
    EXPECT_FALSE(main.lMain->DoubleBuffered());
    EXPECT_EQ(main.lNumber->Caption(), "5");
    const auto lines = main.lMain->Items();
    EXPECT_EQ(lines.front(), "Test: Clearing Internet Explorer - Cookies ...");
    EXPECT_TRUE(AnyLineStartsWith(lines, "Test: deleting C:\\Junk\\Windows - Temporary Files\\"));
    EXPECT_TRUE(AnyLineStartsWith(lines, "Total items will be removed = 5 ;"));
    int widest = 0;
    for (const auto& line : lines) widest = std::max(widest, main.lMain->TextWidth(line));
    EXPECT_EQ(main.lMain->HorizontalExtent(), widest + 10);
    EXPECT_EQ(JunkLeft(kTempFiles), 3);
    EXPECT_EQ(JunkLeft(kCookies), 2);
}

TEST_F(MainWindowTest, CleanCountsInvisiblyThenRemovesWithProgressAgainstTheCount) {
    auto& main = Open();
    MakeJunk(kTempFiles, 4);
    ClickTick(kTempFiles);
    CurrentOptions.AskForSweep = false;
    CurrentOptions.FastScan = false;
    cleaner->HoldItems();

    Button(*main.bClean).Click();
    ASSERT_TRUE(PumpUntilHeld());
    // The pre-scan: a Test in Fast Mode, its lines drawn in the background colour.
    EXPECT_EQ(main.pbProgress->Caption(), "Prepare to clean...");
    EXPECT_EQ(main.lMain->FontColor(), main.lMain->BackgroundColor());
    EXPECT_TRUE(main.Runs.Current()->FastScan());
    EXPECT_FALSE(CurrentOptions.FastScan);  // the setting itself is left as it is
    EXPECT_EQ(main.Runs.Mode(), base::rmTest);
    EXPECT_FALSE(main.tmAnimation->Enabled());
    cleaner->Release();

    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(main.Runs.ExpectedItems(), 4);
    EXPECT_EQ(main.Runs.Mode(), base::rmClean);
    EXPECT_EQ(main.pbProgress->Caption(), "Finished!");
    EXPECT_FALSE(CurrentOptions.FastScan);
    EXPECT_EQ(main.lMain->FontColor(), ui::clBlack);
    EXPECT_EQ(JunkLeft(kTempFiles), 0);
    const auto calls = cleaner->Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].mode, base::rmTest);
    EXPECT_EQ(calls[1].mode, base::rmClean);
    EXPECT_EQ(calls[2].mode, base::rmTest) << "what the Clean left is looked for";
    // The log holds only the removing pass.
    const auto lines = main.lMain->Items();
    EXPECT_EQ(lines.front(), "Clean: Clearing Windows - Temporary Files ...");
    EXPECT_FALSE(AnyLineStartsWith(lines, "Test: "));
    EXPECT_TRUE(AnyLineStartsWith(lines, "Total items to be removed = 4 ;"));
    EXPECT_EQ(main.lTotalItems->Caption(), "Total items to be removed: ");
    EXPECT_TRUE(sim.dialogs().Asked().empty());
}

TEST_F(MainWindowTest, RemovingPassProgressIsTheShareOfThePreScanCount) {
    auto& main = Open();
    MakeJunk(kTempFiles, 8);
    ClickTick(kTempFiles);
    CurrentOptions.AskForSweep = false;
    cleaner->HoldRemovingItems();
    Button(*main.bClean).Click();
    // Held at the removing pass's first item, after the pre-scan counted 8.
    ASSERT_TRUE(PumpUntilHeld());
    ASSERT_EQ(main.Runs.Phase(), run::TRunPhase::Removing);
    ASSERT_EQ(main.Runs.ExpectedItems(), 8);
    sim.desktop().PostToWindow(main.Form->Handle(), base::WM_RUNPROGRESS, 2, 0);
    sim.queue().Pump();
    EXPECT_EQ(main.lNumber->Caption(), "2");
    EXPECT_EQ(main.pbProgress->Position(), 250);
    EXPECT_EQ(main.pbProgress->Caption(), "25%");
    // More than the pre-scan counted goes past the end of the range.
    sim.desktop().PostToWindow(main.Form->Handle(), base::WM_RUNPROGRESS, 10, 0);
    sim.queue().Pump();
    EXPECT_EQ(main.pbProgress->Position(), 1250);
    cleaner->Release();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));

    // A Test shows only the number.
    MakeJunk(kTempFiles, 1);
    cleaner->HoldItems();
    Button(*main.bTest).Click();
    ASSERT_TRUE(PumpUntilHeld());
    const int position = main.pbProgress->Position();
    sim.desktop().PostToWindow(main.Form->Handle(), base::WM_RUNPROGRESS, 4, 0);
    sim.queue().Pump();
    EXPECT_EQ(main.lNumber->Caption(), "4");
    EXPECT_EQ(main.pbProgress->Position(), position);
    cleaner->Release();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
}

TEST_F(MainWindowTest, CancelDuringThePreScanRestoresTheLogAndFastModeAndRemovesNothing) {
    auto& main = Open();
    MakeJunk(kTempFiles, 2);
    ClickTick(kTempFiles);
    CurrentOptions.AskForSweep = false;
    CurrentOptions.FastScan = false;
    cleaner->HoldItems();
    Button(*main.bClean).Click();
    ASSERT_TRUE(PumpUntilHeld());

    Button(*main.bTest).Click();
    EXPECT_EQ(main.bTest->Caption(), "Test");
    EXPECT_TRUE(main.Runs.Idle());
    EXPECT_EQ(main.lMain->FontColor(), ui::clBlack);
    EXPECT_FALSE(CurrentOptions.FastScan);
    EXPECT_FALSE(main.lMain->DoubleBuffered());

    // The run notices the request and stops; no removing pass follows.
    ASSERT_TRUE(Pump([&] { return main.Runs.AllEnded(); }));
    sim.queue().Pump();
    for (const auto& call : cleaner->Calls()) EXPECT_EQ(call.mode, base::rmTest);
    EXPECT_EQ(JunkLeft(kTempFiles), 2);
}

TEST_F(MainWindowTest, TicksChangedDuringThePreScanApplyToTheRemovingPass) {
    auto& main = Open();
    MakeJunk(kTempFiles, 2);
    MakeJunk(kClipboard, 2);
    ClickTick(kClipboard);
    ClickTick(kTempFiles);
    CurrentOptions.AskForSweep = false;
    cleaner->HoldItems();
    Button(*main.bClean).Click();
    ASSERT_TRUE(PumpUntilHeld());
    ClickTick(kClipboard);
    cleaner->Release();

    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(JunkLeft(kTempFiles), 0);
    EXPECT_EQ(JunkLeft(kClipboard), 2);
    const auto calls = cleaner->Calls();
    // The pre-scan worked on its own copy of both names.
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[2].item, kTempFiles);
    EXPECT_EQ(calls[3].item, kTempFiles);
}

TEST_F(MainWindowTest, TheEndOfACancelledRunDoesNotEndTheNextOne) {
    auto& main = Open();
    MakeJunk(kTempFiles, 2);
    ClickTick(kTempFiles);
    cleaner->HoldItems();
    Button(*main.bTest).Click();
    ASSERT_TRUE(PumpUntilHeld());
    // Cancelled in its last item, then a new Test at once: the first run
    // still finishes that item while the second works.
    Button(*main.bTest).Click();
    Button(*main.bTest).Click();
    ASSERT_FALSE(main.Runs.Idle());
    EXPECT_FALSE(Pump([&] { return main.Runs.Idle(); }, 1000));
    EXPECT_EQ(main.bTest->Caption(), "Cancel");
    EXPECT_EQ(main.Runs.Phase(), run::TRunPhase::Testing);
    cleaner->Release();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(main.pbProgress->Caption(), "Finished!");
    EXPECT_EQ(main.lNumber->Caption(), "2");
}

TEST_F(MainWindowTest, StartRequestsDuringARunAreIgnored) {
    auto& main = Open();
    ClickTick(kTempFiles);
    cleaner->HoldItems();
    Button(*main.bTest).Click();
    ASSERT_TRUE(PumpUntilHeld());
    Button(*main.bClean).Click();
    sim.desktop().PostToWindow(main.Form->Handle(), base::WM_AUTOCLEAN, 0, 0);
    sim.queue().Pump();
    main.tmSchedule->onTimer();
    EXPECT_EQ(main.Runs.Phase(), run::TRunPhase::Testing);
    EXPECT_TRUE(sim.dialogs().Asked().empty());
    EXPECT_TRUE(controls.ModalRuns().empty());
    cleaner->Release();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(cleaner->Calls().size(), 1u);
}

TEST_F(MainWindowTest, RefusesWithNothingTickedAndWhileATickedBrowserIsOpen) {
    auto& main = Open();
    Button(*main.bTest).Click();
    EXPECT_EQ(AskedTexts(), (std::vector<std::string>{base::texts::kSelectItemsFirst}));
    EXPECT_EQ(sim.dialogs().Asked()[0].caption, "Nullvane");
    EXPECT_EQ(sim.dialogs().Asked()[0].flags, platform::mbOk | platform::mbIconInformation);
    // An unattended clean says nothing.
    sim.desktop().PostToWindow(main.Form->Handle(), base::WM_AUTOCLEAN, 0, 0);
    sim.queue().Pump();
    EXPECT_EQ(sim.dialogs().AskedCount(), 1u);
    EXPECT_TRUE(main.Runs.Idle());

    sim.dialogs().ClearAsked();
    CurrentOptions.AskForSweep = false;
    ClickTick("Google Chrome - Cookies");
    ClickTick("Mozilla Firefox - Cookies");
    // A Firefox window that closes when asked.
    platform::WindowId firefox = 0;
    firefox = sim.desktop().RegisterWindow("MozillaWindowClass", [&](uint32_t message, uintptr_t, intptr_t) {
        if (message == run::kWmClose) (void)sim.desktop().DestroyWindow(firefox);
    });
    sim.desktop().SetWindowProcess(firefox, 300);
    sim.desktop().SetProcessImage(300, "firefox.exe");
    // Chrome is told by its profile lock, never by its window class.
    const std::string chromeLock = "C:\\Users\\Test\\AppData\\Local\\Google\\Chrome\\User Data\\lockfile";
    sim.MakeFile(chromeLock, "");
    sim.files().SetInUse(chromeLock);
    const std::string askFirefox = "Please close Mozilla Firefox firstly!\n\nClose Mozilla Firefox now?";
    sim.dialogs().QueueAnswer(platform::idNo);
    Button(*main.bClean).Click();
    EXPECT_EQ(AskedTexts(), (std::vector<std::string>{askFirefox})) << "declined, nothing more is said";
    EXPECT_TRUE(main.Runs.Idle());
    EXPECT_NE(sim.desktop().FindWindowByClass("MozillaWindowClass"), 0u);

    // Yes: Firefox closes its window, then Chrome's turn comes.
    sim.dialogs().ClearAsked();
    sim.dialogs().QueueAnswers({platform::idYes, platform::idNo});
    Button(*main.bClean).Click();
    EXPECT_EQ(AskedTexts(),
              (std::vector<std::string>{askFirefox, "Please close Google Chrome firstly!\n\nClose Google Chrome now?"}));
    EXPECT_EQ(sim.desktop().FindWindowByClass("MozillaWindowClass"), 0u);
    EXPECT_TRUE(main.Runs.Idle());
    EXPECT_TRUE(cleaner->Calls().empty());

    // A Test is never refused for a running browser.
    Button(*main.bTest).Click();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(cleaner->Calls().size(), 2u);
    sim.files().SetInUse(chromeLock, false);
}

TEST_F(MainWindowTest, ConfirmationRefusedStartsNothingAndItsBoxTurnsTheQuestionOff) {
    auto& main = Open();
    MakeJunk(kTempFiles, 1);
    ClickTick(kTempFiles);
    ASSERT_TRUE(CurrentOptions.AskForSweep);
    controls.ScriptModal("frmAskDelete", [](THeadlessForm& form) {
        EXPECT_EQ(form.Caption(), "Run Nullvane");
        EXPECT_NE(form.Find<ui::headless::THeadlessLabel>(
                      "This process will permanently delete files from your system."),
                  nullptr);
        form.Find<ui::headless::THeadlessButton>("&Cancel")->Click();
    });
    Button(*main.bClean).Click();
    EXPECT_TRUE(main.Runs.Idle());
    EXPECT_EQ(main.bTest->Caption(), "Test");
    EXPECT_TRUE(cleaner->Calls().empty());
    EXPECT_FALSE(main.pbProgress->Visible());

    // "Don't show me this message again" and OK: the clean goes ahead and the
    // next one asks nothing.
    controls.ScriptModal("frmAskDelete", [](THeadlessForm& form) {
        form.Find<ui::headless::THeadlessCheckBox>("Don't show me this message again")->Click();
        form.Find<ui::headless::THeadlessButton>("&OK")->Click();
    });
    Button(*main.bClean).Click();
    EXPECT_FALSE(CurrentOptions.AskForSweep);
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(JunkLeft(kTempFiles), 0);
    EXPECT_EQ(controls.ModalRuns().size(), 2u);
}

TEST_F(MainWindowTest, AFileLeftInUseEndsTheCleanAsFinishedWithErrorsAfterEveryItem) {
    auto& main = Open();
    MakeJunk(kCookies, 2);
    MakeJunk(kTempFiles, 2);
    ClickTick(kCookies);
    ClickTick(kTempFiles);
    cleaner->InUseOnItem = kCookies;
    CurrentOptions.AskForSweep = false;
    Button(*main.bClean).Click();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(main.pbProgress->Caption(), "Finished with errors!");
    EXPECT_EQ(JunkLeft(kCookies), 1);
    EXPECT_EQ(JunkLeft(kTempFiles), 0);
    const auto lines = main.lMain->Items();
    EXPECT_TRUE(AnyLineStartsWith(lines, "The file is in use by another program: C:\\Junk\\" + std::string(kCookies)));
    EXPECT_TRUE(AnyLineStartsWith(lines, "Total items to be removed = 3 ;"));
}

TEST_F(MainWindowTest, RunEndedByAnErrorLeavesTheRunningState) {
    auto& main = Open();
    ClickTick(kCookies);
    ClickTick(kTempFiles);
    cleaner->ThrowOnItem = kCookies;
    CurrentOptions.AskForSweep = false;
    Button(*main.bClean).Click();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(main.bTest->Caption(), "Test");
    EXPECT_EQ(main.pbProgress->Caption(), "Stopped!");
    EXPECT_EQ(main.lMain->FontColor(), ui::clBlack);
    EXPECT_EQ(main.lMain->Items().back(), std::string(base::texts::kCliRunAborted) + "damaged store");
    // Nothing after the failing item ran, and no removing pass followed.
    EXPECT_EQ(cleaner->Calls().size(), 1u);
}

TEST_F(MainWindowTest, SavesTheLogUnderTheNameRulesAndAsksBeforeReplacing) {
    EXPECT_EQ(LogFileName("C:\\log"), "C:\\log.txt");
    EXPECT_EQ(LogFileName("C:\\log.txt"), "C:\\log.txt");
    EXPECT_EQ(LogFileName("C:\\log.TXT"), "C:\\log.TXT.txt");
    EXPECT_EQ(LogFileName("C:\\v1.0\\log"), "C:\\v1.0\\log.txt");

    auto& main = Open();
    auto* save = main.mmMain.Find("S&ave to text file");
    ASSERT_TRUE(save);
    EXPECT_FALSE(main.mmMain.Find("Edit")->onPopup == nullptr);
    main.mmMain.Find("Edit")->onPopup();
    EXPECT_FALSE(save->Enabled);
    EXPECT_FALSE(Log().OpenContextMenu()->Items[0]->Enabled);

    main.lMain->AddItem("first line");
    main.lMain->AddItem("second line");
    EXPECT_TRUE(Log().OpenContextMenu()->Items[0]->Enabled);
    sim.dialogs().QueueSaveAnswer("C:\\Logs\\run.TXT");
    sim.MakeFolder("C:\\Logs");
    main.pmLog.Items[0]->Click();
    EXPECT_EQ(sim.dialogs().SaveRequests().back().title, "Save as Text");
    EXPECT_EQ(sim.dialogs().SaveRequests().back().filter, "Text files (*.txt)|*.txt");
    EXPECT_EQ(sim.files().ReadAll("C:\\Logs\\run.TXT.txt"),
              "This file was generated by Nullvane\r\nVisit https://www.nullvane.app/ for the latest version\r\n\r\n"
              "first line\r\nsecond line\r\n");

    // The file exists now: No keeps it, Yes replaces it.
    main.lMain->Clear();
    main.lMain->AddItem("third line");
    sim.dialogs().QueueSaveAnswer("C:\\Logs\\run.TXT");
    sim.dialogs().QueueAnswer(platform::idNo);
    main.pmLog.Items[0]->Click();
    ASSERT_EQ(sim.dialogs().AskedCount(), 1u);
    EXPECT_EQ(sim.dialogs().Asked()[0].text, "C:\\Logs\\run.TXT.txt has existed,overite it?");
    EXPECT_EQ(sim.dialogs().Asked()[0].flags,
              platform::mbYesNo | platform::mbIconInformation | platform::mbDefButton2);
    EXPECT_NE(sim.files().ReadAll("C:\\Logs\\run.TXT.txt")->find("second line"), std::string::npos);
    sim.dialogs().QueueSaveAnswer("C:\\Logs\\run.TXT");
    sim.dialogs().QueueAnswer(platform::idYes);
    main.pmLog.Items[0]->Click();
    EXPECT_EQ(sim.files().ReadAll("C:\\Logs\\run.TXT.txt")->find("second line"), std::string::npos);
}

TEST_F(MainWindowTest, ActionMenuShortcutsDoWhatTheButtonsDo) {
    auto& main = Open();
    ClickTick(kTempFiles);
    CurrentOptions.AskForSweep = false;
    cleaner->HoldItems();
    EXPECT_TRUE(Form().PressShortCut({true, false, false, 'T'}));
    ASSERT_TRUE(PumpUntilHeld());
    EXPECT_EQ(main.bTest->Caption(), "Cancel");
    // While the button reads Cancel, Ctrl+T cancels as the button would.
    EXPECT_TRUE(Form().PressShortCut({true, false, false, 'T'}));
    EXPECT_TRUE(main.Runs.Idle());
    cleaner->Release();
    ASSERT_TRUE(Pump([&] { return main.Runs.AllEnded(); }));
    EXPECT_TRUE(Form().PressShortCut({true, true, false, 'C'}));
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    const auto calls = cleaner->Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2].mode, base::rmClean);
    // Ctrl+Alt+S opens the settings dialog.
    EXPECT_TRUE(Form().PressShortCut({true, true, false, 'S'}));
    EXPECT_EQ(controls.ModalRuns().back(), "frmOptions");
}

TEST_F(MainWindowTest, MinimisingGoesToTheNotificationAreaAndTheIconBringsTheWindowBack) {
    auto& main = Open();
    const auto window = main.Form->Handle();
    sim.desktop().PostToWindow(window, ui::kWmSysCommand, ui::kScMinimize, 0);
    sim.queue().Pump();
    EXPECT_FALSE(main.Form->Visible());
    EXPECT_TRUE(Form().HasTrayIcon());
    EXPECT_EQ(Form().TrayTip(), "Left Click to activate Nullvane\r\nRight Click to popup menu");
    EXPECT_EQ(Form().TrayCallbackMessage(), base::WM_TRAYICON);

    sim.desktop().PostToWindow(window, base::WM_TRAYICON, 0, ui::kWmRButtonDown);
    sim.queue().Pump();
    EXPECT_EQ(Form().LastPopupMenu(), &main.pmTray);
    EXPECT_TRUE(main.pmTray.Find("&Settings...")->Enabled);

    sim.desktop().PostToWindow(window, base::WM_TRAYICON, 0, ui::kWmLButtonDown);
    sim.queue().Pump();
    EXPECT_TRUE(main.Form->Visible());
    EXPECT_FALSE(main.Form->Minimized());
    EXPECT_FALSE(Form().HasTrayIcon());
    EXPECT_EQ(sim.desktop().ForegroundWindow(), window);
}

TEST_F(MainWindowTest, FastModeBoxSwitchesTheRunThatIsWorking) {
    // The window thread switches Fast Mode while the run thread reads it for
    // every file: the native-tsan build shows any unsynchronised access.
    CurrentOptions.FastScan = true;
    auto& main = Open();
    MakeJunk(kTempFiles, 300);
    ClickTick(kTempFiles);
    cleaner->HoldItems();
    Button(*main.bTest).Click();
    ASSERT_TRUE(PumpUntilHeld());
    auto& box = dynamic_cast<ui::headless::THeadlessCheckBox&>(*main.cbFastMode);
    box.Click();  // off: detail lines from here on
    cleaner->Release();
    for (int i = 0; i < 4; ++i) box.Click();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_FALSE(CurrentOptions.FastScan);
    size_t details = 0;
    for (const auto& line : main.lMain->Items()) details += line.find("deleting") != std::string::npos;
    EXPECT_GT(details, 0u);
}

TEST_F(MainWindowTest, FastModeBoxFollowsAndSetsTheSetting) {
    CurrentOptions.FastScan = true;
    auto& main = Open();
    EXPECT_TRUE(main.cbFastMode->Checked());
    dynamic_cast<ui::headless::THeadlessCheckBox&>(*main.cbFastMode).Click();
    EXPECT_FALSE(CurrentOptions.FastScan);
}

TEST_F(MainWindowTest, TickingAWinapp2EntryWithAWarningAsksAtOnceAndAYesIsNotAskedAgainByTheClean) {
    const std::string roaming = "C:\\Users\\Test\\AppData\\Roaming\\";
    sim.MakeFile(roaming + "Careful Tool\\session.dat", "unsaved work");
    sim.MakeFile(roaming + "Plain Tool\\cache.bin", "1234");
    sim.MakeFile(sim.system().ProgramFolder() + "winapp2.ini",
                 "[Careful Tool *]\r\nDetectFile=%AppData%\\Careful Tool\r\nWarning=This deletes unsaved sessions.\r\n"
                 "FileKey1=%AppData%\\Careful Tool|*.dat\r\n"
                 "[Plain Tool *]\r\nDetectFile=%AppData%\\Plain Tool\r\nFileKey1=%AppData%\\Plain Tool|*.*\r\n");
    auto& main = Open();
    main.Runs.Dispatcher = {};  // the real cleaners
    CurrentOptions.AskForSweep = false;
    const std::string careful = "winapp2.ini - Careful Tool";
    auto ticked = [&](const std::string& name) {
        return main.Tree.Node(*main.Tree.FindItem(name)).StateIndex == run::kStateTicked;
    };

    sim.dialogs().QueueAnswer(platform::idNo);
    ClickTick(careful);
    ASSERT_EQ(AskedTexts().size(), 1u);
    EXPECT_NE(AskedTexts()[0].find("Careful Tool: This deletes unsaved sessions."), std::string::npos);
    EXPECT_FALSE(ticked(careful));
    EXPECT_FALSE(main.Tree.IsCategoryTicked("winapp2.ini"));

    ClickTick("winapp2.ini - Plain Tool");  // no warning, no question
    EXPECT_EQ(AskedTexts().size(), 1u);
    sim.dialogs().QueueAnswer(platform::idYes);
    ClickTick(careful);
    EXPECT_TRUE(ticked(careful));
    EXPECT_EQ(AskedTexts().size(), 2u);

    Button(*main.bClean).Click();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_FALSE(sim.files().Exists(roaming + "Careful Tool\\session.dat"));
    EXPECT_FALSE(sim.files().Exists(roaming + "Plain Tool\\cache.bin"));
    EXPECT_EQ(AskedTexts().size(), 2u) << "the Clean does not ask again";
}

}  // namespace
}  // namespace nullvane::app::testing

namespace nullvane::app::testing {

// The bar tells a Clean that left files another program holds apart from
// one that finished, and says how many were left.
TEST_F(MainWindowTest, TheBarCountsTheEntriesACleanLeftAndReadsFinishedOnceNothingIsLeft) {
    auto& main = Open();
    ClickTick(kTempFiles);
    settings::CurrentOptions.AskForSweep = false;
    sim.MakeFile("C:\\Held\\open.tmp", "open");
    sim.MakeFile("C:\\Held\\free.tmp", "free");
    sim.files().SetInUse("C:\\Held\\open.tmp");
    main.Runs.Dispatcher = [](base::TRunContext& run, const std::string&) {
        removal::CleanFolder(run, "C:\\Held", {.logIt = false});
    };
    Button(*main.bClean).Click();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(main.pbProgress->Caption(), "Finished, 1 entries left");
    EXPECT_EQ(main.Runs.LeftEntries(), 1);
    EXPECT_FALSE(sim.files().Exists("C:\\Held\\free.tmp"));

    sim.files().SetInUse("C:\\Held\\open.tmp", false);
    Button(*main.bClean).Click();
    ASSERT_TRUE(Pump([&] { return main.Runs.Idle(); }));
    EXPECT_EQ(main.pbProgress->Caption(), "Finished!");
    EXPECT_FALSE(sim.files().Exists("C:\\Held\\open.tmp"));
}

}  // namespace nullvane::app::testing
