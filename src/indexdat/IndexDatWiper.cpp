#include "indexdat/IndexDatWiper.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_set>

#include "indexdat/IndexDatLayout.h"

namespace nullvane::indexdat {

namespace {

int32_t ReadInt32(TByteFile& file, int64_t offset) {
    uint8_t bytes[4] = {};
    (void)file.ReadAt(offset, bytes, sizeof bytes);
    return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

bool HasHashTag(TByteFile& file, int64_t offset) {
    char tag[4] = {};
    return file.ReadAt(offset, tag, sizeof tag) == sizeof tag && std::memcmp(tag, kHashTag, 4) == 0;
}

}  // namespace

int WipePassCount(bool overwriteFile, int overwriteNumber) {
    return std::clamp(overwriteFile ? overwriteNumber : 0, 1, 3);
}

void WipeIndexDatPass(TByteFile& file, uint8_t fill) {
    std::array<uint8_t, kWipeBufferSize> buffer;
    buffer.fill(fill);
    const int32_t recordedSize = ReadInt32(file, kRecordedSizeOffset);
    // The recorded size bounds every write; so does the real length, since the
    // file must never grow.
    const int64_t limit = std::min<int64_t>(recordedSize, file.Length());

    std::unordered_set<int32_t> visited;
    for (int32_t table = ReadInt32(file, kFirstTableOffset);
         table != 0 && table <= recordedSize && visited.insert(table).second;) {
        if (!HasHashTag(file, table)) break;
        // Slots that would begin inside the file header belong to no table.
        if (table + kTableHeaderSize < kFileHeaderSize) break;
        const int32_t next = ReadInt32(file, table + kNextTableOffset);
        int64_t position = static_cast<int64_t>(table) + kTableHeaderSize;
        const int64_t spanEnd = next != 0 ? next : recordedSize;
        const int64_t span = spanEnd - position;

        for (int64_t whole = span / kWipeBufferSize; whole > 0; --whole) {
            if (position + kWipeBufferSize > limit) break;
            file.WriteAt(position, buffer.data(), buffer.size());
            position += kWipeBufferSize;
        }
        if (position + kWipeBufferSize <= limit) {
            if (span > 0 && span % kWipeBufferSize > 0) {
                file.WriteAt(position, buffer.data(), static_cast<size_t>(span % kWipeBufferSize));
            }
        } else {
            // The tail up to F, but never into the next table's header.
            const int64_t tail = std::min(limit, spanEnd) - position;
            if (tail > 0) file.WriteAt(position, buffer.data(), static_cast<size_t>(tail));
        }
        table = next;
    }
}

void WipeIndexDat(platform::FileSystem& files, platform::SystemInfo& system, const std::string& fileName,
                  const run::TRunOptions& options) {
    try {
        if (!files.Exists(fileName)) return;
        system.Randomize();
        const int passes = WipePassCount(options.OverwriteFile, options.OverwriteNumber);
        for (int pass = 1; pass <= passes; ++pass) {
            platform::FilePtr handle =
                files.Open(fileName, platform::OpenMode::ReadWrite, platform::ShareMode::ReadWrite);
            if (!handle) return;
            const auto fill = pass < passes ? static_cast<uint8_t>(system.Random(255)) : uint8_t{0};
            TPlatformByteFile file(*handle);
            WipeIndexDatPass(file, fill);
            handle->Flush();
        }
    } catch (...) {
        // A failing wipe ends silently; the callers log and count for themselves.
    }
}

}  // namespace nullvane::indexdat
