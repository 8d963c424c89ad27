#pragma once
// A simulated machine with a run over it, for the removal operations.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/sim/SimMachine.h"
#include "run/RecordingLogSink.h"
#include "base/RunContext.h"
#include "base/RunOptions.h"

namespace nullvane::testing {

class RemovalFixture : public ::testing::Test {
protected:
    // A run in the given mode with the options as the test set them.
    base::TRunContext& Run(base::TRunMode mode) {
        run_ = std::make_unique<base::TRunContext>(sim.Machine(), mode, mainWindow, log, Options);
        run_->LogPrefix = mode == base::rmTest ? "Test: " : "Clean: ";
        return *run_;
    }

    // The run the last Run() made.
    base::TRunContext& LastRun() { return *run_; }

    bool Exists(const std::string& path) { return sim.files().Exists(path); }
    std::string Read(const std::string& path) { return sim.files().ReadAll(path).ValueOr("<missing>"); }

    // What the runs read of the settings; Fast Mode off so that detail lines show.
    base::TRunOptions Options = [] {
        base::TRunOptions options;
        options.FastScan = false;
        return options;
    }();
    platform::sim::SimMachine sim;
    platform::WindowId mainWindow = sim.desktop().RegisterWindow("TfrmMain");
    TRecordingLogSink log;

private:
    std::unique_ptr<base::TRunContext> run_;
};

}  // namespace nullvane::testing
