#include "indexdat/BlockReader.h"

#include <cstring>

namespace nullvane::indexdat {

TBlockReader::TBlockReader(TByteFile& file) : file_(file), length_(file.Length()) {
    const int64_t blocks = (length_ + kBlockSize - 1) / kBlockSize;
    slots_.resize(static_cast<size_t>(blocks < 1 ? 1 : blocks < kSlotCount ? blocks : kSlotCount));
}

const uint8_t* TBlockReader::Block(int64_t index) {
    TSlot& slot = slots_[static_cast<size_t>(index % static_cast<int64_t>(slots_.size()))];
    if (slot.index != index) {
        if (!slot.bytes) slot.bytes = std::make_unique<uint8_t[]>(kBlockSize);
        const size_t got = file_.ReadAt(index * kBlockSize, slot.bytes.get(), kBlockSize);
        // A file that shrank since it was opened reads as zeros from there on.
        std::memset(slot.bytes.get() + got, 0, static_cast<size_t>(kBlockSize) - got);
        slot.index = index;
    }
    return slot.bytes.get();
}

uint64_t TBlockReader::Unsigned(int64_t offset, int width) {
    uint64_t value = 0;
    const int64_t within = offset & (kBlockSize - 1);
    if (offset >= 0 && offset + width <= length_ && within + width <= kBlockSize) {
        const uint8_t* bytes = Block(offset >> kBlockShift) + within;
        for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[i];
        return value;
    }
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | Byte(offset + i);
    return value;
}

bool TBlockReader::HasTag(int64_t offset, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        if (Byte(offset + i) != static_cast<uint8_t>(tag[i])) return false;
    }
    return true;
}

void TBlockReader::ReadText(int64_t offset, std::string& text) {
    text.clear();
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
