#pragma once
// The report nullvane-cli --json prints instead of the log: one JSON
// document a script reads (the schema is in the command-line help).
#include <string>

#include "platform/SystemInfo.h"
#include "run/RunReport.h"

namespace nullvane::cli {

struct TJsonRun {
    std::string Kind;     // "preview" or "clean"
    std::string Started;  // ISO 8601, UTC
    std::string Ended;
    int Status = 0;       // the exit status
    bool Detail = false;  // the removed (or found) files' paths go in too
};

// The machine's clock now as ISO 8601 in UTC ("2026-12-09T21:30:05Z").
[[nodiscard]] std::string UtcTimestamp(platform::SystemInfo& system);

// The document, indented, without a final line break. A run that never
// started has no items.
[[nodiscard]] std::string JsonReport(const TJsonRun& run, const run::TRunReport& report);

}  // namespace nullvane::cli
