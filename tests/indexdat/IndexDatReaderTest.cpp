#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "indexdat/ByteFile.h"
#include "indexdat/IndexDatReader.h"
#include "indexdat/IndexDatBuilder.h"

namespace nullvane::indexdat {
namespace {

using testing::FileTimeFromUnix;
using testing::TIndexDatBuilder;

struct TListed {
    std::string Url;
    uint64_t TimeStamp;
    bool operator==(const TListed&) const = default;
};

class TRecordingProgress final : public TIndexDatProgress {
public:
    [[nodiscard]] int Position() const override { return position; }
    void SetPosition(int percent) override {
        position = percent;
        positions.push_back(percent);
    }
    void ProcessOneMessage() override { ++messages; }
    int position = 0;
    std::vector<int> positions;
    int messages = 0;
};

std::vector<TListed> List(std::vector<uint8_t>& bytes, TIndexDatProgress* progress = nullptr) {
    TMemoryByteFile file(bytes);
    std::vector<TListed> listed;
    WalkIndexDatUrls(
        file, [&](std::string_view url, uint64_t timeStamp) { listed.push_back({std::string(url), timeStamp}); },
        progress);
    return listed;
}

constexpr int32_t T1 = TIndexDatBuilder::kFirstTable;
const uint64_t kJune2010 = FileTimeFromUnix(1276605296);

// The hash slots begin right after the table's 16-byte header: a table of
// N blocks holds 16 x N - 2 of them, the first at table offset 16.
TEST(IndexDatReader, ListsTheSlotsRightAfterTheTableHeaderUpToTheTablesEnd) {
    TIndexDatBuilder b;
    b.FirstTable(T1).Table(T1, 1, 0);
    const int32_t records[] = {0x5000, 0x5100, 0x5200};
    b.UrlRecord(records[0], "URL ", 1, "http://first.example/");
    b.UrlRecord(records[1], "URL ", 2, "http://second.example/");
    b.UrlRecord(records[2], "URL ", 3, "http://last.example/");
    const int64_t lastSlot = T1 + 128 - 8;  // slot 16 x 1 - 3
    for (auto [slot, record] : {std::pair<int64_t, int32_t>{T1 + 16, records[0]}, {T1 + 24, records[1]},
                                {lastSlot, records[2]}}) {
        b.Bytes()[static_cast<size_t>(slot)] = 0x80;
        b.Int32(slot + 4, record);
    }
    std::vector<TListed> expected{{"http://first.example/", 1}, {"http://second.example/", 2}, {"http://last.example/", 3}};
    EXPECT_EQ(List(b.Bytes()), expected);
}

TEST(IndexDatReader, ListsUrlLeakAndRedirectRecordsInEntryOrderWithTheirTimeStamps) {
    TIndexDatBuilder b;
    b.FirstTable(T1).Table(T1, 8, 0);
    b.UrlRecord(0x5000, "URL ", kJune2010, "http://a.example/").Entry(T1, 0, 0x5000);
    b.UrlRecord(0x5100, "LEAK", kJune2010 + 1, "http://leak.example/").Entry(T1, 1, 0x5100);
    b.RedirectRecord(0x5200, 77, "http://redirect.example/").Entry(T1, 5, 0x5200);
    // A URL text placed right after the fixed fields, at the lowest offset the byte allows.
    b.UrlRecord(0x5300, "URL ", 5, "short", 53).Entry(T1, 7, 0x5300);

    std::vector<TListed> expected{{"http://a.example/", kJune2010},
                                  {"http://leak.example/", kJune2010 + 1},
                                  {"http://redirect.example/", 77},
                                  {"short", 5}};
    EXPECT_EQ(List(b.Bytes()), expected);
}

TEST(IndexDatReader, SkipsEntriesAndRecordsThatCarryNoListableUrl) {
    TIndexDatBuilder b(0x9000);
    b.RecordedSize(0x8000).FirstTable(T1).Table(T1, 8, 0);
    b.UrlRecord(0x5000, "URL ", 1, "http://valid.example/");
    b.Entry(T1, 0, 0x5000, 1);  // entries marked 1 and 3 point to no record,
    b.Entry(T1, 1, 0x5000, 3);  // whatever their offset says
    b.UrlRecord(0x5100, "URL ", 1, "never read", 0).Entry(T1, 2, 0x5100);  // no text offset
    b.UrlRecord(0x5200, "URL ", 1, "").Entry(T1, 3, 0x5200);                // empty text
    b.RedirectRecord(0x5300, 1, "").Entry(T1, 4, 0x5300);
    b.UrlRecord(0x5400, "URL\0", 1, "http://short-tag/").Entry(T1, 5, 0x5400);  // tag text "URL"
    b.UrlRecord(0x5500, "url ", 1, "http://lower-case/").Entry(T1, 6, 0x5500);
    b.UrlRecord(0x5600, "DEAD", 1, "http://dead/").Entry(T1, 7, 0x5600);
    // At or beyond the recorded size, even though the bytes are there.
    b.UrlRecord(0x8000, "URL ", 1, "http://beyond-f/").Entry(T1, 8, 0x8000);
    b.UrlRecord(0x5700, "URL ", 2, "http://last.example/").Entry(T1, 9, 0x5700);

    std::vector<TListed> expected{{"http://last.example/", 2}};
    EXPECT_EQ(List(b.Bytes()), expected);
}

TEST(IndexDatReader, FollowsTheChainOfTablesAndStopsAtOneWithoutTheHashSignature) {
    TIndexDatBuilder b(0xA000);
    const int32_t t2 = 0x6000, t3 = 0x7000;
    b.FirstTable(T1).Table(T1, 4, t2).Table(t2, 4, t3).Table(t3, 4, 0, "HASX");
    b.UrlRecord(0x5000, "URL ", 1, "http://one/").Entry(T1, 3, 0x5000);
    b.UrlRecord(0x6800, "URL ", 2, "http://two/").Entry(t2, 0, 0x6800);
    b.UrlRecord(0x7800, "URL ", 3, "http://three/").Entry(t3, 0, 0x7800);

    std::vector<TListed> expected{{"http://one/", 1}, {"http://two/", 2}};
    EXPECT_EQ(List(b.Bytes()), expected);
}

TEST(IndexDatReader, ChainThatLoopsBackIsWalkedOnce) {
    TIndexDatBuilder b;
    const int32_t t2 = 0x6000;
    b.FirstTable(T1).Table(T1, 4, t2).Table(t2, 4, T1);
    b.UrlRecord(0x5000, "URL ", 1, "http://one/").Entry(T1, 0, 0x5000);
    b.UrlRecord(0x6800, "URL ", 2, "http://two/").Entry(t2, 0, 0x6800);

    TRecordingProgress progress;
    std::vector<TListed> expected{{"http://one/", 1}, {"http://two/", 2}};
    EXPECT_EQ(List(b.Bytes(), &progress), expected);
    EXPECT_EQ(progress.messages, 2 * 62);  // one message per entry of each table, once
    EXPECT_EQ(progress.position, 100);
}

TEST(IndexDatReader, FilesWithoutAReachableTableListNothingAndFinishTheProgress) {
    auto check = [](TIndexDatBuilder& b, const char* what) {
        TRecordingProgress progress;
        EXPECT_TRUE(List(b.Bytes(), &progress).empty()) << what;
        EXPECT_EQ(progress.positions, std::vector<int>{100}) << what;
    };
    TIndexDatBuilder noTable;
    noTable.UrlRecord(0x5000, "URL ", 1, "http://orphan/");
    check(noTable, "first table offset 0");

    TIndexDatBuilder beyondF(0x9000);
    beyondF.RecordedSize(0x3FFF).FirstTable(T1).Table(T1, 4, 0);
    beyondF.UrlRecord(0x5000, "URL ", 1, "http://x/").Entry(T1, 0, 0x5000);
    check(beyondF, "table beyond the recorded size");

    TIndexDatBuilder negative;
    negative.FirstTable(-64);
    check(negative, "negative table offset");

    TIndexDatBuilder negative2;
    negative2.FirstTable(-64);
    negative2.Bytes().resize(20);
    TRecordingProgress progress;
    EXPECT_TRUE(List(negative2.Bytes(), &progress).empty()) << "file shorter than its header";
    EXPECT_EQ(progress.position, 100);
}

TEST(IndexDatReader, ProgressMovesForwardOnlyAndEndsAtOneHundred) {
    TIndexDatBuilder b(0x20000);
    b.FirstTable(T1).Table(T1, 100, 0);  // 1598 entries
    TRecordingProgress progress;
    (void)List(b.Bytes(), &progress);
    ASSERT_FALSE(progress.positions.empty());
    // Forward only while reading; the closing "set to 100" comes last.
    for (size_t i = 1; i + 1 < progress.positions.size(); ++i) {
        EXPECT_GT(progress.positions[i], progress.positions[i - 1]);
    }
    EXPECT_EQ(progress.positions.front(), 1);
    EXPECT_EQ(progress.positions.back(), 100);
    EXPECT_EQ(progress.messages, 1598);
}

TEST(IndexDatReader, ProgressStaysWithinRangeWhenEmptyTablesShrinkTheTotal) {
    // One table of 14 entries followed by empty tables (N = 0 counts as -2 entries):
    // totals of 12 and of 8 while 14 entries are processed.
    for (int emptyTables : {1, 3}) {
        TIndexDatBuilder b(0x9000);
        b.FirstTable(T1).Table(T1, 1, 0x5000);
        for (int i = 0; i < emptyTables; ++i) {
            const int32_t at = 0x5000 + 0x100 * i;
            b.Table(at, 0, i + 1 < emptyTables ? at + 0x100 : 0);
        }
        b.UrlRecord(0x7000, "URL ", 1, "http://x/").Entry(T1, 11, 0x7000);
        TRecordingProgress progress;
        EXPECT_EQ(List(b.Bytes(), &progress).size(), 1u);
        for (int position : progress.positions) EXPECT_LE(position, 100);
        EXPECT_EQ(progress.position, 100);
        EXPECT_EQ(progress.messages, 14);
    }
}

TEST(IndexDatReader, ReadsFieldsAndTextsAcrossBlockBoundaries) {
    // 200 KiB: several reader blocks. The record's time stamp straddles the
    // 64 KiB boundary and its text straddles the 128 KiB one.
    TIndexDatBuilder b(200 * 1024);
    b.FirstTable(T1).Table(T1, 4, 0);
    const int32_t straddling = 0x10000 - 20;
    b.UrlRecord(straddling, "URL ", 0x1122334455667788ULL, "http://first/").Entry(T1, 0, straddling);
    const std::string longUrl = "http://long.example/" + std::string(300, 'q');
    const int32_t crossing = 0x20000 - 0x80;
    b.UrlRecord(crossing, "URL ", 9, longUrl, 0x68).Entry(T1, 1, crossing);

    std::vector<TListed> expected{{"http://first/", 0x1122334455667788ULL}, {longUrl, 9}};
    EXPECT_EQ(List(b.Bytes()), expected);
}

TEST(IndexDatReader, TextsEndAtTheEndOfTheFile) {
    TIndexDatBuilder b(0x5100);
    b.FirstTable(T1).Table(T1, 4, 0);
    // The text fills the last 16 bytes of the file, with no terminating zero.
    b.UrlRecord(0x5000, "URL ", 1, "", 0xF0).Entry(T1, 0, 0x5000);
    b.Raw(0x50F0, std::string(16, 'z'));
    // This record's text would start beyond the end of the file.
    b.UrlRecord(0x5040, "URL ", 2, "", 0xFF).Entry(T1, 1, 0x5040);

    std::vector<TListed> expected{{std::string(16, 'z'), 1}};
    EXPECT_EQ(List(b.Bytes()), expected);
}

TEST(IndexDatReader, TableThatReachesBeyondTheFileStopsAtItsEnd) {
    // N claims millions of entries; the walk ends with the file.
    TIndexDatBuilder b(0x5000);
    b.RecordedSize(0x7FFFFFFF).FirstTable(T1).Table(T1, 0x7FFFFFF, 0);
    b.UrlRecord(0x4800, "URL ", 1, "http://inside/").Entry(T1, 0, 0x4800);
    TRecordingProgress progress;
    EXPECT_EQ(List(b.Bytes(), &progress).size(), 1u);
    EXPECT_EQ(progress.messages, (0x5000 - 0x4000 - 16) / 8);
    EXPECT_EQ(progress.position, 100);
}

std::vector<TListed> ListInHashOrder(std::vector<uint8_t>& bytes) {
    TMemoryByteFile file(bytes);
    std::vector<TListed> listed;
    WalkIndexDatUrlsInHashOrder(
        file, [&](std::string_view url, uint64_t timeStamp) { listed.push_back({std::string(url), timeStamp}); });
    return listed;
}

// Entries that jump back and forth between blocks 1 and 17 of the file, which
// a walk through 16 blocks used again and again would load at every entry:
// the records are listed in entry order all the same, also where two entries
// share a record and where a record straddles two blocks.
TEST(IndexDatReader, RecordsFarApartAreListedInEntryOrder) {
    TIndexDatBuilder b(0x130000);
    b.FirstTable(T1).Table(T1, 4, 0);
    std::vector<TListed> expected;
    for (int i = 0; i < 40; ++i) {
        const int32_t record = (i % 2 == 0 ? 0x10000 : 0x110000) + 0x100 * (i / 2);
        const std::string url = "http://r" + std::to_string(i) + ".example/";
        b.UrlRecord(record, i % 3 == 0 ? "LEAK" : "URL ", 100 + i, url).Entry(T1, i, record);
        expected.push_back({url, 100u + i});
    }
    const int32_t straddling = 0x120000 - 0x30;
    b.RedirectRecord(straddling, 7, "http://straddling.example/").Entry(T1, 40, straddling);
    b.Entry(T1, 41, 0x10000);  // the first record again
    expected.push_back({"http://straddling.example/", 7});
    expected.push_back(expected.front());

    EXPECT_EQ(List(b.Bytes()), expected);
    EXPECT_EQ(ListInHashOrder(b.Bytes()), expected);
}

}  // namespace
}  // namespace nullvane::indexdat
