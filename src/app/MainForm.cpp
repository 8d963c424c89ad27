#include "app/MainForm.h"

#include <algorithm>

#include "app/AboutForm.h"
#include "app/AskDeleteForm.h"
#include "app/CookiesManagerForm.h"
#include "app/IndexDatViewerForm.h"
#include "app/LogFile.h"
#include "app/NewCustomItemForm.h"
#include "app/WindowTexts.h"
#include "base/ProductInfo.h"
#include "app/WebAddresses.h"
#include "run/BrowserClosing.h"
#include "run/BrowserCheck.h"
#include "run/CleanItemCatalogue.h"
#include "run/CleanerTable.h"
#include "run/RemovingRunLock.h"
#include "base/Texts.h"
#include "settings/ExpandStates.h"
#include "settings/OptionsFile.h"
#include "settings/Winapp2StartUp.h"
#include "settings/OptionsSetting.h"
#include "winapp2/Winapp2Catalogue.h"

namespace nullvane::app {

using settings::CurrentOptions;

namespace {
constexpr int kTitleHeight = 50;
constexpr int kBottomPanelHeight = 30;
constexpr ui::TColor kTitleColor = ui::Rgb(36, 64, 112);

ui::TShortCut Ctrl(char key) { return {true, false, false, key}; }
ui::TShortCut CtrlAlt(char key) { return {true, true, false, key}; }
}  // namespace

TfrmMain::TfrmMain(platform::Platform& machine, ui::TControlFactory& controls, TStartSwitch startSwitch)
    : Runs(machine, Tree, *this),
      BossKey(machine.desktop, machine.profiles, settings::OptionsFilePath(machine)),
      machine_(machine), controls_(controls), startSwitch_(startSwitch) {
    // Fields first, then the caption and the title labels.
    CleanOnce = false;
    CreateControls();
    CreateMenus();
    Form->SetCaption(base::MainCaption());
    lTitle->SetCaption(base::kProductName);
    lTitleHint->SetCaption("Clean up all traces of your PC and Internet activity");

    // The catalogue with the installed applications, before the saved ticks are read.
    Tree = run::CreateCleanItemTree();
    run::FillBrowserCategories(Tree, machine_);
    run::FillApplicationsCategory(Tree, machine_);
    (void)settings::LoadWinapp2AtStartUp(machine_);
    run::FillWinapp2Category(Tree);
    FillTree();
    tvCleanItems->ScrollToTop();

    optionsPath_ = settings::OptionsFilePath(machine_);
    settings::ReadWriteOptions(settings::TReadWrite::Read, machine_, optionsPath_, Tree, CurrentOptions, nullptr);
    if (startSwitch_ == TStartSwitch::Start) SetTrayIcon(true);
    settings::ExpandStates(Tree, settings::TExpandStates::Restore, CurrentOptions);
    ShowTreeStates();
    cbFastMode->SetChecked(CurrentOptions.FastScan);

    onOpenCustomListEditor = [this] { OpenCustomListEditor(); };
    BossKey.ShowLeftHidden();
    if (CurrentOptions.EnableHotkey) RegisterBossKey();
    machine_.dialogs.SetOwnerWindow(Form->Handle());
    Runs.Window = Form->Handle();
    Form->onActivate = [this] { FormActivate(); };
    Form->onResize = [this] { LayoutControls(); };
    Form->onClose = [this] { FormClose(); };
    Form->onMessage = [this](ui::TMessage& message) { return FormMessage(message); };
    LayoutControls();
}

TfrmMain::~TfrmMain() {
    // The window thread never blocks on a run: it keeps processing messages
    // (the run may be waiting in a synchronised call) until every run ended.
    Runs.TerminateAll();
    controls_.Application().WaitUntil([this] { return Runs.AllEnded(); }, 15000);
}

void TfrmMain::CreateControls() {
    ui::TFormArgs args;
    args.Name = kFormName;
    args.ClassName = base::kMainWindowClass;
    args.Caption = base::MainCaption();
    args.Width = settings::kDesignedWindowWidth;
    args.Height = settings::kDesignedWindowHeight;
    Form = controls_.CreateForm(args);
    Form->SetMinSize(kMinWidth, kMinHeight);
    Form->CenterOnScreen();

    pnlTitle = controls_.CreatePanel(*Form, {{0, 0, 688, kTitleHeight}, ""});
    pnlTitle->SetColor(kTitleColor);
    lTitle = controls_.CreateLabel(*pnlTitle, {{14, 5, 0, 0}, ""});
    lTitle->SetFont({16, true, false, ui::clWhite});
    lTitleHint = controls_.CreateLabel(*pnlTitle, {{16, 31, 0, 0}, ""});
    lTitleHint->SetFont({8, false, false, ui::Rgb(200, 215, 235)});

    lCleanerSettings = controls_.CreateLabel(*Form, {{8, 56, 0, 0}, "Cleaner Settings"});
    tvCleanItems = controls_.CreateTreeView(*Form, {{8, 72, 250, 300}, ""});
    tvCleanItems->SetIndent(19);
    tvCleanItems->onMouseDown = [this](ui::TMouseButton button, ui::TPoint point) {
        tvCleanItemsMouseDown(button, point);
    };

    gbProgress = controls_.CreateGroupBox(*Form, {{266, 56, 416, 350}, "Progress"});
    pbProgress = controls_.CreateProgressBar(*gbProgress, {{8, 20, 400, 18}, "", false});
    pbProgress->SetRange(0, 1000);
    pbProgress->SetPosition(0);
    pbProgress->SetShowCaption(false);
    lMain = controls_.CreateListBox(*gbProgress, {{8, 44, 400, 250}, ""});
    lMain->SetItemHeight(13);
    lMain->SetPopupMenu(&pmLog);
    lClearing = controls_.CreateLabel(*gbProgress, {{8, 300, 0, 0}, "Clearing:", false});
    lCurrentItem = controls_.CreateLabel(*gbProgress, {{lClearing->Right() + 4, 300, 0, 0}, "", false});
    const std::string totalCaption =
        std::string(texts::kTotal) + " " + base::texts::kItems + " " + base::texts::kWillBeRemoved + ": ";
    lTotalItems = controls_.CreateLabel(*gbProgress, {{8, 318, 0, 0}, totalCaption, false});
    lNumber = controls_.CreateLabel(*gbProgress, {{lTotalItems->Right() + 5, 318, 0, 0}, "0", false});
    bTest = controls_.CreateButton(*gbProgress, {{230, 310, 75, 25}, base::texts::kTest});
    bTest->onClick = [this] { bTestClick(); };
    bClean = controls_.CreateButton(*gbProgress, {{325, 310, 75, 25}, base::texts::kClean});
    bClean->onClick = [this] { bCleanClick(); };

    pnlBottom = controls_.CreatePanel(*Form, {{0, 418, 688, kBottomPanelHeight}, ""});
    lHomePage = controls_.CreateLinkLabel(*pnlBottom, {{8, 9, 0, 0}, kHomePageText});
    lHomePage->onClick = [this] { controls_.Application().ShellOpen(kHomePageUrl); };
    lCheckUpdates = controls_.CreateLinkLabel(*pnlBottom, {{540, 9, 0, 0}, "Check for updates now..."});
    lCheckUpdates->onClick = [this] { controls_.Application().ShellOpen(kUpdateCheckUrl); };
    lDonate = controls_.CreateLinkLabel(*pnlBottom, {{460, 9, 0, 0}, "Donate..."});
    lDonate->onClick = [this] { controls_.Application().ShellOpen(kDonateUrl); };
    cbFastMode = controls_.CreateCheckBox(*pnlBottom, {{266, 6, 90, 18}, "Fast Mode"});
    cbFastMode->SetHint("Fast mode, not show detailed log of all cleaner settings");
    cbFastMode->onClick = [this] { cbFastModeClick(); };

    tmAnimation = controls_.CreateTimer(*Form);
    tmAnimation->SetInterval(500);
    tmAnimation->SetEnabled(false);
    tmAnimation->onTimer = [this] { tmAnimationTimer(); };
    tmSchedule = controls_.CreateTimer(*Form);
    tmSchedule->SetEnabled(false);
    tmSchedule->onTimer = [this] { tmScheduleTimer(); };
}

void TfrmMain::CreateMenus() {
    auto openHelp = [this] { controls_.Application().ShellOpen(machine_.system.ProgramFolder() + "NVane.chm"); };
    auto openAbout = [this] {
        TfrmAbout about(controls_, *Form);
        about.Execute();
    };
    auto exitProgram = [this] {
        Close();
        SetTrayIcon(false);
    };

    auto& file = mmMain.Add("File");
    file.Add("&Index.dat Viewer...", [this] { OpenIndexDatViewer(); });
    file.AddSeparator();
    file.Add("&Exit", exitProgram);

    auto& action = mmMain.Add("Action");
    action.Add("&Test", [this] { bTestClick(); }, Ctrl('T'));
    action.AddSeparator();
    action.Add("&Clean", [this] { bCleanClick(); }, CtrlAlt('C'));
    action.AddSeparator();
    action.Add("&Settings...", [this] { OpenSettings(); }, CtrlAlt('S'));

    auto& edit = mmMain.Add("Edit");
    edit.Add("&Cookies Manager...", [this] { OpenCookiesManager(); });
    edit.AddSeparator();
    edit.Add("Custom &Lists...", [this] { OpenCustomListEditor(); });
    edit.AddSeparator();
    miSaveLog_ = &edit.Add("S&ave to text file", [this] { SaveLogToFile(); });
    edit.onPopup = [this] { UpdateSaveLogEntries(); };

    auto& help = mmMain.Add("Help");
    help.Add("&Help", openHelp);
    help.AddSeparator();
    help.Add("H&ome Page", [this] { controls_.Application().ShellOpen(kHomePageUrl); });
    help.AddSeparator();
    help.Add("&Donate", [this] { controls_.Application().ShellOpen(kDonateUrl); });
    help.AddSeparator();
    help.Add("&About...", openAbout);
    Form->SetMenu(&mmMain);

    miPopupSaveLog_ = &pmLog.Add("S&ave to text file", [this] { SaveLogToFile(); });
    pmLog.onPopup = [this] { UpdateSaveLogEntries(); };

    pmTray.Add("&Open", [this] { ShowFromTray(); });
    pmTray.AddSeparator();
    pmTray.Add("&Settings...", [this] { OpenSettings(); }, CtrlAlt('S'));
    pmTray.AddSeparator();
    pmTray.Add("&Help", openHelp);
    pmTray.Add("&About...", openAbout);
    pmTray.AddSeparator();
    pmTray.Add("&Exit", exitProgram);
    UpdateSaveLogEntries();
}

void TfrmMain::FillTree() {
    viewNodes_.clear();
    for (size_t i = 0; i < Tree.Count(); ++i) {
        const auto& node = Tree.Node(i);
        const auto parent = Tree.ParentOf(i);
        viewNodes_.push_back(tvCleanItems->AddNode(parent ? viewNodes_.at(*parent) : ui::kNoNode, node.Text,
                                                   node.ImageIndex, node.StateIndex));
    }
}

void TfrmMain::ShowTreeStates() {
    for (size_t i = 0; i < Tree.Count(); ++i) {
        tvCleanItems->SetStateIndex(viewNodes_[i], Tree.Node(i).StateIndex);
        if (Tree.Node(i).Level == 0) tvCleanItems->SetExpanded(viewNodes_[i], Tree.Node(i).Expanded);
    }
}

size_t TfrmMain::ModelIndex(ui::TNodeId node) const {
    const auto it = std::find(viewNodes_.begin(), viewNodes_.end(), node);
    return static_cast<size_t>(it - viewNodes_.begin());
}

void TfrmMain::Show() { Form->Show(); }

void TfrmMain::Close() { Form->Close(); }

void TfrmMain::Post(uint32_t message) { machine_.desktop.PostToWindow(Form->Handle(), message, 0, 0); }

// Start-up and end.

void TfrmMain::FormActivate() {
    settings::ApplyPlacement(CurrentOptions, *this, machine_);
    if (startSwitch_ == TStartSwitch::Start) {
        // lParam 1: the icon is there already.
        machine_.desktop.PostToWindow(Form->Handle(), ui::kWmSysCommand, ui::kScMinimize, 1);
        // The clean at Windows start is one per process: the window is
        // activated again whenever a modal window (its confirmation too) closes.
        if (CurrentOptions.StartWash && !startUpCleanPosted_) {
            startUpCleanPosted_ = true;
            Post(base::WM_AUTOCLEAN);
        }
    }
    if (startSwitch_ == TStartSwitch::CleanOnce) {
        CleanOnce = true;
        Post(base::WM_AUTOCLEAN);
    } else {
        ArmSchedule();
    }
}

void TfrmMain::ArmSchedule() {
    // Unchanged values keep the countdown going (the timer is left alone).
    tmSchedule->SetInterval(settings::WashIntervalMs(CurrentOptions.WashInterval));
    tmSchedule->SetEnabled(CurrentOptions.AutoWash);
}

void TfrmMain::SaveSettings() {
    for (size_t i = 0; i < Tree.Count(); ++i) {
        if (Tree.Node(i).Level == 0) Tree.SetExpanded(i, tvCleanItems->Expanded(viewNodes_[i]));
    }
    settings::ExpandStates(Tree, settings::TExpandStates::Save, CurrentOptions);
    settings::ReadWriteOptions(settings::TReadWrite::Write, machine_, optionsPath_, Tree, CurrentOptions, this);
}

void TfrmMain::FormClose() {
    if (closed_) return;
    closed_ = true;
    Runs.Cancel();
    SaveSettings();
    tmSchedule->SetEnabled(false);
    if (CurrentOptions.EnableHotkey) BossKey.Unregister();
    // Whatever the setting says now: no other key would bring them back.
    BossKey.ShowHidden();
    controls_.Application().Terminate();
}

// Layout.

void TfrmMain::LayoutControls() {
    if (!bTest) return;
    const int clientWidth = Form->ClientWidth();
    const int clientHeight = Form->ClientHeight();
    pnlTitle->SetBounds({0, 0, clientWidth, kTitleHeight});
    const int panelHeight = pnlBottom->Height();
    pnlBottom->SetBounds({0, clientHeight - panelHeight, clientWidth, panelHeight});
    tvCleanItems->SetHeight(clientHeight - tvCleanItems->Top() - panelHeight - 10);

    ui::TRect group = gbProgress->Bounds();
    group.Height = clientHeight - group.Top - panelHeight - 10;
    group.Width = clientWidth - group.Left - 6;
    gbProgress->SetBounds(group);

    bTest->SetTop(group.Height - bTest->Height() - 10);
    pbProgress->SetWidth(group.Width - 16);
    lMain->SetBounds({lMain->Left(), lMain->Top(), pbProgress->Width(), bTest->Top() - lMain->Top() - 10});
    bClean->SetBounds({lMain->Right() - bClean->Width(), bTest->Top(), bClean->Width(), bClean->Height()});
    bTest->SetLeft(bClean->Left() - bTest->Width() - 20);

    lCheckUpdates->SetLeft(pnlBottom->Width() - lCheckUpdates->Width() - 8);
    lDonate->SetLeft(lCheckUpdates->Left() - lDonate->Width() - 16);
    cbFastMode->SetLeft(gbProgress->Left());

    lClearing->SetTop(lMain->Bottom() + 8);
    lCurrentItem->SetTop(lMain->Bottom() + 8);
    lTotalItems->SetBounds({lClearing->Left(), lClearing->Top() + lClearing->Height() + 5, lTotalItems->Width(),
                            lTotalItems->Height()});
    lNumber->SetBounds({lTotalItems->Right() + 5, lTotalItems->Top(), lNumber->Width(), lNumber->Height()});
}

// Starting and showing runs.

void TfrmMain::RequestStart(base::TRunMode mode) {
    // The run takes the settings as they are now.
    (void)Runs.RequestStart(mode, RunOptions());
}

base::TRunOptions TfrmMain::RunOptions() const {
    base::TRunOptions options = settings::RunOptionsOf(CurrentOptions);
    options.AcceptedWarnings = acceptedWarnings_;
    return options;
}

void TfrmMain::bTestClick() {
    if (Runs.Idle()) {
        RequestStart(base::rmTest);
    } else {
        Runs.Cancel();
    }
}

void TfrmMain::bCleanClick() { RequestStart(base::rmCleanRequested); }

bool TfrmMain::ConfirmRemoval(base::TRunMode) {
    if (!CurrentOptions.AskForSweep || CleanOnce) return true;
    TfrmAskDelete ask(controls_, *Form);
    return ask.Execute();
}

run::TRunView::TBrowserCloseAnswer TfrmMain::CloseRefusingBrowser(base::TRunMode mode, const browsers::TBrowser& browser,
                                                                  const std::string& notice) {
    // Only the user's own Clean asks; a scheduled one shows the notice alone.
    if (mode != base::rmCleanRequested) return bcNotOffered;
    const std::string question = notice + "\n\n" + texts::kCloseBrowserNowPrefix + browser.Name + texts::kCloseBrowserNowSuffix;
    if (machine_.dialogs.ShowMessage(question, base::texts::kCaption, platform::mbYesNo | platform::mbIconQuestion) !=
        platform::idYes)
        return bcDeclined;
    // The window keeps answering while the browser closes its windows.
    const bool closed = run::CloseBrowser(machine_, browser, [this](const std::function<bool()>& done, int timeoutMs) {
        return controls_.Application().WaitUntil(done, timeoutMs);
    });
    if (closed) return bcClosed;
    (void)machine_.dialogs.ShowMessage(browser.Name + std::string(base::texts::kStillRunning), base::texts::kCaption,
                                       platform::mbOk | platform::mbIconInformation);
    return bcStillRunning;
}

void TfrmMain::RunRefused(run::TStartOutcome, const std::string& message) {
    (void)machine_.dialogs.ShowMessage(message, base::texts::kCaption, platform::mbOk | platform::mbIconInformation);
}

void TfrmMain::ShowLogText() {
    if (!logHidden_) return;
    lMain->SetFontColor(SavedLogColor);
    logHidden_ = false;
}

void TfrmMain::RunStarting(run::TRunPhase phase, base::TRunMode mode) {
    bTest->SetCaption(texts::kCancel);
    finishedShown_ = false;
    if (!pbProgress->Visible()) {
        pbProgress->SetVisible(true);
        lClearing->SetVisible(true);
        lCurrentItem->SetVisible(true);
        lTotalItems->SetVisible(true);
        lNumber->SetVisible(true);
    }
    if (phase == run::TRunPhase::PreScan) {
        // The pre-scan's lines are drawn in the background colour.
        if (!logHidden_) SavedLogColor = lMain->FontColor();
        lMain->SetFontColor(lMain->BackgroundColor());
        logHidden_ = true;
        pbProgress->SetCaption(texts::kPrepareToClean);
        pbProgress->SetShowCaption(true);
    } else {
        ShowLogText();
        pbProgress->SetPosition(0);
        pbProgress->SetShowCaption(mode == base::rmClean);
    }
    lMain->Clear();
    lMain->SetDoubleBuffered(true);
    const std::string total = std::string(texts::kTotal) + " " + base::texts::kItems + " ";
    lTotalItems->SetCaption(total + (mode == base::rmTest ? base::texts::kWillBeRemoved : base::texts::kToBeRemoved) + ": ");
    lNumber->SetLeft(lTotalItems->Right() + 5);
    lNumber->SetCaption("0");
    if (phase == run::TRunPhase::Testing) tmAnimation->SetEnabled(true);
}

void TfrmMain::AddLogLine(const std::string& line) { lMain->AddItem(line); }

void TfrmMain::ScrollLogToEnd() { lMain->ScrollToEnd(); }

void TfrmMain::ShowCurrentItem(const std::string& itemName) { lCurrentItem->SetCaption(itemName); }

void TfrmMain::RunProgress(int32_t count, std::optional<int> perMille) {
    lNumber->SetCaption(std::to_string(count));
    if (perMille) pbProgress->SetPosition(*perMille);
}

void TfrmMain::RunEnded(run::TRunEnd end, const std::string& reason) {
    bTest->SetCaption(base::texts::kTest);
    lMain->SetDoubleBuffered(false);
    tmAnimation->SetEnabled(false);
    ShowLogText();
    switch (end) {
    case run::TRunEnd::Cancelled:
        return;
    case run::TRunEnd::Aborted:
        lMain->AddItem(base::texts::kCliRunAborted + reason);
        lMain->ScrollToEnd();
        pbProgress->SetCaption(texts::kRunStopped);
        pbProgress->SetShowCaption(true);
        break;
    case run::TRunEnd::Finished:
    case run::TRunEnd::FinishedWithErrors: {
        int widest = 0;
        for (const auto& line : lMain->Items()) widest = std::max(widest, lMain->TextWidth(line));
        lMain->SetHorizontalExtent(widest + 10);
        lMain->ScrollToEnd();
        pbProgress->SetPosition(1000);
        if (end == run::TRunEnd::Finished)
            pbProgress->SetCaption(texts::kFinished);
        else if (Runs.LeftEntries() > 0)
            pbProgress->SetCaption(texts::kFinishedLeftPrefix + std::to_string(Runs.LeftEntries()) +
                                   texts::kFinishedLeftSuffix);
        else
            pbProgress->SetCaption(texts::kFinishedWithErrors);
        finishedShown_ = end == run::TRunEnd::Finished;
        pbProgress->SetShowCaption(true);
        break;
    }
    }
    if (CleanOnce) Close();
}

void TfrmMain::RegisterBossKey() {
    if (!BossKey.Register(Form->Handle(), CurrentOptions.Hotkey)) {
        (void)machine_.dialogs.ShowMessage(texts::kBossKeyFailed, base::texts::kCaption, platform::mbOk | platform::mbIconError);
    }
}

void TfrmMain::BossKeyChanged() {
    // The old key goes: the windows it hid would have no key to come back with.
    BossKey.ShowHidden();
    BossKey.Unregister();
    if (CurrentOptions.EnableHotkey) RegisterBossKey();
}

bool TfrmMain::QueryEndSession() {
    BossKey.ShowHidden();
    // The setting is the consent: nothing waits for the user, and the clean
    // (or a run already working) gets a bounded time before it is cancelled.
    if (CurrentOptions.ShutdownWash) {
        (void)Runs.RequestStart(base::rmUnattended, RunOptions(), true);
    }
    if (!Runs.Idle()) {
        // Windows tells the user what the end of the session waits for.
        (void)machine_.desktop.SetShutdownBlockReason(Form->Handle(), texts::kEndOfSessionCleaning);
        controls_.Application().WaitUntil([this] { return Runs.Idle(); }, EndOfSessionCleanMs);
        (void)machine_.desktop.SetShutdownBlockReason(Form->Handle(), "");
    }
    Runs.Cancel();
    settings::ReadWriteOptions(settings::TReadWrite::Write, machine_, optionsPath_, Tree, CurrentOptions, this);
    return true;
}

void TfrmMain::tmAnimationTimer() {
    int position = pbProgress->Position() + ProgressStep;
    if (position > 999) position = 0;
    pbProgress->SetPosition(position);
    if (finishedShown_) tmAnimation->SetEnabled(false);
}

void TfrmMain::tmScheduleTimer() { RequestStart(base::rmUnattended); }

bool TfrmMain::FormMessage(ui::TMessage& message) {
    const auto wParam = static_cast<int32_t>(static_cast<intptr_t>(message.WParam));
    if (Runs.HandleMessage(message.Msg, wParam)) return true;
    switch (message.Msg) {
    case base::WM_AUTOCLEAN:
        RequestStart(base::rmUnattended);
        return true;
    case ui::kWmHotKey:
        BossKey.HotKeyPressed(message.WParam);
        return true;
    case ui::kWmQueryEndSession:
        message.Result = QueryEndSession() ? 1 : 0;
        return true;
    case ui::kWmEndSession:
        // The process ends when this returns; another program's refusal
        // (FALSE) keeps everything as it was.
        if (message.WParam != 0) Close();
        return true;
    case base::WM_SHOWMAINWINDOW:
        ShowFromTray();
        return true;
    case base::WM_TRAYICON:
        WmTrayIcon(message.LParam);
        return true;
    case ui::kWmSysCommand:
        if ((message.WParam & 0xFFF0) != ui::kScMinimize) return false;
        Form->MinimizeToTray();
        if (message.LParam != 1) SetTrayIcon(true);
        return true;
    default:
        return false;
    }
}

// Fast Mode, the log, the tree.

void TfrmMain::cbFastModeClick() {
    CurrentOptions.FastScan = cbFastMode->Checked();
    Runs.SetFastScan(CurrentOptions.FastScan);
}

void TfrmMain::UpdateSaveLogEntries() {
    const bool hasLines = lMain->Count() > 0;
    if (miSaveLog_) miSaveLog_->Enabled = hasLines;
    if (miPopupSaveLog_) miPopupSaveLog_->Enabled = hasLines;
}

void TfrmMain::SaveLogToFile() {
    platform::FileDialogArgs args;
    args.title = texts::kSaveAsTitle;
    args.filter = texts::kSaveAsFilter;
    const auto chosen = machine_.dialogs.SaveFile(args);
    if (!chosen) return;
    const std::string name = LogFileName(*chosen);
    if (machine_.files.Exists(name)) {
        const int answer = machine_.dialogs.ShowMessage(name + texts::kFileExistsSuffix, base::texts::kCaption,
                                                       platform::mbYesNo | platform::mbIconInformation | platform::mbDefButton2);
        if (answer != platform::idYes) return;
    }
    if (!machine_.files.WriteAll(name, LogFileText(lMain->Items()))) {
        (void)machine_.dialogs.ShowMessage(texts::kCannotWriteFile + name + ".", base::texts::kCaption,
                                          platform::mbOk | platform::mbIconError);
    }
}

void TfrmMain::OpenSettings() {
    TfrmOptions options(machine_, controls_, *Form, *this);
    if (!options.Execute()) return;
    cbFastMode->SetChecked(CurrentOptions.FastScan);
    Runs.SetFastScan(CurrentOptions.FastScan);
}

void TfrmMain::OpenCustomListEditor() {
    // The tree stays as it is: the list's item is there already.
    TfrmNewCustomItem editor(machine_, controls_, *Form);
    (void)editor.Execute();
}

void TfrmMain::OpenIndexDatViewer() {
    TfrmIndexDatViewer viewer(machine_, controls_, *Form);
    viewer.Execute();
}

void TfrmMain::OpenCookiesManager() {
    TfrmCookiesManager manager(machine_, controls_, *Form);
    (void)manager.Execute();
}

void TfrmMain::tvCleanItemsMouseDown(ui::TMouseButton, ui::TPoint point) {
    const ui::TTreeHit hit = tvCleanItems->HitTest(point);
    if (hit.Node == ui::kNoNode) return;
    if (hit.OnLabel && Tree.Node(ModelIndex(hit.Node)).Text == run::kNewListItem && onOpenCustomListEditor) {
        onOpenCustomListEditor();
    }
    if (hit.OnStateImage) {
        std::vector<int> before;
        for (const run::TCleanItemNode& node : Tree.Nodes()) before.push_back(node.StateIndex);
        Tree.ClickStateImage(ModelIndex(hit.Node));
        AskWarnedEntries(before);
        for (size_t i = 0; i < Tree.Count(); ++i) tvCleanItems->SetStateIndex(viewNodes_[i], Tree.Node(i).StateIndex);
    }
}

void TfrmMain::AskWarnedEntries(const std::vector<int>& before) {
    const auto catalogue = winapp2::CurrentWinapp2Catalogue();
    const auto category = Tree.FindCategory(run::kCategoryWinapp2.Text);
    if (!catalogue || !category) return;
    for (size_t i = *category + 1; i < Tree.Count() && Tree.Node(i).Level > 0; ++i) {
        if (Tree.Node(i).StateIndex != run::kStateTicked || before.at(i) == run::kStateTicked) continue;
        const stores::TWinapp2Entry* entry = winapp2::FindShownEntry(*catalogue, Tree.Node(i).Text);
        if (!entry || entry->Warning.empty() || acceptedWarnings_.contains(entry->Name)) continue;
        const bool yes = machine_.dialogs.ShowMessage(entry->Name + ": " + entry->Warning +
                                                          "\n\nRun this winapp2.ini entry when you clean?",
                                                      run::kCategoryWinapp2.Text,
                                                      platform::mbYesNo | platform::mbIconWarning |
                                                          platform::mbDefButton2) == platform::idYes;
        if (yes) {
            acceptedWarnings_.insert(entry->Name);
        } else {
            Tree.ClickStateImage(i);  // unticked again, and its category with it when it was the only one
        }
    }
}

// The notification area.

void TfrmMain::SetTrayIcon(bool add) {
    Form->SetTrayIcon(add, std::string(texts::kTrayTipFirst) + "\r\n" + texts::kTrayTipSecond, base::WM_TRAYICON);
}

void TfrmMain::ShowFromTray() {
    Form->Show();
    if (Form->Minimized()) {
        Form->BringToFront();
        SetTrayIcon(false);
    }
    Form->BringToFront();
    machine_.desktop.SetForegroundWindow(Form->Handle());
}

void TfrmMain::WmTrayIcon(intptr_t mouseMessage) {
    if (mouseMessage == ui::kWmLButtonDown) {
        ShowFromTray();
    } else if (mouseMessage == ui::kWmRButtonDown) {
        machine_.desktop.SetForegroundWindow(Form->Handle());
        Form->PopupMenu(pmTray, Form->CursorPos());
    }
}

// The window's placement, as the settings store reads and restores it.

std::optional<int> TfrmMain::GetShowState() {
    if (Form->Maximized()) return settings::kShowMaximized;
    if (Form->Minimized()) return settings::kShowMinimized;
    return settings::kShowNormal;
}

settings::TWindowBounds TfrmMain::GetBounds() {
    const ui::TRect b = Form->Bounds();
    return {b.Left, b.Top, b.Width, b.Height};
}

void TfrmMain::SetMaximized() { Form->Maximize(); }

void TfrmMain::SetBounds(const settings::TWindowBounds& bounds) {
    Form->SetBounds({bounds.Left, bounds.Top, bounds.Width, bounds.Height});
}

}  // namespace nullvane::app
