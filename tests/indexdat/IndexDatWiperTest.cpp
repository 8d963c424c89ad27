#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "indexdat/ByteFile.h"
#include "indexdat/IndexDatBuilder.h"
#include "indexdat/IndexDatWiper.h"

namespace nullvane::indexdat {
namespace {

using testing::TIndexDatBuilder;

constexpr int32_t T1 = TIndexDatBuilder::kFirstTable;

// A memory file that records every write and fails the test on one at or
// beyond the recorded size F.
class TCheckedFile final : public TByteFile {
public:
    TCheckedFile(std::vector<uint8_t>& bytes, int64_t recordedSize) : inner_(bytes), recordedSize_(recordedSize) {}
    [[nodiscard]] int64_t Length() const override { return inner_.Length(); }
    [[nodiscard]] size_t ReadAt(int64_t offset, void* buffer, size_t count) override {
        return inner_.ReadAt(offset, buffer, count);
    }
    bool WriteAt(int64_t offset, const void* buffer, size_t count) override {
        EXPECT_LE(offset + static_cast<int64_t>(count), recordedSize_) << "write at " << offset;
        EXPECT_LE(offset + static_cast<int64_t>(count), Length()) << "write at " << offset;
        writes.emplace_back(offset, count);
        return inner_.WriteAt(offset, buffer, count);
    }
    std::vector<std::pair<int64_t, size_t>> writes;

private:
    TMemoryByteFile inner_;
    int64_t recordedSize_;
};

bool AllEqual(const std::vector<uint8_t>& bytes, int64_t from, int64_t to, uint8_t value) {
    return std::all_of(bytes.begin() + from, bytes.begin() + to, [&](uint8_t b) { return b == value; });
}

bool Unchanged(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after, int64_t from, int64_t to) {
    return std::equal(before.begin() + from, before.begin() + to, after.begin() + from);
}

// Fills a range with recognisable non-zero bytes.
void Scribble(std::vector<uint8_t>& bytes, int64_t from, int64_t to) {
    for (int64_t i = from; i < to; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(0x41 + i % 23);
}

TEST(IndexDatWiper, PassCountFollowsTheOverwriteSettings) {
    EXPECT_EQ(WipePassCount(false, 10), 1);
    EXPECT_EQ(WipePassCount(false, 0), 1);
    EXPECT_EQ(WipePassCount(true, 0), 1);
    EXPECT_EQ(WipePassCount(true, -5), 1);
    EXPECT_EQ(WipePassCount(true, 2), 2);
    EXPECT_EQ(WipePassCount(true, 10), 3);
}

TEST(IndexDatWiper, ClearsTheFirstSlotsAndKeepsOnlyTheSixteenByteTableHeader) {
    TIndexDatBuilder b(0x6000);
    Scribble(b.Bytes(), 64, 0x6000);
    b.FirstTable(T1).Table(T1, 8, 0);
    const auto before = b.Bytes();
    TCheckedFile file(b.Bytes(), 0x6000);
    WipeIndexDatPass(file, 0);
    EXPECT_TRUE(Unchanged(before, b.Bytes(), 0, T1 + 16));
    EXPECT_TRUE(AllEqual(b.Bytes(), T1 + 16, 0x6000, 0));
}

TEST(IndexDatWiper, FillsEveryTableSpanAndKeepsTheHeadersOfFileAndTables) {
    const int32_t t2 = 0x9000;
    TIndexDatBuilder b(0xC000);
    Scribble(b.Bytes(), 64, 0xC000);
    b.FirstTable(T1).Table(T1, 32, t2).Table(t2, 32, 0);
    const auto before = b.Bytes();

    TCheckedFile file(b.Bytes(), 0xC000);
    WipeIndexDatPass(file, 0xAB);
    const auto& after = b.Bytes();
    EXPECT_TRUE(Unchanged(before, after, 0, T1 + 16));  // file header and everything before the first table
    EXPECT_TRUE(AllEqual(after, T1 + 16, t2, 0xAB));
    EXPECT_TRUE(Unchanged(before, after, t2, t2 + 16));
    EXPECT_TRUE(AllEqual(after, t2 + 16, 0xC000, 0xAB));
}

TEST(IndexDatWiper, SpanOfWholeBuffersGetsNoRemainderWrite) {
    const int32_t t2 = T1 + 16 + 3 * 4096;
    TIndexDatBuilder b(t2 + 16 + 100);
    b.FirstTable(T1).Table(T1, 32, t2).Table(t2, 1, 0);
    TCheckedFile file(b.Bytes(), static_cast<int64_t>(b.Bytes().size()));
    WipeIndexDatPass(file, 0);
    const std::vector<std::pair<int64_t, size_t>> expected{
        {T1 + 16, 4096}, {T1 + 16 + 4096, 4096}, {T1 + 16 + 8192, 4096}, {t2 + 16, 100}};
    EXPECT_EQ(file.writes, expected);
}

TEST(IndexDatWiper, StopsAtTheRecordedSizeAndLeavesTheRestOfTheFile) {
    TIndexDatBuilder b(0x9000);
    Scribble(b.Bytes(), 64, 0x9000);
    b.RecordedSize(0x7123).FirstTable(T1).Table(T1, 32, 0);
    const auto before = b.Bytes();
    TCheckedFile file(b.Bytes(), 0x7123);
    WipeIndexDatPass(file, 0);
    EXPECT_TRUE(AllEqual(b.Bytes(), T1 + 16, 0x7123, 0));
    EXPECT_TRUE(Unchanged(before, b.Bytes(), 0x7123, 0x9000));
}

TEST(IndexDatWiper, NeverGrowsAFileWhoseRecordedSizeIsLargerThanIt) {
    TIndexDatBuilder b(0x6800);
    Scribble(b.Bytes(), 64, 0x6800);
    b.RecordedSize(0x10000).FirstTable(T1).Table(T1, 32, 0);
    TCheckedFile file(b.Bytes(), 0x10000);
    WipeIndexDatPass(file, 0);
    EXPECT_EQ(b.Bytes().size(), 0x6800u);
    EXPECT_TRUE(AllEqual(b.Bytes(), T1 + 16, 0x6800, 0));
}

TEST(IndexDatWiper, TableWithoutTheHashSignatureEndsThePass) {
    const int32_t t2 = 0x6000;
    TIndexDatBuilder b(0x8000);
    Scribble(b.Bytes(), 64, 0x8000);
    b.FirstTable(T1).Table(T1, 32, t2).Table(t2, 32, 0, "HASZ");
    const auto before = b.Bytes();
    TCheckedFile file(b.Bytes(), 0x8000);
    WipeIndexDatPass(file, 0);
    EXPECT_TRUE(AllEqual(b.Bytes(), T1 + 16, t2, 0));
    EXPECT_TRUE(Unchanged(before, b.Bytes(), t2, 0x8000));
}

TEST(IndexDatWiper, NextTableCloseToTheEndKeepsItsHeader) {
    // The tail write near F must stop at the next table, so that it is still
    // found and wiped in turn.
    const int32_t t2 = T1 + 16 + 200;
    TIndexDatBuilder b(t2 + 16 + 300);
    Scribble(b.Bytes(), 64, static_cast<int64_t>(b.Bytes().size()));
    b.FirstTable(T1).Table(T1, 2, t2).Table(t2, 2, 0);
    const auto before = b.Bytes();
    TCheckedFile file(b.Bytes(), static_cast<int64_t>(b.Bytes().size()));
    WipeIndexDatPass(file, 0);
    EXPECT_TRUE(AllEqual(b.Bytes(), T1 + 16, t2, 0));
    EXPECT_TRUE(Unchanged(before, b.Bytes(), t2, t2 + 16));
    EXPECT_TRUE(AllEqual(b.Bytes(), t2 + 16, static_cast<int64_t>(b.Bytes().size()), 0));
}

TEST(IndexDatWiper, ChainsThatLoopOrPointNowhereEndThePass) {
    TIndexDatBuilder loop(0x8000);
    loop.FirstTable(T1).Table(T1, 32, 0x6000).Table(0x6000, 32, T1);
    TCheckedFile loopFile(loop.Bytes(), 0x8000);
    WipeIndexDatPass(loopFile, 0);
    EXPECT_FALSE(loopFile.writes.empty());

    TIndexDatBuilder none(0x8000);
    Scribble(none.Bytes(), 64, 0x8000);
    const auto before = none.Bytes();
    TCheckedFile noneFile(none.Bytes(), 0x8000);
    WipeIndexDatPass(noneFile, 0);
    EXPECT_TRUE(noneFile.writes.empty());
    EXPECT_EQ(none.Bytes(), before);
}

}  // namespace
}  // namespace nullvane::indexdat
