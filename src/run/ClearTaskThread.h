#pragma once
// The run: one pass over a list of item names on a thread of its own.
//
// For each name it resets the item's counters on the window thread
// (BeginItem), writes the header, lets the dispatch table run the cleaner,
// then writes the summary and adds to the totals on the window thread
// (EndItem), posting WM_RUNPROGRESS. After the last item it writes the
// totals and posts WM_RUNFINISHED. A terminate request stops it before the
// next item, without totals or WM_RUNFINISHED.
//
// An exception that leaves a cleaner (or a synchronised call) ends the run
// at that item: no later item runs, no totals are written and, instead of
// WM_RUNFINISHED, WM_RUNABORTED is posted (wParam = the items counted so
// far), so the main window can leave its running state. No exception leaves
// the thread.
//
// The creator owns the object (not self-deleting). Destroying it requests
// termination and waits for the thread: the window thread must therefore
// only destroy it once Finished() is true (after WM_RUNFINISHED or
// WM_RUNABORTED, or after pumping its messages until then), since the run
// may be waiting in a synchronised call for the window thread. It is never
// destroyed on its own thread while it runs (OnItsThread): that ends the
// process rather than let the run go on in freed memory.
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/RunContext.h"
#include "run/RunReport.h"

namespace nullvane::run {

inline constexpr size_t kSeparatorLength = 107;

class TClearTaskThread : public base::TRunContext {
public:
    using TDispatcher = std::function<void(base::TRunContext& run, const std::string& itemName)>;

    // ResultVerb and LogPrefix follow the mode; the creator may still set
    // LogPrefix before starting.
    TClearTaskThread(platform::Platform& platform, base::TRunMode mode, platform::WindowId mainWindow,
                     base::TLogSink& logBox, std::vector<std::string> itemNames,
                     const base::TRunOptions& options = {});
    ~TClearTaskThread() override;

    std::vector<std::string> ItemNames;
    // Selects and runs an item's cleaner; the dispatch table unless replaced
    // before the run starts.
    TDispatcher Dispatch;

    // Each item's count and size, and what a Clean left; read once Finished().
    TRunReport Report;
    // The paths of the files each item counts go into the report too.
    bool KeepEntryPaths = false;
    void NoteEntry(const std::string& path, uint64_t size) override;

    // Runs Execute on a new thread.
    void Start();
    // The run itself, on the calling thread (the command line runs it inline
    // on its window thread).
    void Execute();
    // Waits until the thread has ended (not on the window thread while the
    // run may still make synchronised calls).
    void WaitFor();

    // The run has ended, one way or another.
    [[nodiscard]] bool Finished() const { return finished_.load(); }
    // The run ended through an exception; AbortReason holds its message.
    [[nodiscard]] bool Aborted() const { return aborted_.load(); }
    [[nodiscard]] std::string AbortReason() const;
    // The run has posted its end (WM_RUNFINISHED or WM_RUNABORTED): an end
    // message is this run's own only once this is true.
    [[nodiscard]] bool EndPosted() const { return endPosted_.load(); }
    // The calling thread is running the run now (its own thread, or the
    // caller of an inline Execute): the one place it must not be destroyed.
    [[nodiscard]] bool OnItsThread() const { return executing_.load() == std::this_thread::get_id(); }

private:
    void RunItems();
    void BeginItem();
    void EndItem();
    void Post(uint32_t message, int32_t wParam);

    std::thread thread_;
    std::atomic<bool> finished_{false};
    std::atomic<bool> aborted_{false};
    std::atomic<bool> endPosted_{false};
    std::atomic<std::thread::id> executing_{};
    std::string abortReason_;  // written before aborted_ is set
    std::vector<std::string> declined_;  // items the user declined, not looked at after the Clean
};

}  // namespace nullvane::run
