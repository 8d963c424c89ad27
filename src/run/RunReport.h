#pragma once
// What a finished run did, item by item, for a report a script reads.
#include <cstdint>
#include <string>
#include <vector>

#include "run/LeftAfterClean.h"

namespace nullvane::run {

struct TItemResult {
    std::string Name;
    int32_t Entries = 0;
    uint64_t Bytes = 0;
    // The files it found or removed, when the run was asked to keep them.
    std::vector<std::string> Paths;
};

struct TRunReport {
    std::vector<TItemResult> Items;
    // A Clean's look for what it left, item by item (empty for a Test).
    std::vector<TLeftItem> Left;
    int32_t TotalEntries = 0;
    uint64_t TotalBytes = 0;
};

}  // namespace nullvane::run
