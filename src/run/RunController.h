#pragma once
// One run at a time, for the main window or the command line: the start
// checks, a Clean's invisible pre-scan and its removing pass, cancel, the
// run's posted messages, and the runs kept until their threads end. It holds
// no control: whoever shows the run implements TRunView and draws from the
// phase.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "browsers/BrowserTable.h"
#include "platform/Platform.h"
#include "run/CleanItemTree.h"
#include "run/ClearTaskThread.h"
#include "run/RunReport.h"

namespace nullvane::run {

enum class TRunPhase { Idle, Testing, PreScan, Removing };

enum class TStartOutcome {
    Started,
    Busy,                // a run is active (or its confirmation is open)
    NothingTicked,
    BrowserOpen,         // a ticked browser is open or holds its profile
    Declined,            // the confirmation was refused
    AnotherRunRemoving,  // another removing run of the user did not end in time
};

enum class TRunEnd { Finished, FinishedWithErrors, Aborted, Cancelled };

// What the controller tells whoever shows the run; every call comes on the
// thread that drives the controller.
class TRunView {
public:
    virtual ~TRunView() = default;
    // The run's log and the item it works on.
    virtual void AddLogLine(const std::string& line) = 0;
    virtual void ScrollLogToEnd() = 0;
    virtual void ShowCurrentItem(const std::string& itemName) = 0;
    // A run of `mode` enters `phase` (Testing, PreScan or Removing); its
    // thread starts right after.
    virtual void RunStarting(TRunPhase phase, base::TRunMode mode) = 0;
    // Items so far, and in a removing pass after a pre-scan the share of the
    // pre-scan's count, in thousandths (it may pass 1000).
    virtual void RunProgress(int32_t count, std::optional<int> perMille) = 0;
    // A run made on the caller's thread counted another entry: the current
    // item's entries and the run's bytes so far (finished items).
    virtual void RunWorking(int32_t /*entries*/, uint64_t /*bytes*/) {}
    // The phase is Idle again. `reason` is the error of an aborted run.
    virtual void RunEnded(TRunEnd end, const std::string& reason) = 0;
    // A run that finished (with or without errors) tells what it did, just
    // before RunEnded.
    virtual void RunReported(const TRunReport& /*report*/) {}
    // A start refused; `message` is the text for the user.
    virtual void RunRefused(TStartOutcome why, const std::string& message) = 0;
    // Whether a removing run of `mode` may go ahead.
    [[nodiscard]] virtual bool ConfirmRemoval(base::TRunMode mode) = 0;
    // A ticked browser of the browser table refuses a run of `mode` with
    // `notice`: the view may offer to close it (run::CloseBrowser). Not
    // offered, the notice is shown as any refusal; the other answers told
    // the user already.
    enum TBrowserCloseAnswer { bcNotOffered, bcDeclined, bcClosed, bcStillRunning };
    [[nodiscard]] virtual TBrowserCloseAnswer CloseRefusingBrowser(base::TRunMode /*mode*/,
                                                                   const browsers::TBrowser& /*browser*/,
                                                                   const std::string& /*notice*/) {
        return bcNotOffered;
    }
};

class TRunController {
public:
    TRunController(platform::Platform& machine, const TCleanItemTree& tree, TRunView& view);
    // Runs still working are told to stop; one that has not ended is left to
    // the system (see TerminateAll and AllEnded to wait for them first).
    ~TRunController();
    TRunController(const TRunController&) = delete;
    TRunController& operator=(const TRunController&) = delete;

    // The window the runs post their messages to; 0 for none.
    platform::WindowId Window = 0;
    // The runs started from now on keep the paths of the files they count
    // in their report.
    bool KeepEntryPaths = false;
    // Replaces the dispatch table of the runs started from now on (tests).
    TClearTaskThread::TDispatcher Dispatcher;

    [[nodiscard]] TRunPhase Phase() const { return phase_; }
    [[nodiscard]] bool Idle() const { return phase_ == TRunPhase::Idle; }
    // The mode of the run in progress, or of the last one.
    [[nodiscard]] base::TRunMode Mode() const { return mode_; }
    // The pre-scan's count, against which a removing pass shows progress.
    [[nodiscard]] int32_t ExpectedItems() const { return expectedItems_; }
    // Entries the last Clean left for reasons other than a keep rule or a
    // restart (its quiet Test after the removing pass).
    [[nodiscard]] int32_t LeftEntries() const { return leftEntries_; }
    // The run in progress, or nullptr.
    [[nodiscard]] const TClearTaskThread* Current() const { return current_.get(); }

    // Starts a run of `mode` on its own thread (rmTest, rmCleanRequested for
    // a pre-scan and its removing pass, rmUnattended); the run reports
    // through messages to Window, handed back through HandleMessage. A quiet
    // run waits for nobody (the end of the session): no confirmation, no
    // refusal box, and the run's own questions are answered No.
    TStartOutcome RequestStart(base::TRunMode mode, const base::TRunOptions& options, bool quiet = false);
    // The same checks, then the run on this thread, without a pre-scan
    // (the command line). The view has been told how it ended on return.
    TStartOutcome RunHere(base::TRunMode mode, const base::TRunOptions& options);
    void Cancel();
    // Fast Mode switched while a run may work: a visible run follows it, the
    // pre-scan stays in Fast Mode, a removing pass starts with it.
    void SetFastScan(bool on);
    // The run's messages (progress, end, the start of the removing pass);
    // false for any other message.
    bool HandleMessage(uint32_t message, int32_t wParam);

    // Tells every run to stop; they no longer reach the view.
    void TerminateAll();
    [[nodiscard]] bool AllEnded() const;

private:
    class TRunLogSink;
    struct TKeptRun {
        std::shared_ptr<TRunLogSink> sink;
        std::unique_ptr<TClearTaskThread> task;
    };

    TStartOutcome CheckStart(base::TRunMode mode, std::vector<std::string>& names, bool quiet);
    void Launch(TRunPhase phase, base::TRunMode mode, std::vector<std::string> names, bool onThisThread,
                bool quiet = false);
    void EndRun();
    void RunFinished();
    void StartRemovingPass();
    void Retire();
    void FreeEndedRuns();
    void Refuse(TStartOutcome why, const std::string& message);

    // Answers every question of a quiet run as No would.
    class TQuietDialogs final : public platform::Dialogs {
    public:
        [[nodiscard]] int ShowMessage(const std::string& text, const std::string& caption, uint32_t flags) override;
        [[nodiscard]] std::optional<std::string> SaveFile(const platform::FileDialogArgs&) override { return {}; }
        [[nodiscard]] std::optional<std::string> OpenFile(const platform::FileDialogArgs&) override { return {}; }
    };

    platform::Platform& machine_;
    TQuietDialogs quietDialogs_;
    platform::Platform quietMachine_;
    const TCleanItemTree& tree_;
    TRunView& view_;
    TRunPhase phase_ = TRunPhase::Idle;
    base::TRunMode mode_ = base::rmClean;
    int32_t expectedItems_ = 0;
    int32_t leftEntries_ = 0;
    bool asking_ = false;
    base::TRunOptions options_;
    std::shared_ptr<TRunLogSink> sink_;
    std::unique_ptr<TClearTaskThread> current_;
    std::vector<TKeptRun> retired_;
    // Held while a Clean (pre-scan and removing pass) or an unattended clean runs.
    std::unique_ptr<platform::SessionLockHold> removing_;
    // The thread that drives the controller: the only one that frees a run.
    const std::thread::id owner_ = std::this_thread::get_id();
};

}  // namespace nullvane::run
