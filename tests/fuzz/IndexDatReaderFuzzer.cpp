// Lists arbitrary bytes as an index.dat: no crash, no hang, no read outside
// the bytes (the sanitizer watches the buffer, which has exactly the input's
// size), progress forward only and within 0..100.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "indexdat/ByteFile.h"
#include "indexdat/IndexDatReader.h"
#include "indexdat/IndexDatTime.h"

namespace {

using namespace nullvane::indexdat;

class TCheckedProgress final : public TIndexDatProgress {
public:
    [[nodiscard]] int Position() const override { return position_; }
    void SetPosition(int percent) override {
        if (percent < 0 || percent > 100) std::abort();
        if (percent <= position_ && percent != 100) std::abort();
        position_ = percent;
    }

private:
    int position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    TMemoryByteFile file(bytes);
    TCheckedProgress progress;
    TIndexDatTimeFormat format{static_cast<int32_t>(size % 1500) - 750, nullptr};
    size_t listed = 0;
    WalkIndexDatUrls(
        file,
        [&](std::string_view url, uint64_t timeStamp) {
            if (url.empty() || url.find('\0') != std::string_view::npos) std::abort();
            if (format.TimeText(timeStamp).empty()) std::abort();
            ++listed;
        },
        &progress);
    // At most one listed record per hash entry, and entries lie inside the file.
    if (listed > size / 8 + 1) std::abort();
    if (progress.Position() != 100) std::abort();
    return 0;
}
