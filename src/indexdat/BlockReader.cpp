#include "indexdat/BlockReader.h"

#include <cstring>

namespace nullvane::indexdat {

TBlockReader::TBlockReader(TByteFile& file, int64_t slotCount)
    : file_(file), length_(file.Length()), slotMask_(slotCount - 1), slots_(static_cast<size_t>(slotCount)) {}

const uint8_t* TBlockReader::Load(TSlot& slot, int64_t index) {
    // Not zero-filled here: the read and the memset below cover every byte.
    if (!slot.bytes) slot.bytes.reset(new uint8_t[kBlockSize]);
    const size_t got = file_.ReadAt(index * kBlockSize, slot.bytes.get(), kBlockSize);
    // A file that shrank since it was opened reads as zeros from there on.
    std::memset(slot.bytes.get() + got, 0, static_cast<size_t>(kBlockSize) - got);
    slot.index = index;
    return slot.bytes.get();
}

uint64_t TBlockReader::Straddling(int64_t offset, int width) {
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | Byte(offset + i);
    return value;
}

void TBlockReader::AppendText(int64_t offset, std::string& text) {
    if (offset < 0) return;
    while (offset < length_) {
        const int64_t within = offset & (kBlockSize - 1);
        int64_t span = kBlockSize - within;
        if (span > length_ - offset) span = length_ - offset;
        const auto* start = reinterpret_cast<const char*>(Block(offset >> kBlockShift) + within);
        const auto* end = static_cast<const char*>(std::memchr(start, 0, static_cast<size_t>(span)));
        if (end != nullptr) {
            text.append(start, end);
            return;
        }
        text.append(start, static_cast<size_t>(span));
        offset += span;
    }
}

}  // namespace nullvane::indexdat
