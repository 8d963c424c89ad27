#include "run/ClearTaskThread.h"

#include <algorithm>
#include <exception>

#include "run/Dispatch.h"
#include "run/LeftAfterClean.h"
#include "winapp2/Winapp2Catalogue.h"
#include "base/FormatKilobytes.h"
#include "base/Texts.h"

namespace nullvane::run {

TClearTaskThread::TClearTaskThread(platform::Platform& platform, base::TRunMode mode, platform::WindowId mainWindow,
                                   base::TLogSink& logBox, std::vector<std::string> itemNames,
                                   const base::TRunOptions& options)
    : base::TRunContext(platform, mode, mainWindow, logBox, options),
      ItemNames(std::move(itemNames)),
      Dispatch(DispatchItem) {
    ResultVerb = IsTestRun() ? base::texts::kWillBeRemoved : base::texts::kToBeRemoved;
    LogPrefix = std::string(IsTestRun() ? base::texts::kTest : base::texts::kClean) + ": ";
}

TClearTaskThread::~TClearTaskThread() {
    Terminate();
    // Its owner frees it from another thread (the run controller keeps it
    // until then): destroyed here, the run would go on in freed memory.
    if (OnItsThread()) std::terminate();
    if (thread_.joinable()) {
        // Its last step past Execute: nothing touches the object any more,
        // but the thread cannot wait for itself.
        if (thread_.get_id() == std::this_thread::get_id()) {
            thread_.detach();
        } else {
            thread_.join();
        }
    }
}

void TClearTaskThread::Start() {
    thread_ = std::thread([this] { Execute(); });
}

void TClearTaskThread::WaitFor() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

std::string TClearTaskThread::AbortReason() const {
    return aborted_.load() ? abortReason_ : std::string();
}

void TClearTaskThread::Execute() {
    executing_.store(std::this_thread::get_id());
    try {
        RunItems();
    } catch (const std::exception& error) {
        abortReason_ = error.what();
        aborted_.store(true);
    } catch (...) {
        abortReason_ = "unknown error";
        aborted_.store(true);
    }
    if (aborted_.load()) {
        try {
            endPosted_.store(true);
            Post(base::WM_RUNABORTED, TotalItems);
        } catch (...) {
            // Nothing more can be told; the flag still says so.
        }
    }
    executing_.store(std::thread::id());
    finished_.store(true);
}

void TClearTaskThread::RunItems() {
    const std::string separator(kSeparatorLength, '-');
    if (auto summary = winapp2::TakeFirstRunSummary()) {
        AddLogLine(*summary);
        AddLogLine(separator);
    }
    for (size_t i = 0; i < ItemNames.size(); ++i) {
        if (Terminated()) return;
        const std::string& name = ItemNames[i];
        Machine.ui.Synchronize([this] { BeginItem(); });
        LogBox.SetCurrentItem(name);
        if (i > 0) AddLogLine(separator);
        AddLogLine(LogPrefix + base::texts::kClearing + " " + name + " ...");
        Report.Items.push_back(TItemResult{name});
        Dispatch(*this, name);
        Machine.ui.Synchronize([this] { EndItem(); });
        if (ItemDeclined) declined_.push_back(name);
        Report.Items.back().Entries = ItemCount;
        Report.Items.back().Bytes = ItemBytes;
    }
    // Cancelled during the last item: no totals either.
    if (Terminated()) return;
    AddLogLine(separator);
    if (IsTestRun()) {
        AddLogLine(base::texts::kTotalItemsWillBeRemoved + std::to_string(TotalItems) + " ; " +
                   base::texts::kTotalFilesWillBeRemoved + base::FormatKilobytes(TotalBytes) + " KB");
    } else {
        AddLogLine(base::texts::kTotalItemsToBeRemoved + std::to_string(TotalItems) + " ; " +
                   base::texts::kTotalFilesToBeRemoved + base::FormatKilobytes(TotalBytes) + " KB");
    }
    AddLogLine(separator);
    // What the Clean left, by a quiet Test of the same items; nothing when
    // it was cancelled meanwhile.
    if (!IsTestRun()) {
        std::vector<std::string> looked;
        for (const std::string& name : ItemNames)
            if (std::find(declined_.begin(), declined_.end(), name) == declined_.end()) looked.push_back(name);
        Report.Left = FindLeftAfterClean(*this, looked, Dispatch);
        if (Terminated()) return;
        if (ReportLeftAfterClean(*this, Report.Left)) AddLogLine(separator);
    }
    Report.TotalEntries = TotalItems;
    Report.TotalBytes = TotalBytes;
    endPosted_.store(true);
    Post(base::WM_RUNFINISHED, TotalItems);
}

void TClearTaskThread::BeginItem() {
    ItemCount = 0;
    ItemScheduled = 0;
    ItemDeclined = false;
    ItemSizeText = "0";
    ItemBytes = 0;
    ItemFolder.clear();
    LastProgressTime = Machine.system.TickMs();
    LogLineCounter = 0;
}

void TClearTaskThread::EndItem() {
    AddLogLine("");
    std::string summary = std::to_string(ItemCount) + " " + base::texts::kItems + " " + ResultVerb + "; " + ItemSizeText +
                          " KB " + ResultVerb + ".";
    if (ItemScheduled > 0)
        summary += " " + std::to_string(ItemScheduled) + base::texts::kWaitForRestart;
    AddLogLine(summary);
    AddLogLine("");
    LogBox.ScrollToEnd();
    TotalItems += ItemCount;
    TotalBytes += ItemBytes;
    Post(base::WM_RUNPROGRESS, TotalItems);
}

void TClearTaskThread::NoteEntry(const std::string& path, uint64_t /*size*/) {
    if (KeepEntryPaths && !Report.Items.empty()) Report.Items.back().Paths.push_back(path);
}

void TClearTaskThread::Post(uint32_t message, int32_t wParam) {
    Machine.desktop.PostToWindow(MainWindow, message, static_cast<uintptr_t>(static_cast<intptr_t>(wParam)), 0);
}

}  // namespace nullvane::run
