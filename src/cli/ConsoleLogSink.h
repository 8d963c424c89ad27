#pragma once
// The run's log on standard output: one line per log line, in order.
#include <mutex>
#include <ostream>

#include "base/RunContext.h"

namespace nullvane::cli {

class TConsoleLogSink final : public run::TLogSink {
public:
    explicit TConsoleLogSink(std::ostream& out) : out_(out) {}

    void AddLine(const std::string& line) override {
        std::lock_guard<std::mutex> lock(mutex_);
        out_ << line << '\n';
    }
    void ScrollToEnd() override {
        std::lock_guard<std::mutex> lock(mutex_);
        out_.flush();
    }
    // The console shows no current item: the header line names it.
    void SetCurrentItem(const std::string& /*itemName*/) override {}

private:
    std::mutex mutex_;
    std::ostream& out_;
};

}  // namespace nullvane::cli
