#pragma once
// What a run offers its cleaners: mode, counters, log, cancel flag, progress.
#include <atomic>
#include <cstdint>
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

    // The terminate request.
    void Terminate() { terminated_.store(true); }
    [[nodiscard]] bool Terminated() const { return terminated_.load(); }

    // A file the run had to leave because another program holds it: logged,
    // and the run goes on but ends as finished with errors.
    void ReportFileInUse(const std::string& path);
    // Anything else the run had to leave undone: the line is logged, and the
    // run goes on but ends as finished with errors.
    void ReportError(const std::string& logLine);
    [[nodiscard]] bool FinishedWithErrors() const { return errors_.load() > 0; }

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
};

}  // namespace nullvane::base
