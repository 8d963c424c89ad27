#pragma once
// What a run reads of the settings, taken when the run starts, so that the
// run thread never reads the settings record the window thread writes.
#include <set>
#include <string>

namespace nullvane::base {

struct TRunOptions {
    bool FastScan = true;  // no per-entry detail lines; the window may change it during the run
    bool OverwriteFile = false;
    int OverwriteNumber = 1;
    bool ShowLogRecycleBin = false;
    bool ShowLogTempInternetFiles = false;
    // A catalogue entry that carries a warning: asked (the window), or
    // decided beforehand (the command line: run with --yes, else not).
    enum TWarnedEntries { weAsk, weRun, weSkip };
    TWarnedEntries WarnedEntries = weAsk;
    // Entries (by name) whose warning the user accepted when ticking them:
    // not asked again.
    std::set<std::string> AcceptedWarnings;
};

}  // namespace nullvane::base
