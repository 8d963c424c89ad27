#include "indexdat/IndexDatReader.h"

#include <algorithm>
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

}  // namespace

void WalkIndexDatUrls(TByteFile& file, const TIndexDatUrlVisitor& visit, TIndexDatProgress* progress) {
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
            const uint32_t tag = in.Tag(record);
            if (tag == TagValue(kUrlTag) || tag == TagValue(kLeakTag)) {
                timeStamp = in.UInt64(record + kUrlTimeOffset);
                const uint8_t textOffset = in.Byte(record + kUrlTextByteOffset);
                if (textOffset == 0) continue;
                in.ReadText(record + textOffset, text);
            } else if (tag == TagValue(kRedirectTag)) {
                timeStamp = in.UInt64(record + kRedirectTimeOffset);
                in.ReadText(record + kRedirectTextOffset, text);
            } else {
                continue;
            }
            if (!text.empty()) visit(text, timeStamp);
        }
    }
    if (progress != nullptr) progress->SetPosition(100);
}

std::string TIndexDatTimeFormat::TimeText(uint64_t timeStamp) const {
    const auto time = IndexDatTimeToLocalTime(timeStamp, UtcOffsetMinutes);
    if (!time || IsZeroDateTime(*time)) return kTimeNotAvailable;
    return Format ? Format(*time) : FormatIsoDateTime(*time);
}

bool ReadIndexDatUrls(platform::FileSystem& files, const std::string& fileName, int imageIndex,
                      TIndexDatLists& lists, const TIndexDatTimeFormat& timeFormat, TIndexDatProgress* progress) {
    platform::FilePtr handle = files.Open(fileName, platform::OpenMode::Read, platform::ShareMode::ReadWrite);
    if (!handle) return false;
    TPlatformByteFile file(*handle);
    WalkIndexDatUrls(
        file,
        [&](std::string_view url, uint64_t timeStamp) {
            lists.UrlList.push_back({std::string(url), imageIndex});
            lists.TimeList.push_back(timeFormat.TimeText(timeStamp));
        },
        progress);
    return true;
}

}  // namespace nullvane::indexdat
