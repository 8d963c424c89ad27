#pragma once
// The main window: the clean item tree, the progress group with the log and
// the Test and Clean buttons, the menus and the notification area icon. Its
// runs belong to the run controller; the window shows the controller's phase.
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/BossKey.h"
#include "app/OptionsForm.h"
#include "app/StartUp.h"
#include "platform/Platform.h"
#include "run/CleanItemTree.h"
#include "run/RunController.h"
#include "settings/WindowPlacement.h"
#include "ui/Factory.h"

namespace nullvane::app {

class TfrmMain final : public settings::TWindowPlacement, private run::TRunView, private TOptionsOwner {
public:
    static constexpr char kFormName[] = "frmMain";
    static constexpr int kMinWidth = 610;
    static constexpr int kMinHeight = 400;
    // How long the end of the session waits for a clean before cancelling it.
    static constexpr int kEndOfSessionCleanMs = 15000;

    TfrmMain(platform::Platform& machine, ui::TControlFactory& controls, TStartSwitch startSwitch);
    // Waits (processing messages) for a run that is still ending.
    ~TfrmMain() override;
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;

    void Show();
    void Close();

    // Fields of the window.
    ui::TColor SavedLogColor = ui::clBlack;
    int ProgressStep = 50;
    // The end of the session's wait for a clean (a test may shorten it).
    int EndOfSessionCleanMs = kEndOfSessionCleanMs;
    bool CleanOnce = false;

    // Controls, top to bottom.
    std::unique_ptr<ui::TForm> Form;
    std::unique_ptr<ui::TPanel> pnlTitle;
    std::unique_ptr<ui::TLabel> lTitle;
    std::unique_ptr<ui::TLabel> lTitleHint;
    std::unique_ptr<ui::TLabel> lCleanerSettings;
    std::unique_ptr<ui::TTreeView> tvCleanItems;
    std::unique_ptr<ui::TGroupBox> gbProgress;
    std::unique_ptr<ui::TProgressBar> pbProgress;
    std::unique_ptr<ui::TListBox> lMain;
    std::unique_ptr<ui::TLabel> lClearing;
    std::unique_ptr<ui::TLabel> lCurrentItem;
    std::unique_ptr<ui::TLabel> lTotalItems;
    std::unique_ptr<ui::TLabel> lNumber;
    std::unique_ptr<ui::TButton> bTest;
    std::unique_ptr<ui::TButton> bClean;
    std::unique_ptr<ui::TPanel> pnlBottom;
    std::unique_ptr<ui::TLinkLabel> lHomePage;
    std::unique_ptr<ui::TLinkLabel> lCheckUpdates;
    std::unique_ptr<ui::TLinkLabel> lDonate;
    std::unique_ptr<ui::TCheckBox> cbFastMode;
    std::unique_ptr<ui::TTimer> tmAnimation;
    std::unique_ptr<ui::TTimer> tmSchedule;
    ui::TMenuItem mmMain;
    ui::TMenuItem pmLog;
    ui::TMenuItem pmTray;

    // The clean items as data; the tree view draws it.
    run::TCleanItemTree Tree;
    // The runs started from this window.
    run::TRunController Runs;
    // The Boss Key and the browser windows it keeps hidden.
    TBossKey BossKey;
    // Where "<New List>" opens the custom list editor (the editor unless replaced).
    std::function<void()> onOpenCustomListEditor;
    void OpenCustomListEditor();
    void OpenIndexDatViewer();
    void OpenCookiesManager();
    // "&Settings...": the settings dialog; after OK "Fast Mode" follows it.
    void OpenSettings();

    // Handlers.
    void FormActivate();
    void FormClose();
    void LayoutControls();
    void bTestClick();
    void bCleanClick();
    void tmAnimationTimer();
    void tmScheduleTimer();
    void cbFastModeClick();
    void SaveLogToFile();
    void tvCleanItemsMouseDown(ui::TMouseButton button, ui::TPoint point);
    void SetTrayIcon(bool add);
    void ShowFromTray();
    bool FormMessage(ui::TMessage& message);

    // The tree view shows the model's ticks and expanded states again.
    void ShowTreeStates();
    [[nodiscard]] ui::TNodeId ViewNode(size_t modelIndex) const { return viewNodes_.at(modelIndex); }
    // The model's node of a tree view node.
    [[nodiscard]] size_t ModelIndex(ui::TNodeId node) const;

    // settings::TWindowPlacement
    [[nodiscard]] std::optional<int> GetShowState() override;
    [[nodiscard]] settings::TWindowBounds GetBounds() override;
    void SetMaximized() override;
    void SetBounds(const settings::TWindowBounds& bounds) override;

private:
    void CreateControls();
    void CreateMenus();
    void FillTree();
    // A start request: ignored entirely while a run is active.
    void RequestStart(base::TRunMode mode);
    // The settings a run takes now, with the warnings accepted in this session.
    [[nodiscard]] base::TRunOptions RunOptions() const;
    // A winapp2.ini entry ticked by the click that carries a warning is asked
    // about at once; No unticks it. `before` holds the states before the click.
    void AskWarnedEntries(const std::vector<int>& before);
    void WmTrayIcon(intptr_t mouseMessage);
    // Takes the Boss Key of the settings; a refusal is told.
    void RegisterBossKey();
    // WM_QUERYENDSESSION: the end-of-session clean, the settings; the answer.
    [[nodiscard]] bool QueryEndSession();
    void UpdateSaveLogEntries();
    void Post(uint32_t message);
    // The log drawn again in its own colour after the invisible pre-scan.
    void ShowLogText();

    // TOptionsOwner: what OK in the settings dialog changes here.
    void BossKeyChanged() override;
    void ArmSchedule() override;
    void SaveSettings() override;

    // run::TRunView
    void AddLogLine(const std::string& line) override;
    void ScrollLogToEnd() override;
    void ShowCurrentItem(const std::string& itemName) override;
    void RunStarting(run::TRunPhase phase, base::TRunMode mode) override;
    void RunProgress(int32_t count, std::optional<int> perMille) override;
    void RunEnded(run::TRunEnd end, const std::string& reason) override;
    void RunRefused(run::TStartOutcome why, const std::string& message) override;
    [[nodiscard]] bool ConfirmRemoval(base::TRunMode mode) override;
    [[nodiscard]] TBrowserCloseAnswer CloseRefusingBrowser(base::TRunMode mode, const browsers::TBrowser& browser,
                                                           const std::string& notice) override;

    platform::Platform& machine_;
    ui::TControlFactory& controls_;
    TStartSwitch startSwitch_;
    std::string optionsPath_;
    std::vector<ui::TNodeId> viewNodes_;
    ui::TMenuItem* miSaveLog_ = nullptr;
    ui::TMenuItem* miPopupSaveLog_ = nullptr;
    bool closed_ = false;
    bool startUpCleanPosted_ = false;
    // The log's lines are drawn in the background colour (the pre-scan's).
    bool logHidden_ = false;
    // The progress shows "Finished!": the animation stops.
    bool finishedShown_ = false;
    // winapp2.ini entries whose warning the user accepted by ticking them.
    std::set<std::string> acceptedWarnings_;
};

}  // namespace nullvane::app
