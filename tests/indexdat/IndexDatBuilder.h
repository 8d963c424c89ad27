#pragma once
// Builds index.dat images byte by byte for tests, benchmarks and fuzz seeds:
// a file header, hash tables and records placed where the caller says.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace nullvane::indexdat::testing {

class TIndexDatBuilder {
public:
    static constexpr int32_t kFirstTable = 0x4000;

    // A file of `size` bytes (at least a header) whose recorded size F is
    // `size`, with no table.
    explicit TIndexDatBuilder(size_t size = 0x8000) : bytes_(size < 64 ? 64 : size, 0) {
        const char signature[] = "Client UrlCache MMF Ver 5.2";
        std::memcpy(bytes_.data(), signature, sizeof signature);
        RecordedSize(static_cast<int32_t>(bytes_.size()));
    }

    std::vector<uint8_t>& Bytes() { return bytes_; }
    [[nodiscard]] std::string Image() const { return std::string(bytes_.begin(), bytes_.end()); }

    TIndexDatBuilder& RecordedSize(int32_t size) { return Int32(28, size); }
    TIndexDatBuilder& FirstTable(int32_t offset) { return Int32(32, offset); }

    // A table header; entries follow at offset + 16.
    TIndexDatBuilder& Table(int64_t offset, int32_t blocks, int32_t next, std::string_view tag = "HASH") {
        Raw(offset, tag.substr(0, 4));
        Int32(offset + 4, blocks);
        return Int32(offset + 8, next);
    }
    TIndexDatBuilder& Entry(int64_t table, int index, int32_t record, uint8_t hashLow = 0x80) {
        const int64_t at = table + 16 + int64_t{8} * index;
        bytes_.at(static_cast<size_t>(at)) = hashLow;
        return Int32(at + 4, record);
    }
    // A "URL " or "LEAK" record with its text at `textOffset` inside the record.
    TIndexDatBuilder& UrlRecord(int64_t offset, std::string_view tag, uint64_t timeStamp, std::string_view url,
                                uint8_t textOffset = 0x68) {
        Raw(offset, tag.substr(0, 4));
        Int64(offset + 16, timeStamp);
        bytes_.at(static_cast<size_t>(offset + 52)) = textOffset;
        if (textOffset != 0) Text(offset + textOffset, url);
        return *this;
    }
    TIndexDatBuilder& RedirectRecord(int64_t offset, uint64_t timeStamp, std::string_view url) {
        Raw(offset, "REDR");
        Int64(offset + 8, timeStamp);
        return Text(offset + 16, url);
    }

    TIndexDatBuilder& Int32(int64_t offset, int32_t value) { return Little(offset, static_cast<uint32_t>(value), 4); }
    TIndexDatBuilder& Int64(int64_t offset, uint64_t value) { return Little(offset, value, 8); }
    TIndexDatBuilder& Raw(int64_t offset, std::string_view bytes) {
        for (size_t i = 0; i < bytes.size(); ++i) {
            bytes_.at(static_cast<size_t>(offset) + i) = static_cast<uint8_t>(bytes[i]);
        }
        return *this;
    }
    // The text and its terminating zero, cut at the end of the file.
    TIndexDatBuilder& Text(int64_t offset, std::string_view text) {
        for (size_t i = 0; i <= text.size() && static_cast<size_t>(offset) + i < bytes_.size(); ++i) {
            bytes_[static_cast<size_t>(offset) + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
        }
        return *this;
    }

private:
    TIndexDatBuilder& Little(int64_t offset, uint64_t value, int width) {
        for (int i = 0; i < width; ++i) {
            bytes_.at(static_cast<size_t>(offset) + i) = static_cast<uint8_t>(value >> (8 * i));
        }
        return *this;
    }

    std::vector<uint8_t> bytes_;
};

// A FILETIME (100 ns ticks since 1601-01-01 UTC) from Unix seconds.
constexpr uint64_t FileTimeFromUnix(int64_t seconds) {
    return static_cast<uint64_t>(seconds + 11'644'473'600LL) * 10'000'000ULL;
}

}  // namespace nullvane::indexdat::testing
