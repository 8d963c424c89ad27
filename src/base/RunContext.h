#pragma once
// What a run offers its cleaners: mode, counters, log, cancel flag, progress.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/Platform.h"
#include "base/RunOptions.h"

namespace nullvane::base {

enum TRunMode : int { rmClean = 0, rmUnattended = 1, rmTest = 2, rmCleanRequested = 3 };

// Messages private to the program, all posted with lParam 0.
inline constexpr uint32_t WM_AUTOCLEAN = 0x3407;
inline constexpr uint32_t WM_RUNFINISHED = 0x3409;
inline constexpr uint32_t WM_RUNPROGRESS = 0x3410;
inline constexpr uint32_t WM_STARTCLEANPASS = 0x3411;
inline constexpr uint32_t WM_SHOWMAINWINDOW = 0x3412;
inline constexpr uint32_t WM_TRAYICON = 0x3416;
// Ours: the run ended through an exception (no totals, no WM_RUNFINISHED).
inline constexpr uint32_t WM_RUNABORTED = 0x3420;

// The main window's log list as the run sees it. Every call comes from the
// run thread and returns once the window thread has done it.
class TLogSink {
public:
    virtual ~TLogSink() = default;
    virtual void AddLine(const std::string& line) = 0;
    virtual void ScrollToEnd() = 0;
    virtual void SetCurrentItem(const std::string& itemName) = 0;
};

class TRunContext {
public:
    TRunContext(platform::Platform& platform, TRunMode mode, platform::WindowId mainWindow, TLogSink& logBox,
                const TRunOptions& options = {});
    virtual ~TRunContext() = default;
    TRunContext(const TRunContext&) = delete;
    TRunContext& operator=(const TRunContext&) = delete;

    platform::Platform& Machine;
    // The settings as the run started; Fast Mode is read through FastScan().
    const TRunOptions Options;

    int32_t ItemCount = 0;
    // Of ItemCount, the files the system removes at the next restart.
    int32_t ItemScheduled = 0;
    // The user declined this item (its warning): what it leaves is no error
    // and not looked for after the Clean.
    bool ItemDeclined = false;
    // Per drive letter, whether overwriting before deleting can reach the
    // old data there; each drive is asked once per run.
    std::map<char, bool> OverwriteByVolume;
    std::string ItemSizeText = "0";
    uint64_t ItemBytes = 0;
    std::string ItemFolder;
    int64_t LastProgressTime = 0;  // SystemInfo::TickMs reading
    int32_t TotalItems = 0;
    uint64_t TotalBytes = 0;
    int32_t LogLineCounter = 0;
    std::string ResultVerb;
    platform::WindowId MainWindow = 0;
    TLogSink& LogBox;
    std::string LogPrefix;

    // The item's size: ItemBytes and its text in kilobytes.
    void SetItemBytes(uint64_t bytes);

    [[nodiscard]] TRunMode Mode() const { return mode_; }
    [[nodiscard]] bool IsTestRun() const { return mode_ == rmTest; }
    void AddLogLine(const std::string& text) { LogBox.AddLine(text); }

    // Fast Mode, which the window may switch while the run works.
    [[nodiscard]] bool FastScan() const { return fastScan_.load(std::memory_order_relaxed); }
    void SetFastScan(bool on) { fastScan_.store(on, std::memory_order_relaxed); }

    // The terminate request; a run that follows another stops with it too.
    void Terminate() { terminated_.store(true); }
    [[nodiscard]] bool Terminated() const { return terminated_.load() || (follows_ && follows_->Terminated()); }
    void FollowCancelOf(const TRunContext& other) { follows_ = &other; }

    // Why the run left a file it was to remove, for the report of what a
    // Clean left: `error` false for a rule's keep or a restart's removal.
    struct TLeftReason {
        std::string Text;
        bool Error = true;
    };
    void NoteLeft(const std::string& path, std::string reason, bool error = true);
    [[nodiscard]] const TLeftReason* LeftReasonOf(const std::string& path) const;
    // A file counted (found by a Test, removed by a Clean) with its size;
    // nothing by default.
    virtual void NoteEntry(const std::string& /*path*/, uint64_t /*size*/) {}
    // A file a rule keeps whole (pinned items, a kept cookie), with the
    // rule's words; nothing by default.
    virtual void NoteKept(const std::string& /*path*/, const std::string& /*reason*/) {}

    // A file the run had to leave because another program holds it: logged,
    // noted as left, and the run goes on but ends as finished with errors.
    void ReportFileInUse(const std::string& path);
    // Anything else the run had to leave undone: the line is logged, and the
    // run goes on but ends as finished with errors.
    void ReportError(const std::string& logLine);
    [[nodiscard]] bool FinishedWithErrors() const { return errors_.load() > 0; }
    // Entries found after the Clean for reasons other than a keep rule or
    // a restart: the run then ends as finished with errors.
    void AddLeftEntries(int32_t count) {
        LeftEntries += count;
        if (count > 0) errors_.fetch_add(1);
    }
    int32_t LeftEntries = 0;

    // Told at every progress step of the run (each file counted), on the
    // run's thread; the command line's progress line listens.
    std::function<void(const TRunContext& run)> ProgressHeard;
    // Posts WM_RUNPROGRESS with `count` when more than 2 seconds have passed
    // since LastProgressTime.
    void PostProgressIfDue(int32_t count);
    void PostProgress(int32_t count);
    // The same with the item's own count, or with the run's earlier items too.
    void PostItemProgressIfDue() { PostProgressIfDue(ItemCount); }
    void PostItemProgress() { PostProgress(ItemCount); }
    void PostRunProgressIfDue() { PostProgressIfDue(TotalItems + ItemCount); }

private:
    TRunMode mode_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> fastScan_;
    std::atomic<int32_t> errors_{0};
    const TRunContext* follows_ = nullptr;
    std::map<std::string, TLeftReason> leftReasons_;
};

}  // namespace nullvane::base
