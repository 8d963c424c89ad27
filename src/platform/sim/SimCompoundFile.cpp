#include "platform/sim/SimCompoundFile.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Text.h"

namespace nullvane::platform::sim {

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr uint32_t kNoStream = 0xFFFFFFFFu;
constexpr size_t kHeaderSize = 512;
constexpr size_t kHeaderFatEntries = 109;
constexpr size_t kEntrySize = 128;
constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Thrown inside the reader for bytes it cannot follow; never leaves it.
struct TDamaged {};

uint32_t Le32(std::string_view bytes, size_t at) {
    if (at > bytes.size() || bytes.size() - at < 4) throw TDamaged{};
    return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

uint16_t Le16(std::string_view bytes, size_t at) {
    if (at > bytes.size() || bytes.size() - at < 2) throw TDamaged{};
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
}

class TCompoundFile {
public:
    explicit TCompoundFile(std::string_view bytes) : bytes_(bytes) {
        if (bytes.size() < kHeaderSize) throw TDamaged{};
        for (size_t i = 0; i < sizeof kSignature; ++i)
            if (static_cast<uint8_t>(bytes[i]) != kSignature[i]) throw TDamaged{};
        const uint16_t sectorShift = Le16(bytes, 0x1E);
        const uint16_t miniShift = Le16(bytes, 0x20);
        if ((sectorShift != 9 && sectorShift != 12) || miniShift != 6) throw TDamaged{};
        sectorSize_ = size_t{1} << sectorShift;
        miniCutoff_ = Le32(bytes, 0x38);
        sectors_ = (bytes.size() + sectorSize_ - 1) / sectorSize_ - 1;  // the header takes the first
        ReadFat(Le32(bytes, 0x2C), Le32(bytes, 0x44), Le32(bytes, 0x48));
        directory_ = Chain(Le32(bytes, 0x30), fat_, sectorSize_, [&](uint32_t sector) { return Sector(sector); });
        miniFat_ = ToEntries(Chain(Le32(bytes, 0x3C), fat_, sectorSize_, [&](uint32_t sector) { return Sector(sector); }));
        if (directory_.size() < kEntrySize || static_cast<uint8_t>(directory_[66]) != 5) throw TDamaged{};
        // The root entry's stream is the mini stream that small streams live in.
        miniStream_ = Chain(Le32(directory_, 116), fat_, sectorSize_, [&](uint32_t sector) { return Sector(sector); });
    }

    // The stream's bytes, or nothing when the root storage has no such stream.
    std::optional<std::string> Stream(std::string_view name) {
        const size_t entries = directory_.size() / kEntrySize;
        // The root's children form a tree through their siblings; each entry
        // is visited at most once, so a tree that loops ends.
        std::vector<bool> seen(entries, false);
        std::vector<uint32_t> pending{Le32(directory_, 76)};
        while (!pending.empty()) {
            const uint32_t index = pending.back();
            pending.pop_back();
            if (index == kNoStream) continue;
            if (index >= entries || seen[index]) throw TDamaged{};
            seen[index] = true;
            const size_t at = index * kEntrySize;
            pending.push_back(Le32(directory_, at + 68));
            pending.push_back(Le32(directory_, at + 72));
            if (directory_[at + 66] != 2 || !EqualsIgnoreCase(NameOf(at), name)) continue;
            return Contents(at);
        }
        return std::nullopt;
    }

private:
    std::string_view Sector(uint32_t sector) const {
        if (sector >= sectors_) throw TDamaged{};
        const size_t at = (size_t{sector} + 1) * sectorSize_;
        return bytes_.substr(at, std::min(sectorSize_, bytes_.size() - at));
    }

    std::vector<uint32_t> ToEntries(const std::string& bytes) const {
        std::vector<uint32_t> entries(bytes.size() / 4);
        for (size_t i = 0; i < entries.size(); ++i) entries[i] = Le32(bytes, i * 4);
        return entries;
    }

    void ReadFat(uint32_t fatSectors, uint32_t difatSector, uint32_t difatSectors) {
        if (fatSectors > sectors_) throw TDamaged{};
        std::vector<uint32_t> locations;
        for (size_t i = 0; i < kHeaderFatEntries && locations.size() < fatSectors; ++i)
            locations.push_back(Le32(bytes_, 0x4C + i * 4));
        // Further locations in a chain of DIFAT sectors, each ending with the next one's number.
        for (uint32_t n = 0; locations.size() < fatSectors; ++n) {
            if (n >= difatSectors || n > sectors_) throw TDamaged{};
            const std::string_view sector = Sector(difatSector);
            const size_t slots = sectorSize_ / 4 - 1;
            for (size_t i = 0; i < slots && locations.size() < fatSectors; ++i) locations.push_back(Le32(sector, i * 4));
            difatSector = Le32(sector, slots * 4);
        }
        std::string fat;
        for (uint32_t location : locations) fat.append(Sector(location));
        fat_ = ToEntries(fat);
    }

    // The bytes of a chain of sectors (or mini sectors), as many as the chain
    // has; a chain longer than the table, or leaving it, is damage.
    template <class TSectorOf>
    std::string Chain(uint32_t start, const std::vector<uint32_t>& table, size_t unit, TSectorOf sectorOf) const {
        std::string out;
        for (uint32_t sector = start, steps = 0; sector != kEndOfChain; ++steps) {
            if (sector >= table.size() || steps > table.size()) throw TDamaged{};
            out.append(sectorOf(sector));
            if (out.size() > bytes_.size() + unit) throw TDamaged{};  // a chain that loops
            sector = table[sector];
        }
        return out;
    }

    std::string NameOf(size_t at) const {
        const uint16_t length = Le16(directory_, at + 64);
        if (length < 2 || length > 64 || length % 2 != 0) throw TDamaged{};
        std::u16string name;
        for (size_t i = 0; i + 2 < length; i += 2) name.push_back(static_cast<char16_t>(Le16(directory_, at + i)));
        return Utf16ToUtf8(name);
    }

    std::string Contents(size_t at) const {
        const uint32_t start = Le32(directory_, at + 116);
        const uint64_t size = Le32(directory_, at + 120) | (sectorSize_ == 512 ? 0 : uint64_t{Le32(directory_, at + 124)} << 32);
        if (size > bytes_.size()) throw TDamaged{};
        std::string out;
        if (size < miniCutoff_) {
            if (size > 0)
                out = Chain(start, miniFat_, 64, [&](uint32_t sector) {
                    const size_t from = size_t{sector} * 64;
                    if (from >= miniStream_.size()) throw TDamaged{};
                    return std::string_view(miniStream_).substr(from, 64);
                });
        } else {
            out = Chain(start, fat_, sectorSize_, [&](uint32_t sector) { return Sector(sector); });
        }
        if (out.size() < size) throw TDamaged{};
        out.resize(static_cast<size_t>(size));
        return out;
    }

    std::string_view bytes_;
    size_t sectorSize_ = 512;
    uint32_t miniCutoff_ = 4096;
    size_t sectors_ = 0;
    std::vector<uint32_t> fat_;
    std::vector<uint32_t> miniFat_;
    std::string directory_;
    std::string miniStream_;
};

}  // namespace

TResult<std::string> ReadCompoundFileStream(std::string_view bytes, std::string_view streamName) {
    try {
        TCompoundFile file(bytes);
        auto stream = file.Stream(streamName);
        if (!stream) return TResult<std::string>::Failure(seFileNotFound);
        return std::move(*stream);
    } catch (const TDamaged&) {
        return TResult<std::string>::Failure(seInvalidData);
    }
}

}  // namespace nullvane::platform::sim
