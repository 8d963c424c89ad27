#include "indexdat/ByteFile.h"

#include <algorithm>
#include <cstring>

namespace nullvane::indexdat {

namespace {

// The part of [offset, offset + count) that lies inside a file of `length` bytes.
size_t Available(int64_t offset, size_t count, int64_t length) {
    if (offset < 0 || offset >= length) return 0;
    return static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), length - offset));
}

bool FitsInside(int64_t offset, size_t count, int64_t length) {
    return offset >= 0 && offset <= length && static_cast<uint64_t>(length - offset) >= count;
}

}  // namespace

size_t TMemoryByteFile::ReadAt(int64_t offset, void* buffer, size_t count) {
    const size_t got = Available(offset, count, Length());
    if (got > 0) std::memcpy(buffer, bytes_.data() + offset, got);
    return got;
}

bool TMemoryByteFile::WriteAt(int64_t offset, const void* buffer, size_t count) {
    if (!FitsInside(offset, count, Length())) return false;
    if (count > 0) std::memcpy(bytes_.data() + offset, buffer, count);
    return true;
}

TPlatformByteFile::TPlatformByteFile(platform::FileHandle& file) : file_(file) {
    const auto size = file_.Size();
    length_ = size ? static_cast<int64_t>(std::min<uint64_t>(*size, INT64_MAX)) : 0;
}

bool TPlatformByteFile::MoveTo(int64_t offset) {
    if (position_ == offset) return true;
    const auto moved = file_.Seek(offset, platform::SeekOrigin::Begin);
    position_ = moved ? static_cast<int64_t>(*moved) : -1;
    return position_ == offset;
}

size_t TPlatformByteFile::ReadAt(int64_t offset, void* buffer, size_t count) {
    const size_t wanted = Available(offset, count, length_);
    if (wanted == 0 || !MoveTo(offset)) return 0;
    size_t done = 0;
    while (done < wanted) {
        const size_t got = file_.Read(static_cast<uint8_t*>(buffer) + done, wanted - done);
        if (got == 0) break;
        done += got;
    }
    position_ = done == wanted ? offset + static_cast<int64_t>(done) : -1;
    return done;
}

bool TPlatformByteFile::WriteAt(int64_t offset, const void* buffer, size_t count) {
    if (!FitsInside(offset, count, length_) || !MoveTo(offset)) return false;
    const bool written = file_.Write(buffer, count).Succeeded();
    position_ = written ? offset + static_cast<int64_t>(count) : -1;
    return written;
}

}  // namespace nullvane::indexdat
