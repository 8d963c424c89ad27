#pragma once
// The run as nullvane-cli shows it: log lines on standard output in order,
// refusals on standard error, the clean's confirmation on the console
// (unless --yes), and how the run ended kept for the exit status.
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "cli/CliTexts.h"
#include "cli/ConsoleDialogs.h"
#include "base/FormatKilobytes.h"
#include "base/Texts.h"
#include "run/BrowserClosing.h"
#include "run/RunController.h"

namespace nullvane::cli {

class TConsoleRunView final : public run::TRunView {
public:
    TConsoleRunView(std::istream& in, std::ostream& out, std::ostream& err, bool yes)
        : in_(in), out_(out), err_(err), yes_(yes) {}

    // --close-browsers: a refusing browser is asked to close, without a question.
    platform::Platform* CloseBrowsersOn = nullptr;

    run::TRunEnd End = run::TRunEnd::Finished;
    std::string Reason;
    // --json: the log is not written; the report is kept for the document.
    bool ShowLog = true;
    run::TRunReport Report;

    // Standard error is a console: one line there tells the item, its
    // entries and the KB so far, redrawn at most every kProgressEveryMs,
    // cleared before any other output and at the end.
    platform::SystemInfo* ProgressClock = nullptr;
    static constexpr int64_t kProgressEveryMs = 100;

    void AddLogLine(const std::string& line) override {
        if (!ShowLog) return;
        ClearProgress();
        out_ << line << '\n';
    }
    void RunWorking(int32_t entries, uint64_t bytes) override { DrawProgress(entries, bytes); }
    void RunReported(const run::TRunReport& report) override { Report = report; }
    void ScrollLogToEnd() override { out_.flush(); }
    // The log's header line names the item; the progress line does too.
    void ShowCurrentItem(const std::string& itemName) override {
        item_ = itemName;
        DrawProgress(0, bytes_);
    }
    void RunStarting(run::TRunPhase /*phase*/, base::TRunMode /*mode*/) override {}
    void RunProgress(int32_t /*count*/, std::optional<int> /*perMille*/) override {}
    void RunEnded(run::TRunEnd end, const std::string& reason) override {
        ClearProgress();
        End = end;
        Reason = reason;
    }
    void RunRefused(run::TStartOutcome why, const std::string& message) override {
        // Nothing ticked is told in the command line's own words.
        ClearProgress();
        if (why != run::TStartOutcome::NothingTicked) err_ << "nullvane-cli: " << message << '\n';
    }
    [[nodiscard]] bool ConfirmRemoval(base::TRunMode /*mode*/) override {
        return yes_ || AskYesOnConsole(in_, out_, texts::kCliConfirmClean);
    }
    [[nodiscard]] TBrowserCloseAnswer CloseRefusingBrowser(base::TRunMode /*mode*/, const browsers::TBrowser& browser,
                                                           const std::string& /*notice*/) override {
        if (!CloseBrowsersOn) return bcNotOffered;
        if (run::CloseBrowser(*CloseBrowsersOn, browser, run::SleepUntil)) return bcClosed;
        err_ << "nullvane-cli: " << browser.Name << base::texts::kStillRunning << '\n';
        return bcStillRunning;
    }

private:
    void DrawProgress(int32_t entries, uint64_t bytes) {
        bytes_ = bytes;
        if (!ProgressClock) return;
        const int64_t now = ProgressClock->TickMs();
        if (lastDraw_ && now - *lastDraw_ < kProgressEveryMs) return;
        lastDraw_ = now;
        std::string text = item_ + ": " + std::to_string(entries) + " entries; " + base::FormatKilobytes(bytes) + " KB";
        const size_t width = text.size();
        if (width < drawn_) text.append(drawn_ - width, ' ');
        err_ << '\r' << text << std::flush;
        drawn_ = width;
    }
    void ClearProgress() {
        if (drawn_ == 0) return;
        err_ << '\r' << std::string(drawn_, ' ') << '\r' << std::flush;
        drawn_ = 0;
    }

    std::string item_;
    uint64_t bytes_ = 0;
    size_t drawn_ = 0;  // the width of the line shown, 0 when none is
    std::optional<int64_t> lastDraw_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    bool yes_;
};

}  // namespace nullvane::cli
