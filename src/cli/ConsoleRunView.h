#pragma once
// The run as nullvane-cli shows it: log lines on standard output in order,
// refusals on standard error, the clean's confirmation on the console
// (unless --yes), and how the run ended kept for the exit status.
#include <istream>
#include <ostream>
#include <string>

#include "cli/CliTexts.h"
#include "cli/ConsoleDialogs.h"
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

    void AddLogLine(const std::string& line) override {
        if (ShowLog) out_ << line << '\n';
    }
    void RunReported(const run::TRunReport& report) override { Report = report; }
    void ScrollLogToEnd() override { out_.flush(); }
    // The console shows no current item: the header line names it.
    void ShowCurrentItem(const std::string& /*itemName*/) override {}
    void RunStarting(run::TRunPhase /*phase*/, base::TRunMode /*mode*/) override {}
    void RunProgress(int32_t /*count*/, std::optional<int> /*perMille*/) override {}
    void RunEnded(run::TRunEnd end, const std::string& reason) override {
        End = end;
        Reason = reason;
    }
    void RunRefused(run::TStartOutcome why, const std::string& message) override {
        // Nothing ticked is told in the command line's own words.
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
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    bool yes_;
};

}  // namespace nullvane::cli
