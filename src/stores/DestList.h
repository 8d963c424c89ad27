#pragma once
// The DestList stream of an automatic jump list: its entries, each with
// whether the user pinned it. Read from bytes another program wrote, so
// every length and count is checked against the bytes.
#include <string>
#include <string_view>

namespace nullvane::stores {

struct TDestListPins {
    bool Readable = false;  // false: the stream is damaged, Reason says how
    int Entries = 0;
    int Pinned = 0;         // entries pinned, or the header's count if higher
    std::string Reason;
};

// An empty stream is a list with no entries (Windows writes one so).
[[nodiscard]] TDestListPins ReadDestListPins(std::string_view stream);

}  // namespace nullvane::stores
