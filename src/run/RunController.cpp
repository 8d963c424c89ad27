#include "run/RunController.h"

#include <algorithm>

#include "base/Texts.h"
#include "run/BrowserCheck.h"
#include "run/RemovingRunLock.h"

namespace nullvane::run {

// The run's view of the log. Every call waits until the driving thread has
// done it; once detached (the run was cancelled or replaced, or the
// controller is going away) the calls still wait but change nothing.
class TRunController::TRunLogSink final : public base::TLogSink {
public:
    TRunLogSink(platform::UiThread& ui, TRunView& view) : ui_(ui), view_(&view) {}
    // Driving thread only.
    void Detach() { view_ = nullptr; }

    void AddLine(const std::string& line) override {
        ui_.Synchronize([&] {
            if (view_) view_->AddLogLine(line);
        });
    }
    void ScrollToEnd() override {
        ui_.Synchronize([&] {
            if (view_) view_->ScrollLogToEnd();
        });
    }
    void SetCurrentItem(const std::string& itemName) override {
        ui_.Synchronize([&] {
            if (view_) view_->ShowCurrentItem(itemName);
        });
    }

private:
    platform::UiThread& ui_;
    TRunView* view_;
};

int TRunController::TQuietDialogs::ShowMessage(const std::string&, const std::string&, uint32_t flags) {
    switch (flags & 0xF) {
    case platform::mbYesNo:
    case platform::mbYesNoCancel:
        return platform::idNo;
    case platform::mbOkCancel:
        return platform::idCancel;
    default:
        return platform::idOk;
    }
}

TRunController::TRunController(platform::Platform& machine, const TCleanItemTree& tree, TRunView& view)
    : machine_(machine), quietMachine_(platform::WithDialogs(machine, quietDialogs_)), tree_(tree), view_(view) {}

TRunController::~TRunController() {
    TerminateAll();
    FreeEndedRuns();
    for (auto& kept : retired_) {
        // A run stuck past every wait (a question still open): the process
        // is ending, so it is left to the system rather than waited for.
        (void)kept.task.release();
        (void)new std::shared_ptr<TRunLogSink>(kept.sink);
    }
}

void TRunController::Refuse(TStartOutcome why, const std::string& message) {
    // A refusal box pumps messages too: a timer's start request meanwhile
    // must not stack a second box on it.
    asking_ = true;
    view_.RunRefused(why, message);
    asking_ = false;
}

TStartOutcome TRunController::CheckStart(base::TRunMode mode, std::vector<std::string>& names, bool quiet) {
    if (phase_ != TRunPhase::Idle || asking_) return TStartOutcome::Busy;
    names = tree_.CollectTickedItems();
    if (names.empty()) {
        // An unattended clean with nothing ticked ends quietly.
        if (mode != base::rmUnattended && !quiet) Refuse(TStartOutcome::NothingTicked, base::texts::kSelectItemsFirst);
        return TStartOutcome::NothingTicked;
    }
    // Each browser the view closes is looked at again, and the next one after
    // it; one that still refuses after it closed is not offered twice.
    std::vector<const browsers::TBrowser*> closed;
    for (auto refusal = BrowserRefusal(tree_, machine_, mode); refusal; refusal = BrowserRefusal(tree_, machine_, mode)) {
        TRunView::TBrowserCloseAnswer answer = TRunView::bcNotOffered;
        if (!quiet && refusal->Browser &&
            std::find(closed.begin(), closed.end(), refusal->Browser) == closed.end()) {
            closed.push_back(refusal->Browser);
            asking_ = true;
            answer = view_.CloseRefusingBrowser(mode, *refusal->Browser, refusal->Text);
            asking_ = false;
        }
        if (answer == TRunView::bcClosed) continue;
        if (answer == TRunView::bcNotOffered && !quiet) Refuse(TStartOutcome::BrowserOpen, refusal->Text);
        return TStartOutcome::BrowserOpen;
    }
    if (mode != base::rmTest) {
        if (!quiet) {
            // The question may pump messages: start requests meanwhile are ignored.
            asking_ = true;
            const bool yes = view_.ConfirmRemoval(mode);
            asking_ = false;
            if (!yes) return TStartOutcome::Declined;
        }
        removing_ = AcquireRemovingRun(machine_.locks);
        if (!removing_) {
            if (!quiet) Refuse(TStartOutcome::AnotherRunRemoving, base::texts::kAnotherRunRemoving);
            return TStartOutcome::AnotherRunRemoving;
        }
    }
    return TStartOutcome::Started;
}

TStartOutcome TRunController::RequestStart(base::TRunMode mode, const base::TRunOptions& options, bool quiet) {
    std::vector<std::string> names;
    const TStartOutcome outcome = CheckStart(mode, names, quiet);
    if (outcome != TStartOutcome::Started) return outcome;
    options_ = options;
    if (mode == base::rmCleanRequested) {
        // The pre-scan: an invisible Test in Fast Mode that counts the items.
        expectedItems_ = 0;
        Launch(TRunPhase::PreScan, base::rmTest, std::move(names), false);
    } else {
        Launch(mode == base::rmTest ? TRunPhase::Testing : TRunPhase::Removing, mode, std::move(names), false, quiet);
    }
    return TStartOutcome::Started;
}

TStartOutcome TRunController::RunHere(base::TRunMode mode, const base::TRunOptions& options) {
    std::vector<std::string> names;
    const TStartOutcome outcome = CheckStart(mode, names, false);
    if (outcome != TStartOutcome::Started) return outcome;
    options_ = options;
    Launch(mode == base::rmTest ? TRunPhase::Testing : TRunPhase::Removing, mode, std::move(names), true);
    // The view may have cancelled it from one of its lines: then it has ended already.
    if (phase_ != TRunPhase::Idle && current_) EndRun();
    return TStartOutcome::Started;
}

void TRunController::Launch(TRunPhase phase, base::TRunMode mode, std::vector<std::string> names, bool onThisThread,
                            bool quiet) {
    Retire();
    phase_ = phase;
    mode_ = mode;
    leftEntries_ = 0;
    base::TRunOptions options = options_;
    if (phase == TRunPhase::PreScan) options.FastScan = true;
    view_.RunStarting(phase, mode);
    sink_ = std::make_shared<TRunLogSink>(machine_.ui, view_);
    current_ = std::make_unique<TClearTaskThread>(quiet ? quietMachine_ : machine_, mode, onThisThread ? 0 : Window,
                                                  *sink_, std::move(names), options);
    if (Dispatcher) current_->Dispatch = Dispatcher;
    current_->KeepEntryPaths = KeepEntryPaths;
    // Only a run on this thread may call the view while it works.
    if (onThisThread)
        current_->ProgressHeard = [this](const base::TRunContext& run) {
            view_.RunWorking(run.ItemCount, run.TotalBytes + run.ItemBytes);
        };
    if (onThisThread) {
        current_->Execute();
    } else {
        current_->Start();
    }
}

void TRunController::Cancel() {
    if (phase_ == TRunPhase::Idle) return;
    if (current_) current_->Terminate();
    Retire();
    phase_ = TRunPhase::Idle;
    removing_.reset();
    view_.RunEnded(TRunEnd::Cancelled, {});
}

void TRunController::SetFastScan(bool on) {
    options_.FastScan = on;
    if (current_ && phase_ != TRunPhase::PreScan) current_->SetFastScan(on);
}

bool TRunController::HandleMessage(uint32_t message, int32_t wParam) {
    switch (message) {
    case base::WM_RUNPROGRESS:
        // A cancelled run may still report its last item; it no longer counts.
        if (phase_ == TRunPhase::Idle) return true;
        if (phase_ == TRunPhase::Removing && mode_ == base::rmClean && expectedItems_ != 0) {
            view_.RunProgress(wParam, static_cast<int>(static_cast<int64_t>(wParam) * 1000 / expectedItems_));
        } else {
            view_.RunProgress(wParam, std::nullopt);
        }
        return true;
    case base::WM_RUNFINISHED:
    case base::WM_RUNABORTED:
        // Only the current run's own end counts: the end of a run cancelled
        // and replaced meanwhile can arrive while the next one works.
        if (phase_ != TRunPhase::Idle && current_ && current_->EndPosted()) EndRun();
        return true;
    case base::WM_STARTCLEANPASS:
        // Cancelled between the pre-scan's end and this message: nothing is removed.
        if (phase_ == TRunPhase::PreScan && !current_) StartRemovingPass();
        return true;
    default:
        return false;
    }
}

void TRunController::EndRun() {
    if (current_->Aborted()) {
        const std::string reason = current_->AbortReason();
        Retire();
        phase_ = TRunPhase::Idle;
        removing_.reset();
        view_.RunEnded(TRunEnd::Aborted, reason);
        return;
    }
    if (phase_ == TRunPhase::PreScan) {
        // The count is in; the removing pass starts once this message is done.
        expectedItems_ = current_->TotalItems;
        Retire();
        machine_.desktop.PostToWindow(Window, base::WM_STARTCLEANPASS, 0, 0);
        return;
    }
    const bool withErrors = current_->FinishedWithErrors();
    leftEntries_ = current_->LeftEntries;
    view_.RunReported(current_->Report);
    Retire();
    phase_ = TRunPhase::Idle;
    removing_.reset();
    view_.RunEnded(withErrors ? TRunEnd::FinishedWithErrors : TRunEnd::Finished, {});
}

void TRunController::StartRemovingPass() {
    // The ticks as they are now: the user may have changed them meanwhile.
    std::vector<std::string> names = tree_.CollectTickedItems();
    if (names.empty()) {
        phase_ = TRunPhase::Idle;
        removing_.reset();
        view_.RunEnded(TRunEnd::Cancelled, {});
        Refuse(TStartOutcome::NothingTicked, base::texts::kSelectItemsFirst);
        return;
    }
    Launch(TRunPhase::Removing, base::rmClean, std::move(names), false);
}

void TRunController::Retire() {
    if (current_) {
        if (sink_) sink_->Detach();
        retired_.push_back({sink_, std::move(current_)});
        sink_.reset();
    }
    FreeEndedRuns();
}

void TRunController::FreeEndedRuns() {
    // Reached from a run's synchronised call that ran inline, the freeing
    // waits for the owner's next turn: a run is never freed on its own thread.
    if (std::this_thread::get_id() != owner_) return;
    std::erase_if(retired_, [](const TKeptRun& kept) { return kept.task->Finished() && !kept.task->OnItsThread(); });
}

void TRunController::TerminateAll() {
    if (current_) {
        current_->Terminate();
        Retire();
    }
    phase_ = TRunPhase::Idle;
    for (auto& kept : retired_) {
        kept.task->Terminate();
        kept.sink->Detach();
    }
}

bool TRunController::AllEnded() const {
    if (current_ && !current_->Finished()) return false;
    return std::all_of(retired_.begin(), retired_.end(), [](const TKeptRun& kept) { return kept.task->Finished(); });
}

}  // namespace nullvane::run
