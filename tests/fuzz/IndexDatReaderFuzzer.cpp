// Lists arbitrary bytes as an index.dat: no crash, no hang, no read outside
// the bytes (the sanitizer watches the buffer, which has exactly the input's
// size), progress forward only and within 0..100; the listing is the one the
// walk in hash order gives, and the ISO time texts are the plain conversion's.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
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
    std::vector<std::pair<std::string, uint64_t>> listed;
    TIsoTimeWriter writer(format.UtcOffsetMinutes);
    WalkIndexDatUrls(
        file,
        [&](std::string_view url, uint64_t timeStamp) {
            if (url.empty() || url.find('\0') != std::string_view::npos) std::abort();
            std::string written;
            writer.Append(written, timeStamp);
            const auto time = IndexDatTimeToLocalTime(timeStamp, format.UtcOffsetMinutes);
            if (written != (!time || IsZeroDateTime(*time) ? std::string(kTimeNotAvailable) : FormatIsoDateTime(*time))) {
                std::abort();
            }
            listed.emplace_back(url, timeStamp);
        },
        &progress);
    size_t inHashOrder = 0;
    WalkIndexDatUrlsInHashOrder(file, [&](std::string_view url, uint64_t timeStamp) {
        if (inHashOrder >= listed.size() || listed[inHashOrder].first != url || listed[inHashOrder].second != timeStamp) {
            std::abort();
        }
        ++inHashOrder;
    });
    if (inHashOrder != listed.size()) std::abort();
    // At most one listed record per hash entry, and entries lie inside the file.
    if (listed.size() > size / 8 + 1) std::abort();
    if (progress.Position() != 100) std::abort();
    return 0;
}
