#pragma once
// The parts of the index.dat layout that the reader and the wiper use. All
// integers are little-endian 32-bit values, compared as signed numbers.
#include <cstdint>

namespace nullvane::indexdat {

// File header.
inline constexpr int64_t kFileHeaderSize = 32;      // the wipe never writes into it
inline constexpr int64_t kRecordedSizeOffset = 28;  // F: every offset is compared with it
inline constexpr int64_t kFirstTableOffset = 32;    // 0: no hash table

// Hash table header.
inline constexpr const char* kHashTag = "HASH";
inline constexpr int64_t kTableBlocksOffset = 4;  // N, in 128-byte blocks
inline constexpr int64_t kNextTableOffset = 8;    // 0 ends the chain
inline constexpr int64_t kTableHeaderSize = 16;   // the entries start here

// Hash entry.
inline constexpr int64_t kEntrySize = 8;
inline constexpr int64_t kEntryRecordOffset = 4;

// Records.
inline constexpr const char* kUrlTag = "URL ";
inline constexpr const char* kLeakTag = "LEAK";
inline constexpr const char* kRedirectTag = "REDR";
inline constexpr int64_t kUrlTimeOffset = 16;       // "URL " and "LEAK"
inline constexpr int64_t kUrlTextByteOffset = 52;   // one byte: where the URL text starts
inline constexpr int64_t kRedirectTimeOffset = 8;   // "REDR"
inline constexpr int64_t kRedirectTextOffset = 16;  // "REDR"

// Entries in a table of `blocks` 128-byte blocks: (N x 128 - 16) div 8,
// truncated toward zero (16 x N - 2; so 0 blocks gives -2).
[[nodiscard]] constexpr int64_t TableEntryCount(int32_t blocks) {
    return (static_cast<int64_t>(blocks) * 128 - kTableHeaderSize) / kEntrySize;
}

}  // namespace nullvane::indexdat
