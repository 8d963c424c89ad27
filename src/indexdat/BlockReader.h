#pragma once
// Reads a TByteFile through a cache of large blocks, so that walking an
// index.dat costs one file read per 64 KiB instead of one per field. Bytes
// outside the file read as zero: a field that lies beyond the end of the file
// is 0, and a text ends there.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "indexdat/ByteFile.h"

namespace nullvane::indexdat {

// Four characters as the little-endian value of their bytes.
[[nodiscard]] constexpr uint32_t TagValue(const char* tag) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(tag[i]);
    return value;
}

class TBlockReader {
public:
    static constexpr int kBlockShift = 16;
    static constexpr int64_t kBlockSize = int64_t{1} << kBlockShift;
    // Direct-mapped slots: at most kSlotCount blocks (64 MiB) stay in memory;
    // a slot's buffer is allocated when it is first used. A reader that only
    // moves forward through the file needs a few slots, which it reuses.
    static constexpr int64_t kSlotCount = 1024;

    // `slotCount` is a power of two.
    explicit TBlockReader(TByteFile& file, int64_t slotCount = kSlotCount);

    [[nodiscard]] int64_t Length() const { return length_; }

    [[nodiscard]] uint8_t Byte(int64_t offset) {
        if (offset < 0 || offset >= length_) return 0;
        return Block(offset >> kBlockShift)[offset & (kBlockSize - 1)];
    }
    // Little-endian fields.
    [[nodiscard]] int32_t Int32(int64_t offset) {
        const uint8_t* bytes = Inside(offset, 4);
        return static_cast<int32_t>(bytes != nullptr ? Compose(bytes, 4) : Straddling(offset, 4));
    }
    [[nodiscard]] uint64_t UInt64(int64_t offset) {
        const uint8_t* bytes = Inside(offset, 8);
        return bytes != nullptr ? Compose(bytes, 8) : Straddling(offset, 8);
    }
    // The four bytes at `offset` as one little-endian value, for comparing
    // signatures with TagValue.
    [[nodiscard]] uint32_t Tag(int64_t offset) { return static_cast<uint32_t>(Int32(offset)); }
    [[nodiscard]] bool HasTag(int64_t offset, const char* tag) { return Tag(offset) == TagValue(tag); }
    // Asks the processor to fetch the bytes at `offset` ahead of their use.
    void Prefetch(int64_t offset) {
        if (offset < 0 || offset >= length_) return;
#if defined(__GNUC__)
        __builtin_prefetch(Block(offset >> kBlockShift) + (offset & (kBlockSize - 1)));
#endif
    }
    // The `width` bytes at `offset` when they lie inside the file and inside
    // one block, else nullptr; valid until the next read.
    [[nodiscard]] const uint8_t* Span(int64_t offset, int width) { return Inside(offset, width); }
    // The text at `offset` up to a zero byte or the end of the file.
    void ReadText(int64_t offset, std::string& text) {
        text.clear();
        AppendText(offset, text);
    }
    // The same text, added to the end of `text`.
    void AppendText(int64_t offset, std::string& text);
    // The same text, seen where it lies when it ends inside its block (valid
    // until the next read), else read into `scratch`.
    [[nodiscard]] std::string_view TextView(int64_t offset, std::string& scratch) {
        if (offset >= 0 && offset < length_) {
            const int64_t within = offset & (kBlockSize - 1);
            const int64_t span = std::min(kBlockSize - within, length_ - offset);
            const auto* start = reinterpret_cast<const char*>(Block(offset >> kBlockShift) + within);
            if (const void* end = std::memchr(start, 0, static_cast<size_t>(span))) {
                return {start, static_cast<size_t>(static_cast<const char*>(end) - start)};
            }
        }
        scratch.clear();
        AppendText(offset, scratch);
        return scratch;
    }

private:
    struct TSlot {
        int64_t index = -1;
        std::unique_ptr<uint8_t[]> bytes;
    };

    // The bytes of a field that lies inside the file and inside one block,
    // else nullptr.
    const uint8_t* Inside(int64_t offset, int width) {
        const int64_t within = offset & (kBlockSize - 1);
        if (offset < 0 || offset > length_ - width || within > kBlockSize - width) return nullptr;
        return Block(offset >> kBlockShift) + within;
    }
    static uint64_t Compose(const uint8_t* bytes, int width) {
        uint64_t value = 0;
        for (int i = 0; i < width; ++i) value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
        return value;
    }
    // A field across a block boundary or the end of the file.
    [[nodiscard]] uint64_t Straddling(int64_t offset, int width);
    // The block with this index, zero-filled beyond the end of the file.
    const uint8_t* Block(int64_t index) {
        TSlot& slot = slots_[static_cast<size_t>(index & slotMask_)];
        return slot.index == index ? slot.bytes.get() : Load(slot, index);
    }
    const uint8_t* Load(TSlot& slot, int64_t index);

    TByteFile& file_;
    int64_t length_;
    int64_t slotMask_;
    std::vector<TSlot> slots_;
};

}  // namespace nullvane::indexdat
