#include "base/RunContext.h"

#include "base/FormatKilobytes.h"
#include "base/Texts.h"

namespace nullvane::base {

TRunContext::TRunContext(platform::Platform& platform, TRunMode mode, platform::WindowId mainWindow,
                         TLogSink& logBox, const TRunOptions& options)
    : Machine(platform), Options(options), MainWindow(mainWindow), LogBox(logBox), mode_(mode),
      fastScan_(options.FastScan) {}

void TRunContext::PostProgressIfDue(int32_t count) {
    if (ProgressHeard) ProgressHeard(*this);
    int64_t now = Machine.system.TickMs();
    if (now - LastProgressTime > 2000) {
        LastProgressTime = now;
        PostProgress(count);
    }
}

void TRunContext::SetItemBytes(uint64_t bytes) {
    ItemBytes = bytes;
    ItemSizeText = FormatKilobytes(bytes);
}

void TRunContext::ReportFileInUse(const std::string& path) {
    NoteLeft(path, texts::kReasonInUse);
    ReportError(std::string(texts::kFileInUse) + path);
}

void TRunContext::NoteLeft(const std::string& path, std::string reason, bool error) {
    // Only a removing run leaves anything; what a Test meets is not a reason.
    if (IsTestRun()) return;
    leftReasons_[path] = TLeftReason{std::move(reason), error};
}

const TRunContext::TLeftReason* TRunContext::LeftReasonOf(const std::string& path) const {
    auto it = leftReasons_.find(path);
    return it == leftReasons_.end() ? nullptr : &it->second;
}

void TRunContext::ReportError(const std::string& logLine) {
    errors_.fetch_add(1);
    AddLogLine(logLine);
}

void TRunContext::PostProgress(int32_t count) {
    Machine.desktop.PostToWindow(MainWindow, WM_RUNPROGRESS, static_cast<uintptr_t>(count), 0);
}

}  // namespace nullvane::base
