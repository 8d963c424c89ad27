// Reads arbitrary bytes as a jump list: first as a DestList stream, then as
// a compound file whose DestList stream is read in turn. No crash, no read
// outside the bytes (the sanitizer watches buffers of exactly the input's
// size), and every answer consistent: a readable list never counts more
// pins than entries, a damaged one always says why.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/sim/SimCompoundFile.h"
#include "stores/DestList.h"

namespace {

void Check(std::string_view stream) {
    const nullvane::stores::TDestListPins pins = nullvane::stores::ReadDestListPins(stream);
    if (pins.Readable) {
        if (pins.Entries < 0 || pins.Pinned < 0 || pins.Pinned > pins.Entries) std::abort();
    } else if (pins.Reason.empty()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes);
    auto stream = nullvane::platform::sim::ReadCompoundFileStream(bytes, "DestList");
    if (stream) {
        if (stream->size() > bytes.size()) std::abort();  // a stream is never larger than its file
        Check(*stream);
    } else if (stream.Error() != nullvane::platform::seInvalidData &&
               stream.Error() != nullvane::platform::seFileNotFound) {
        std::abort();
    }
    return 0;
}
