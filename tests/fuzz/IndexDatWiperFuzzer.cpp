// Wipes arbitrary bytes as an index.dat: no crash, no hang, no write at or
// beyond the recorded size F nor beyond the end of the file, and the file
// header (its first 32 bytes) never changes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "indexdat/ByteFile.h"
#include "indexdat/IndexDatWiper.h"

namespace {

using namespace nullvane::indexdat;

class TCheckedFile final : public TByteFile {
public:
    TCheckedFile(std::vector<uint8_t>& bytes, int64_t recordedSize) : inner_(bytes), recordedSize_(recordedSize) {}
    [[nodiscard]] int64_t Length() const override { return inner_.Length(); }
    [[nodiscard]] size_t ReadAt(int64_t offset, void* buffer, size_t count) override {
        return inner_.ReadAt(offset, buffer, count);
    }
    bool WriteAt(int64_t offset, const void* buffer, size_t count) override {
        const int64_t end = offset + static_cast<int64_t>(count);
        if (offset < 32 || end > recordedSize_ || end > Length() || count > kWipeBufferSize) std::abort();
        return inner_.WriteAt(offset, buffer, count);
    }

private:
    TMemoryByteFile inner_;
    int64_t recordedSize_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    int32_t recordedSize = 0;
    if (size >= 32) std::memcpy(&recordedSize, data + 28, 4);
    const uint8_t fill = size > 0 ? data[0] : 0x5A;
    for (uint8_t passFill : {fill, uint8_t{0}}) {
        TCheckedFile file(bytes, recordedSize);
        WipeIndexDatPass(file, passFill);
        if (bytes.size() != size) std::abort();
        if (size > 0 && std::memcmp(bytes.data(), data, size < 32 ? size : 32) != 0) std::abort();
    }
    return 0;
}
