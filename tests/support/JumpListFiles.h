#pragma once
// Jump-list files for tests: a DestList stream as Windows writes one, and a
// compound file (structured storage) holding streams, written byte by byte
// as the format lays them out, so the simulation's reader and the system's
// storage functions can both be given the same file.
#include <string>
#include <utility>
#include <vector>

namespace nullvane::testing {

struct TDestEntry {
    std::string Path;  // ASCII
    bool Pinned = false;
};

// A DestList of format `version` (1 as Windows 7 writes, 3 or 4 as Windows 10 and 11 do).
[[nodiscard]] std::string MakeDestList(int version, const std::vector<TDestEntry>& entries);

// A compound file (version 3, 512-byte sectors) whose root storage holds the
// streams; streams under 4096 bytes live in the mini stream, as the format asks.
[[nodiscard]] std::string MakeCompoundFile(const std::vector<std::pair<std::string, std::string>>& streams);

// An automatic jump list: its DestList and one numbered stream per entry.
[[nodiscard]] std::string MakeAutomaticJumpList(int version, const std::vector<TDestEntry>& entries);

}  // namespace nullvane::testing
