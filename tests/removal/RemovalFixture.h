#pragma once
// A simulated machine with a run over it, for the removal operations.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/sim/SimMachine.h"
#include "run/RecordingLogSink.h"
#include "base/RunContext.h"
#include "settings/OptionsSetting.h"

namespace nullvane::testing {

class RemovalFixture : public ::testing::Test {
protected:
    RemovalFixture() { settings::CurrentOptions = settings::TOptionsSetting{}; }
    ~RemovalFixture() override { settings::CurrentOptions = settings::TOptionsSetting{}; }

    // A run in the given mode; Fast Mode off so that detail lines show.
    run::TRunContext& Run(run::TRunMode mode) {
        settings::CurrentOptions.FastScan = false;
        run_ = std::make_unique<run::TRunContext>(sim.Machine(), mode, mainWindow, log,
                                                  settings::RunOptionsOf(settings::CurrentOptions));
        run_->LogPrefix = mode == run::rmTest ? "Test: " : "Clean: ";
        return *run_;
    }

    // The run the last Run() made.
    run::TRunContext& LastRun() { return *run_; }

    bool Exists(const std::string& path) { return sim.files().Exists(path); }
    std::string Read(const std::string& path) { return sim.files().ReadAll(path).ValueOr("<missing>"); }

    platform::sim::SimMachine sim;
    platform::WindowId mainWindow = sim.desktop().RegisterWindow("TfrmMain");
    TRecordingLogSink log;

private:
    std::unique_ptr<run::TRunContext> run_;
};

}  // namespace nullvane::testing
