#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "indexdat/IndexDatBuilder.h"
#include "indexdat/IndexDatReader.h"
#include "indexdat/IndexDatTime.h"

namespace nullvane::indexdat {
namespace {

using namespace std::chrono;
using testing::FileTimeFromUnix;

constexpr uint64_t kTicksPerDay = 864'000'000'000ULL;

uint64_t FileTimeOf(year_month_day date, int hour = 0, int minute = 0, int second = 0) {
    const auto days = (sys_days{date} - sys_days{year{1601} / January / 1}).count();
    const auto seconds = static_cast<uint64_t>((hour * 60 + minute) * 60 + second);
    return static_cast<uint64_t>(days) * kTicksPerDay + seconds * 10'000'000ULL;
}

TEST(IndexDatTime, CalendarDatesMatchTheStandardCalendarFrom1601To2500) {
    // Every 97th day, which walks through leap days and century years alike.
    const sys_days last{year{2500} / December / 31};
    for (sys_days day = sys_days{year{1601} / January / 1}; day <= last; day += days{97}) {
        const year_month_day date{day};
        const auto time = IndexDatTimeToLocalTime(FileTimeOf(date, 13, 14, 15), 0);
        ASSERT_TRUE(time.has_value()) << static_cast<int>(date.year());
        ASSERT_EQ(time->year, static_cast<int>(date.year()));
        ASSERT_EQ(time->month, static_cast<int>(static_cast<unsigned>(date.month())));
        ASSERT_EQ(time->day, static_cast<int>(static_cast<unsigned>(date.day())));
        ASSERT_EQ(time->hour * 3600 + time->minute * 60 + time->second, 13 * 3600 + 14 * 60 + 15);
    }
    const auto leapDay = IndexDatTimeToLocalTime(FileTimeOf(year{2000} / February / 29), 0);
    ASSERT_TRUE(leapDay);
    EXPECT_EQ(FormatIsoDateTime(*leapDay), "2000-02-29 00:00:00");
}

TEST(IndexDatTime, LocalTimeShiftsByTheUtcOffsetAcrossDayBoundaries) {
    const uint64_t stamp = FileTimeFromUnix(1276605296);  // 2010-06-15 12:34:56 UTC
    EXPECT_EQ(FormatIsoDateTime(*IndexDatTimeToLocalTime(stamp, 0)), "2010-06-15 12:34:56");
    EXPECT_EQ(FormatIsoDateTime(*IndexDatTimeToLocalTime(stamp, 120)), "2010-06-15 14:34:56");
    EXPECT_EQ(FormatIsoDateTime(*IndexDatTimeToLocalTime(stamp, -780)), "2010-06-14 23:34:56");
    EXPECT_EQ(FormatIsoDateTime(*IndexDatTimeToLocalTime(stamp, 690)), "2010-06-16 00:04:56");
}

TEST(IndexDatTime, ImplausibleOrUnconvertibleStampsAreNotAvailable) {
    EXPECT_TRUE(IndexDatTimeToLocalTime(FileTimeOf(year{2500} / December / 31, 23, 59, 59), 0));
    EXPECT_FALSE(IndexDatTimeToLocalTime(FileTimeOf(year{2501} / January / 1), 0));
    // The UTC stamp is still in 2500; local time is in 2501.
    EXPECT_FALSE(IndexDatTimeToLocalTime(FileTimeOf(year{2500} / December / 31, 23), 120));
    EXPECT_FALSE(IndexDatTimeToLocalTime(0x8000000000000000ULL, 0));
    EXPECT_FALSE(IndexDatTimeToLocalTime(0xFFFFFFFFFFFFFFFFULL, 0));
    EXPECT_FALSE(IndexDatTimeToLocalTime(0x7FFFFFFFFFFFFFFFULL, 60));  // shifting overflows
    EXPECT_FALSE(IndexDatTimeToLocalTime(0, -60));                     // before 1601 locally
    EXPECT_EQ(IndexDatTimeToDateTime(FileTimeOf(year{2501} / January / 1), 0), 0.0);
}

TEST(IndexDatTime, DateTimeValuesCountDaysFromTheEndOf1899) {
    EXPECT_DOUBLE_EQ(IndexDatTimeToDateTime(FileTimeOf(year{1900} / January / 1), 0), 2.0);
    EXPECT_DOUBLE_EQ(IndexDatTimeToDateTime(FileTimeOf(year{2000} / January / 1, 12), 0), 36526.5);
    EXPECT_DOUBLE_EQ(IndexDatTimeToDateTime(FileTimeOf(year{1899} / December / 29, 6), 0), -1.25);
    EXPECT_DOUBLE_EQ(IndexDatTimeToDateTime(FileTimeOf(year{1601} / January / 1), 0), -109205.0);
}

TEST(IndexDatTime, TimeTextIsNotAvailableUnlessTheStampGivesADate) {
    TIndexDatTimeFormat format{60, nullptr};
    EXPECT_EQ(format.TimeText(FileTimeFromUnix(1276605296)), "2010-06-15 13:34:56");
    EXPECT_EQ(format.TimeText(FileTimeOf(year{2600} / January / 1)), "Not Available");
    // The date-time value 0 itself has always read as "not available".
    EXPECT_EQ(format.TimeText(FileTimeOf(year{1899} / December / 29, 23)), "Not Available");
    format.Format = [](const platform::LocalTime& t) { return std::to_string(t.day) + "/" + std::to_string(t.month); };
    EXPECT_EQ(format.TimeText(FileTimeFromUnix(1276605296)), "15/6");
}

// The writer keeps the last day's date between calls: moving back and forth
// over the edges of days, of the listable years and of the zero date-time
// must give what the plain conversion gives for each stamp on its own.
TEST(IndexDatTime, TheIsoWriterGivesThePlainConversionsTextWhateverCameBefore) {
    const uint64_t zero = FileTimeOf(year{1899} / December / 30);
    const uint64_t lastListed = FileTimeOf(year{2500} / December / 31, 23, 59, 59);
    const uint64_t midnight = FileTimeOf(year{2010} / June / 15);
    const std::vector<uint64_t> stamps{midnight, midnight - 1, midnight + 1, midnight + kTicksPerDay - 1,
                                       midnight + kTicksPerDay, midnight - 1, zero, zero + 9'999, zero + 10'000,
                                       zero - 1, zero + 9'999, lastListed, lastListed + 10'000'000, lastListed,
                                       0, 1, 0x7FFFFFFFFFFFFFFFULL, 0x8000000000000000ULL, midnight + 3};
    for (int32_t offset : {0, 60, -780, 690}) {
        TIsoTimeWriter writer(offset);
        for (const uint64_t stamp : stamps) {
            std::string written = "x";
            writer.Append(written, stamp);
            const auto time = IndexDatTimeToLocalTime(stamp, offset);
            const std::string expected =
                !time || IsZeroDateTime(*time) ? std::string(kTimeNotAvailable) : FormatIsoDateTime(*time);
            EXPECT_EQ(written, "x" + expected) << "stamp " << stamp << ", offset " << offset;
        }
    }
}

}  // namespace
}  // namespace nullvane::indexdat
