#pragma once
// Random access to the bytes of a file: what the index.dat reader and wiper
// work on, so that the same code runs on a platform file, on a buffer in
// memory (tests, fuzzing) and in both builds.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/FileSystem.h"

namespace nullvane::indexdat {

class TByteFile {
public:
    virtual ~TByteFile() = default;
    TByteFile() = default;
    TByteFile(const TByteFile&) = delete;
    TByteFile& operator=(const TByteFile&) = delete;

    // The length of the file when it was opened.
    [[nodiscard]] virtual int64_t Length() const = 0;
    // Up to `count` bytes at `offset`: fewer at the end of the file, none
    // before its start or beyond its end.
    [[nodiscard]] virtual size_t ReadAt(int64_t offset, void* buffer, size_t count) = 0;
    // Writes inside the file only; a write that would reach beyond the end
    // writes nothing. True if every byte was written.
    virtual bool WriteAt(int64_t offset, const void* buffer, size_t count) = 0;
};

// A buffer owned by the caller; the buffer never grows.
class TMemoryByteFile final : public TByteFile {
public:
    explicit TMemoryByteFile(std::span<uint8_t> bytes) : bytes_(bytes) {}
    [[nodiscard]] int64_t Length() const override { return static_cast<int64_t>(bytes_.size()); }
    [[nodiscard]] size_t ReadAt(int64_t offset, void* buffer, size_t count) override;
    bool WriteAt(int64_t offset, const void* buffer, size_t count) override;

private:
    std::span<uint8_t> bytes_;
};

// An open platform file. The length is taken once, when this is made.
class TPlatformByteFile final : public TByteFile {
public:
    explicit TPlatformByteFile(platform::FileHandle& file);
    [[nodiscard]] int64_t Length() const override { return length_; }
    [[nodiscard]] size_t ReadAt(int64_t offset, void* buffer, size_t count) override;
    bool WriteAt(int64_t offset, const void* buffer, size_t count) override;

private:
    bool MoveTo(int64_t offset);

    platform::FileHandle& file_;
    int64_t length_ = 0;
    int64_t position_ = -1;  // where the handle stands, -1 when unknown
};

}  // namespace nullvane::indexdat
