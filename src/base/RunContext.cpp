#include "base/RunContext.h"

#include "base/FormatKilobytes.h"
#include "base/Texts.h"

namespace nullvane::base {

TRunContext::TRunContext(platform::Platform& platform, TRunMode mode, platform::WindowId mainWindow,
                         TLogSink& logBox, const TRunOptions& options)
    : Machine(platform), Options(options), MainWindow(mainWindow), LogBox(logBox), mode_(mode),
      fastScan_(options.FastScan) {}

void TRunContext::PostProgressIfDue(int32_t count) {
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

void TRunContext::ReportFileInUse(const std::string& path) { ReportError(std::string(texts::kFileInUse) + path); }

void TRunContext::ReportError(const std::string& logLine) {
    errors_.fetch_add(1);
    AddLogLine(logLine);
}

void TRunContext::PostProgress(int32_t count) {
    Machine.desktop.PostToWindow(MainWindow, WM_RUNPROGRESS, static_cast<uintptr_t>(count), 0);
}

}  // namespace nullvane::base
