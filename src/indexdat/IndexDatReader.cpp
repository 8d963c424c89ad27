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

// A hash entry that points to a record: the record's offset in the high half,
// the entry's place in the listing in the low half, so that sorting the keys
// puts the records in file order and entries sharing a record in listing order.
using TEntryKey = uint64_t;

// Puts the keys in the order of the file's 64 KiB blocks (stable, so keys
// within a block stay in listing order): one block is in memory at a time
// while its records are read, so their order inside it costs nothing.
std::vector<TEntryKey> SortByBlock(const std::vector<TEntryKey>& keys) {
    constexpr int kShift = 32 + TBlockReader::kBlockShift;
    TEntryKey highest = 0;
    for (const TEntryKey key : keys) highest = std::max(highest, key);
    std::vector<size_t> starts(static_cast<size_t>(highest >> kShift) + 2);
    for (const TEntryKey key : keys) ++starts[(key >> kShift) + 1];
    for (size_t i = 1; i < starts.size(); ++i) starts[i] += starts[i - 1];
    std::vector<TEntryKey> sorted(keys.size());
    for (const TEntryKey key : keys) sorted[starts[key >> kShift]++] = key;
    return sorted;
}

// Blocks a walk in entry order keeps in memory when its records lie near
// one another.
constexpr int64_t kNearbySlots = 16;

// True when reading the records in entry order through kNearbySlots blocks
// would load about as many blocks as the file has: then sorting them into
// file order gains nothing.
bool FewBlockLoadsInEntryOrder(const std::vector<TEntryKey>& keys, int64_t length) {
    int64_t held[kNearbySlots];
    std::fill(std::begin(held), std::end(held), int64_t{-1});
    const int64_t allowed = length / TBlockReader::kBlockSize + 1 + kNearbySlots;
    int64_t loads = 0;
    for (const TEntryKey key : keys) {
        const auto block = static_cast<int64_t>(key >> (32 + TBlockReader::kBlockShift));
        int64_t& slot = held[block & (kNearbySlots - 1)];
        if (slot != block) {
            slot = block;
            if (++loads > allowed) return false;
        }
    }
    return true;
}

// Where a listed record's text lies among the gathered texts; an empty text
// lists nothing.
struct TGatheredText {
    uint32_t Offset = 0;
    uint32_t Length = 0;
    uint64_t TimeStamp = 0;
};

// The URL and time stamp of the record at `record`; false when it lists
// nothing. The text is valid until the next read of `in` or `scratch`.
bool ReadRecord(TBlockReader& in, int64_t record, std::string& scratch, std::string_view& text,
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

// Beyond this many listed entries the walk in file order would hold more
// memory than the file itself is worth; such a file is walked in hash order.
constexpr size_t kMostGatheredEntries = size_t{1} << 23;

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

// Three steps, each reading the file forward where it can: the tables give
// the entries in listing order; their records are read in file order, their
// texts gathered; the gathered texts are then handed out in listing order.
// Reading records in hash order would jump through the file once per record.
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
    std::vector<TEntryKey> keys;
    keys.reserve(static_cast<size_t>(
        std::clamp<int64_t>(total, 0, std::min<int64_t>(length / kEntrySize + 1, kMostGatheredEntries))));
    std::vector<uint8_t> chunk;
    constexpr int64_t kChunkEntries = 8192;
    int64_t entryBudget = length / kEntrySize + 1;
    std::unordered_set<int32_t> visited;
    size_t chained = 0;
    int32_t next = firstTable;
    while (entryBudget > 0) {
        int32_t table = 0;
        TTableHeader header;
        if (progress != nullptr) {
            if (chained == chain.size()) break;
            std::tie(table, header) = chain[chained++];
        } else {
            table = next;
            if (table == 0 || table > recordedSize || !visited.insert(table).second) break;
            header = ReadTableHeader(file, table);
            next = header.Next;
        }
        if (header.Tag != TagValue(kHashTag)) break;
        const int64_t entries = TableEntryCount(header.Blocks);
        const int64_t first = table + kTableHeaderSize;
        for (int64_t k = 0; k < entries; ++k) {
            const int64_t entry = first + k * kEntrySize;
            if (entry >= length) break;
            if (--entryBudget < 0) break;
            if (progress != nullptr) progress->ProcessOneMessage();
            meter.EntryProcessed();

            const int64_t inChunk = k % kChunkEntries;
            if (inChunk == 0) {
                const int64_t count = std::min({kChunkEntries, entries - k, (length - entry + kEntrySize - 1) / kEntrySize});
                chunk.assign(static_cast<size_t>(count * kEntrySize), 0);
                (void)file.ReadAt(entry, chunk.data(), chunk.size());
            }
            const uint8_t* bytes = chunk.data() + inChunk * kEntrySize;
            if (bytes[0] == 1 || bytes[0] == 3) continue;  // an entry that points to no record
            const int32_t record = Int32At(bytes + kEntryRecordOffset);
            // A record before the start of the file has no listable signature.
            if (record >= recordedSize || record < 0) continue;
            if (keys.size() == kMostGatheredEntries) {
                WalkIndexDatUrlsInHashOrder(file, visit, progress);
                return;
            }
            keys.push_back(static_cast<TEntryKey>(record) << 32 | keys.size());
        }
    }

    // Records that lie near their entries, as when a table's records follow
    // it, are read in entry order through a few blocks, with nothing gathered.
    if (FewBlockLoadsInEntryOrder(keys, length)) {
        if (listingSize) listingSize(keys.size(), 0);
        TBlockReader in(file, kNearbySlots);
        std::string scratch;
        for (const TEntryKey key : keys) {
            uint64_t timeStamp = 0;
            std::string_view url;
            if (ReadRecord(in, static_cast<int64_t>(key >> 32), scratch, url, timeStamp) && !url.empty()) {
                visit(url, timeStamp);
            }
        }
        if (progress != nullptr) progress->SetPosition(100);
        return;
    }

    // Sound files keep each text inside its own record, so the texts of
    // distinct records add up to less than the file. More means records that
    // overlap or texts without an end: the walk in hash order handles those
    // without holding them.
    const auto mostText = static_cast<size_t>(std::min<int64_t>(length, INT32_MAX)) + (size_t{1} << 16);
    std::vector<TGatheredText> texts(keys.size());
    std::string gathered;
    gathered.reserve(std::min(mostText, static_cast<size_t>(64) * keys.size()));
    {
        const std::vector<TEntryKey> sorted = SortByBlock(keys);
        keys = {};
        TBlockReader in(file, 4);
        std::string scratch;
        int64_t lastRecord = -1;
        TGatheredText last;
        for (const TEntryKey key : sorted) {
            const auto record = static_cast<int64_t>(key >> 32);
            const auto order = static_cast<size_t>(key & 0xFFFFFFFFu);
            if (record != lastRecord) {
                lastRecord = record;
                last = {};
                const size_t before = gathered.size();
                std::string_view url;
                if (ReadRecord(in, record, scratch, url, last.TimeStamp)) {
                    gathered.append(url);
                    if (gathered.size() > mostText) {
                        gathered = {};
                        WalkIndexDatUrlsInHashOrder(file, visit, progress);
                        return;
                    }
                    last.Offset = static_cast<uint32_t>(before);
                    last.Length = static_cast<uint32_t>(gathered.size() - before);
                }
            }
            texts[order] = last;
        }
    }

    if (listingSize) {
        size_t count = 0;
        for (const TGatheredText& text : texts) count += text.Length != 0 ? 1 : 0;
        listingSize(count, gathered.size());
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i + kPrefetchDistance < texts.size()) {
            __builtin_prefetch(gathered.data() + texts[i + kPrefetchDistance].Offset);
        }
        const TGatheredText& text = texts[i];
        if (text.Length != 0) visit(std::string_view(gathered.data() + text.Offset, text.Length), text.TimeStamp);
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
    platform::FilePtr handle = files.Open(fileName, platform::OpenMode::Read, platform::ShareMode::ReadWrite);
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
        [&](size_t count, size_t textBytes) {
            // Room never written to costs nothing, so a guess may be generous.
            constexpr size_t kLikelyUrlLength = 96;
            lists.UrlList.reserve(count, textBytes != 0 ? textBytes : count * kLikelyUrlLength);
            lists.TimeList.reserve(count, count * kIsoDateTimeLength);
        });
    return true;
}

}  // namespace nullvane::indexdat
