#include "stores/DestList.h"

#include <algorithm>
#include <cstdint>

namespace nullvane::stores {

namespace {

constexpr size_t kHeaderSize = 32;
// Entries of format version 1 (Windows 7) hold the path's length at 112;
// later versions add 16 bytes before it and 4 bytes after the path.
constexpr size_t kPinAt = 108;
constexpr size_t kPathLengthAtV1 = 112;
constexpr size_t kPathLengthAtV2 = 128;
constexpr size_t kTrailerV2 = 4;
constexpr uint32_t kUnpinned = 0xFFFFFFFFu;
// A list keeps far fewer; more is no list Windows wrote.
constexpr uint32_t kMostEntries = 100000;

uint32_t Le32(std::string_view bytes, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

uint16_t Le16(std::string_view bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
}

TDestListPins Damaged(const char* reason) {
    TDestListPins pins;
    pins.Reason = reason;
    return pins;
}

}  // namespace

TDestListPins ReadDestListPins(std::string_view stream) {
    TDestListPins pins;
    if (stream.empty()) {
        pins.Readable = true;
        return pins;
    }
    if (stream.size() < kHeaderSize) return Damaged("the DestList stream ends inside its header");
    const uint32_t version = Le32(stream, 0);
    if (version < 1 || version > 4) return Damaged("the DestList stream has an unknown format version");
    const uint32_t entries = Le32(stream, 4);
    const uint32_t pinnedInHeader = Le32(stream, 8);
    if (entries > kMostEntries || pinnedInHeader > entries) return Damaged("the DestList header counts more entries than it can hold");
    const size_t lengthAt = version == 1 ? kPathLengthAtV1 : kPathLengthAtV2;
    const size_t trailer = version == 1 ? 0 : kTrailerV2;
    size_t at = kHeaderSize;
    int pinned = 0;
    for (uint32_t i = 0; i < entries; ++i) {
        if (stream.size() - at < lengthAt + 2) return Damaged("the DestList stream ends inside an entry");
        if (Le32(stream, at + kPinAt) != kUnpinned) ++pinned;
        const size_t entrySize = lengthAt + 2 + size_t{Le16(stream, at + lengthAt)} * 2 + trailer;
        if (stream.size() - at < entrySize) return Damaged("the DestList stream ends inside an entry's path");
        at += entrySize;
    }
    pins.Readable = true;
    pins.Entries = static_cast<int>(entries);
    pins.Pinned = std::max(pinned, static_cast<int>(pinnedInHeader));
    return pins;
}

}  // namespace nullvane::stores
