#pragma once
// Reads a TByteFile through a cache of large blocks, so that walking an
// index.dat costs one file read per 64 KiB instead of one per field. Bytes
// outside the file read as zero: a field that lies beyond the end of the file
// is 0, and a text ends there.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "indexdat/ByteFile.h"

namespace nullvane::indexdat {

class TBlockReader {
public:
    static constexpr int kBlockShift = 16;
    static constexpr int64_t kBlockSize = int64_t{1} << kBlockShift;
    // Direct-mapped slots: at most kSlotCount blocks (64 MiB) stay in memory.
    static constexpr int64_t kSlotCount = 1024;

    explicit TBlockReader(TByteFile& file);

    [[nodiscard]] int64_t Length() const { return length_; }

    [[nodiscard]] uint8_t Byte(int64_t offset) {
        if (offset < 0 || offset >= length_) return 0;
        return Block(offset >> kBlockShift)[offset & (kBlockSize - 1)];
    }
    // Little-endian fields.
    [[nodiscard]] int32_t Int32(int64_t offset) { return static_cast<int32_t>(Unsigned(offset, 4)); }
    [[nodiscard]] uint64_t UInt64(int64_t offset) { return Unsigned(offset, 8); }
    // True if the four bytes at `offset` are `tag` (four characters).
    [[nodiscard]] bool HasTag(int64_t offset, const char* tag);
    // The text at `offset` up to a zero byte or the end of the file.
    void ReadText(int64_t offset, std::string& text);

private:
    struct TSlot {
        int64_t index = -1;
        std::unique_ptr<uint8_t[]> bytes;
    };

    [[nodiscard]] uint64_t Unsigned(int64_t offset, int width);
    // The block with this index, zero-filled beyond the end of the file.
    const uint8_t* Block(int64_t index);

    TByteFile& file_;
    int64_t length_;
    std::vector<TSlot> slots_;
};

}  // namespace nullvane::indexdat
