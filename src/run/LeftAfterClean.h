#pragma once
// What a Clean left: a quiet Test of the same items after the removing pass
// (no log of its own), each file it still finds given the reason the Clean
// met for it, or "reappeared" when the Clean never met it (a running
// program wrote it again), and the blocks the log shows after the totals.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/RunContext.h"

namespace nullvane::run {

struct TLeftEntry {
    std::string Path;
    std::string Reason;
};

struct TLeftItem {
    std::string Name;
    int32_t Entries = 0;  // files found again, and files a rule keeps whole
    uint64_t Bytes = 0;
    // Of Entries, those left for a reason other than a keep rule or a restart.
    int32_t Errors = 0;
    std::vector<TLeftEntry> Listed;  // the first kMaxLeftListed
};

inline constexpr size_t kMaxLeftListed = 20;

using TItemDispatcher = std::function<void(base::TRunContext& run, const std::string& itemName)>;

// The quiet Test of `names` after the Clean `clean`, items with nothing left
// included; empty when the Clean was cancelled, before or during the Test.
// An item whose Test fails is passed over.
[[nodiscard]] std::vector<TLeftItem> FindLeftAfterClean(base::TRunContext& clean, const std::vector<std::string>& names,
                                                        const TItemDispatcher& dispatch);
// Logs a block per item with entries left ("Left after the Clean: N entries;
// X KB", then "PATH: REASON" lines) and adds their errors to the run. True
// when anything was written.
bool ReportLeftAfterClean(base::TRunContext& clean, const std::vector<TLeftItem>& items);

}  // namespace nullvane::run
