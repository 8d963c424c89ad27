#include "indexdat/IndexDatReader.h"

#include <algorithm>
#include <iterator>
#include <tuple>
#include <utility>
#include <unordered_set>

#include "indexdat/BlockReader.h"
#include "indexdat/IndexDatLayout.h"
#include "indexdat/IndexDatTime.h"

namespace nullvane::indexdat {

namespace {

// T: the entries of every table in the chain, as their headers claim. This
// walk does not look at the signature.
int64_t CountEntries(TBlockReader& in, int32_t recordedSize, int32_t firstTable) {
    int64_t total = 0;
    std::unordered_set<int32_t> visited;
    for (int32_t table = firstTable; table != 0 && table <= recordedSize && visited.insert(table).second;) {
        total += TableEntryCount(in.Int32(table + kTableBlocksOffset));
        table = in.Int32(table + kNextTableOffset);
    }
    return total;
}

class TProgressMeter {
public:
    TProgressMeter(TIndexDatProgress* progress, int64_t total) : progress_(progress), total_(total) {}

    void EntryProcessed() {
        ++processed_;
        // A total of 0 or less gives no percentage; the bar then jumps to 100 at the end.
        if (progress_ == nullptr || total_ <= 0) return;
        const auto percent = static_cast<int>(std::min<int64_t>(processed_ * 100 / total_, 100));
        if (percent > progress_->Position()) progress_->SetPosition(percent);
    }

private:
    TIndexDatProgress* progress_;
    int64_t total_;
    int64_t processed_ = 0;
};

constexpr int64_t kPrefetchDistance = 16;

// Bytes read on their own, with the block reader's rule: bytes outside the
// file are zero.
void ReadBytes(TByteFile& file, int64_t offset, uint8_t* bytes, int width) {
    std::fill(bytes, bytes + width, uint8_t{0});
    const int64_t start = std::max<int64_t>(offset, 0);
    if (start < offset + width) {
        (void)file.ReadAt(start, bytes + (start - offset), static_cast<size_t>(offset + width - start));
    }
}

int32_t Int32At(const uint8_t* bytes) {
    return static_cast<int32_t>(uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
                                uint32_t{bytes[3]} << 24);
}

// A hash table's header, in one read.
struct TTableHeader {
    uint32_t Tag = 0;
    int32_t Blocks = 0;
    int32_t Next = 0;
};

TTableHeader ReadTableHeader(TByteFile& file, int32_t table) {
    uint8_t bytes[12];
    ReadBytes(file, table, bytes, 12);
    return {static_cast<uint32_t>(Int32At(bytes)), Int32At(bytes + kTableBlocksOffset), Int32At(bytes + kNextTableOffset)};
}

// Blocks the walk keeps in memory when the records lie near one another.
constexpr int64_t kNearbySlots = 16;

// True when reading the records in entry order through kNearbySlots blocks
// would load about as many blocks as the file has.
bool FewBlockLoadsInEntryOrder(const std::vector<int32_t>& records, int64_t length) {
    int64_t held[kNearbySlots];
    std::fill(std::begin(held), std::end(held), int64_t{-1});
    const int64_t allowed = length / TBlockReader::kBlockSize + 1 + kNearbySlots;
    int64_t loads = 0;
    for (const int32_t record : records) {
        const int64_t block = record >> TBlockReader::kBlockShift;
        int64_t& slot = held[block & (kNearbySlots - 1)];
        if (slot != block) {
            slot = block;
            if (++loads > allowed) return false;
        }
    }
    return true;
}

// The URL and time stamp of the record at `record`; false when it lists
// nothing. The text is valid until the next read of `in` or `scratch`.
// Inlined: the text it gives back then stays in registers instead of being
// stored and read back at once, which stalls.
[[gnu::always_inline]] inline bool ReadRecord(TBlockReader& in, int64_t record, std::string& scratch, std::string_view& text,
                uint64_t& timeStamp) {
    uint32_t tag = 0;
    uint8_t textOffset = 0;
    // Most records have their fixed fields inside one block: read them there.
    constexpr int kFixedFields = static_cast<int>(kUrlTextByteOffset) + 1;
    if (const uint8_t* fields = in.Span(record, kFixedFields)) {
        const auto field64 = [fields](int64_t at) {
            return static_cast<uint64_t>(static_cast<uint32_t>(Int32At(fields + at))) |
                   static_cast<uint64_t>(static_cast<uint32_t>(Int32At(fields + at + 4))) << 32;
        };
        tag = static_cast<uint32_t>(Int32At(fields));
        if (tag == TagValue(kUrlTag) || tag == TagValue(kLeakTag)) {
            timeStamp = field64(kUrlTimeOffset);
            textOffset = fields[kUrlTextByteOffset];
        } else if (tag == TagValue(kRedirectTag)) {
            timeStamp = field64(kRedirectTimeOffset);
        }
    } else {
        tag = in.Tag(record);
        if (tag == TagValue(kUrlTag) || tag == TagValue(kLeakTag)) {
            timeStamp = in.UInt64(record + kUrlTimeOffset);
            textOffset = in.Byte(record + kUrlTextByteOffset);
        } else if (tag == TagValue(kRedirectTag)) {
            timeStamp = in.UInt64(record + kRedirectTimeOffset);
        }
    }
    if (tag == TagValue(kUrlTag) || tag == TagValue(kLeakTag)) {
        if (textOffset == 0) return false;
        text = in.TextView(record + textOffset, scratch);
        return true;
    }
    if (tag == TagValue(kRedirectTag)) {
        text = in.TextView(record + kRedirectTextOffset, scratch);
        return true;
    }
    return false;
}

// Beyond this many entries the list of records would hold more memory than
// the file itself is worth; such a file is walked in hash order.
constexpr size_t kMostRecordsHeld = size_t{1} << 23;

}  // namespace

void WalkIndexDatUrlsInHashOrder(TByteFile& file, const TIndexDatUrlVisitor& visit, TIndexDatProgress* progress) {
    TBlockReader in(file);
    const int32_t recordedSize = in.Int32(kRecordedSizeOffset);
    const int32_t firstTable = in.Int32(kFirstTableOffset);
    TProgressMeter meter(progress, CountEntries(in, recordedSize, firstTable));

    // In a sound file the tables do not overlap, so there is at most one entry
    // per 8 bytes of the file; overlapping tables in a damaged file would
    // otherwise make the walk quadratic.
    int64_t entryBudget = in.Length() / kEntrySize + 1;
    std::string text;
    std::unordered_set<int32_t> visited;
    int32_t next = 0;
    for (int32_t table = firstTable; table != 0 && table <= recordedSize && visited.insert(table).second;
         table = next) {
        if (!in.HasTag(table, kHashTag)) break;
        const int64_t entries = TableEntryCount(in.Int32(table + kTableBlocksOffset));
        next = in.Int32(table + kNextTableOffset);
        for (int64_t k = 0; k < entries; ++k) {
            const int64_t entry = table + kTableHeaderSize + k * kEntrySize;
            if (entry >= in.Length()) break;
            if (--entryBudget < 0) {
                next = 0;
                break;
            }
            if (progress != nullptr) progress->ProcessOneMessage();
            meter.EntryProcessed();

            // Records lie anywhere in the file, in hash order: fetching the
            // record of a later entry now hides the memory latency.
            const int64_t ahead = entry + kPrefetchDistance * kEntrySize;
            if (k + kPrefetchDistance < entries) {
                const int32_t later = in.Int32(ahead + kEntryRecordOffset);
                in.Prefetch(later);
                in.Prefetch(static_cast<int64_t>(later) + 64);  // the URL text usually starts in the next line
            }

            const uint8_t hashLow = in.Byte(entry);
            if (hashLow == 1 || hashLow == 3) continue;  // an entry that points to no record
            const int32_t record = in.Int32(entry + kEntryRecordOffset);
            if (record >= recordedSize) continue;

            uint64_t timeStamp = 0;
            std::string_view url;
            if (ReadRecord(in, record, text, url, timeStamp) && !url.empty()) visit(url, timeStamp);
        }
    }
    if (progress != nullptr) progress->SetPosition(100);
}

// Two steps: the tables give the records in listing order; then the records
// are read, through as few blocks as their places in the file allow.
void WalkIndexDatUrls(TByteFile& file, const TIndexDatUrlVisitor& visit, TIndexDatProgress* progress,
                      const TIndexDatListingSize& listingSize) {
    const int64_t length = file.Length();
    uint8_t fileHeader[8];
    ReadBytes(file, kRecordedSizeOffset, fileHeader, 8);
    const int32_t recordedSize = Int32At(fileHeader);
    const int32_t firstTable = Int32At(fileHeader + (kFirstTableOffset - kRecordedSizeOffset));
    // The chain of tables, each header read once. The total of their entries
    // is only needed for a progress bar, so without one the chain is followed
    // as it is walked.
    std::vector<std::pair<int32_t, TTableHeader>> chain;
    int64_t total = 0;
    if (progress != nullptr) {
        std::unordered_set<int32_t> visited;
        for (int32_t table = firstTable; table != 0 && table <= recordedSize && visited.insert(table).second;) {
            const TTableHeader header = ReadTableHeader(file, table);
            chain.emplace_back(table, header);
            total += TableEntryCount(header.Blocks);
            table = header.Next;
        }
    }
    TProgressMeter meter(progress, total);

    // The entries, with the same limits as the walk in hash order.
    std::vector<int32_t> records;
    // Without a progress bar the total is not known: records take 128-byte
    // blocks, which bounds how many a sound file holds.
    constexpr int64_t kRecordBlock = 128;
    const int64_t expected = progress != nullptr ? total : length / kRecordBlock + 1;
    records.reserve(static_cast<size_t>(
        std::clamp<int64_t>(expected, 0, std::min<int64_t>(length / kEntrySize + 1, kMostRecordsHeld))));
    // A table is read with its header in one read when it is no larger than
    // the tables WinINet makes (4 KiB); the entries of larger ones follow in
    // chunks.
    constexpr int64_t kFirstRead = 4096;
    constexpr int64_t kChunkEntries = 8192;
    std::vector<uint8_t> chunk(static_cast<size_t>(std::max(kFirstRead, kChunkEntries * kEntrySize)));
    int64_t entryBudget = length / kEntrySize + 1;
    std::unordered_set<int32_t> visited;
    size_t chained = 0;
    int32_t next = firstTable;
    while (entryBudget > 0) {
        int32_t table = 0;
        if (progress != nullptr) {
            if (chained == chain.size()) break;
            table = chain[chained++].first;
        } else {
            table = next;
            if (table == 0 || table > recordedSize || !visited.insert(table).second) break;
        }
        ReadBytes(file, table, chunk.data(), static_cast<int>(kFirstRead));
        const TTableHeader header{static_cast<uint32_t>(Int32At(chunk.data())), Int32At(chunk.data() + kTableBlocksOffset),
                                  Int32At(chunk.data() + kNextTableOffset)};
        next = header.Next;
        if (header.Tag != TagValue(kHashTag)) break;
        const int64_t entries = TableEntryCount(header.Blocks);
        const int64_t first = table + kTableHeaderSize;
        // The entries in `chunk` start at this one; the first read holds the header too.
        int64_t chunkStart = 0;
        int64_t chunkEnd = (kFirstRead - kTableHeaderSize) / kEntrySize;
        const uint8_t* chunkEntries = chunk.data() + kTableHeaderSize;
        for (int64_t k = 0; k < entries; ++k) {
            const int64_t entry = first + k * kEntrySize;
            if (entry >= length) break;
            if (--entryBudget < 0) break;
            if (progress != nullptr) progress->ProcessOneMessage();
            meter.EntryProcessed();

            if (k >= chunkEnd) {
                const int64_t count = std::min({kChunkEntries, entries - k, (length - entry + kEntrySize - 1) / kEntrySize});
                ReadBytes(file, entry, chunk.data(), static_cast<int>(count * kEntrySize));
                chunkStart = k;
                chunkEnd = k + count;
                chunkEntries = chunk.data();
            }
            const uint8_t* bytes = chunkEntries + (k - chunkStart) * kEntrySize;
            if (bytes[0] == 1 || bytes[0] == 3) continue;  // an entry that points to no record
            const int32_t record = Int32At(bytes + kEntryRecordOffset);
            // A record before the start of the file has no listable signature.
            if (record >= recordedSize || record < 0) continue;
            if (records.size() == kMostRecordsHeld) {
                WalkIndexDatUrlsInHashOrder(file, visit, progress);
                return;
            }
            records.push_back(record);
        }
    }

    // Records that lie near their entries, as when a table's records follow
    // it, are read through a few blocks that are used again and again; records
    // spread through the file are read through blocks kept for the whole walk.
    // Either way each block is read about once.
    if (listingSize) listingSize(records.size());
    const bool nearby = FewBlockLoadsInEntryOrder(records, length);
    TBlockReader in(file, nearby ? kNearbySlots : TBlockReader::kSlotCount);
    std::string scratch;
    for (size_t i = 0; i < records.size(); ++i) {
        const int32_t record = records[i];
        // Records spread through the file are each a cache miss: fetching a
        // later one now hides the memory latency.
        if (!nearby && i + kPrefetchDistance < records.size()) {
            const int32_t later = records[i + kPrefetchDistance];
            in.Prefetch(later);
            in.Prefetch(static_cast<int64_t>(later) + 64);  // the URL text usually starts in the next line
        }
        uint64_t timeStamp = 0;
        std::string_view url;
        if (ReadRecord(in, record, scratch, url, timeStamp) && !url.empty()) visit(url, timeStamp);
    }
    if (progress != nullptr) progress->SetPosition(100);
}

std::string TIndexDatTimeFormat::TimeText(uint64_t timeStamp) const {
    std::string text;
    TIsoTimeWriter iso(UtcOffsetMinutes);
    AppendTimeText(text, timeStamp, iso);
    return text;
}

void TIndexDatTimeFormat::AppendTimeText(std::string& text, uint64_t timeStamp, TIsoTimeWriter& iso) const {
    if (!Format) {
        iso.Append(text, timeStamp);
        return;
    }
    const auto time = IndexDatTimeToLocalTime(timeStamp, UtcOffsetMinutes);
    text += !time || IsZeroDateTime(*time) ? std::string(kTimeNotAvailable) : Format(*time);
}

bool ReadIndexDatUrls(platform::FileSystem& files, const std::string& fileName, int imageIndex,
                      TIndexDatLists& lists, const TIndexDatTimeFormat& timeFormat, TIndexDatProgress* progress) {
    auto handle = files.Open(fileName, platform::OpenMode::Read, platform::ShareMode::ReadWrite);
    if (!handle) return false;
    TPlatformByteFile file(*handle);
    TIsoTimeWriter iso(timeFormat.UtcOffsetMinutes);
    WalkIndexDatUrls(
        file,
        [&](std::string_view url, uint64_t timeStamp) {
            lists.UrlList.push_back({url, imageIndex});
            timeFormat.AppendTimeText(lists.TimeList.Open(), timeStamp, iso);
            lists.TimeList.Close();
        },
        progress,
        [&](size_t count) {
            // Room never written to costs nothing, so a guess may be generous.
            constexpr size_t kLikelyUrlLength = 96;
            lists.UrlList.reserve(count, count * kLikelyUrlLength);
            lists.TimeList.reserve(count, count * kIsoDateTimeLength);
        });
    return true;
}

}  // namespace nullvane::indexdat
