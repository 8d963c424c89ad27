#include "indexdat/IndexDatTime.h"

#include <limits>

namespace nullvane::indexdat {

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kTicksPerMinute = 60 * kTicksPerSecond;
constexpr int64_t kTicksPerDay = 1440 * kTicksPerMinute;
// Days from 1601-01-01 to 1899-12-30, the OLE Automation epoch.
constexpr int64_t kOleEpochDay = 109205;

struct TCivilDate {
    int64_t year;
    int month;
    int day;
};

// Days since 1601-01-01 to a proleptic Gregorian date. 1601 starts a 400-year
// cycle, which keeps the arithmetic in whole cycles.
TCivilDate CivilFromDays(int64_t days) {
    const int64_t cycle = days / 146097;
    int64_t dayOfCycle = days % 146097;
    const int64_t century = dayOfCycle / 36524 - dayOfCycle / 146096;
    dayOfCycle -= century * 36524;
    const int64_t fourYears = dayOfCycle / 1461;
    dayOfCycle -= fourYears * 1461;
    const int64_t yearInFour = dayOfCycle / 365 - dayOfCycle / 1460;
    int64_t dayOfYear = dayOfCycle - yearInFour * 365;
    const int64_t year = 1601 + cycle * 400 + century * 100 + fourYears * 4 + yearInFour;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    static constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 0;
    for (;; ++month) {
        const int length = kMonthDays[month] + (month == 1 && leap ? 1 : 0);
        if (dayOfYear < length) break;
        dayOfYear -= length;
    }
    return {year, month + 1, static_cast<int>(dayOfYear) + 1};
}

int64_t DaysFromCivil(int64_t year, int month, int day) {
    static constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int64_t y = year - 1601;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return y * 365 + y / 4 - y / 100 + y / 400 + kDaysBeforeMonth[month - 1] + (month > 2 && leap ? 1 : 0) + day - 1;
}

void AppendDigits(std::string& text, int64_t value, int width) {
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && count < 20);
    for (int i = count; i < width; ++i) text += '0';
    while (count > 0) text += digits[--count];
}

}  // namespace

std::optional<platform::LocalTime> IndexDatTimeToLocalTime(uint64_t timeStamp, int32_t utcOffsetMinutes) {
    constexpr auto kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (timeStamp > kMax) return std::nullopt;
    const int64_t shift = static_cast<int64_t>(utcOffsetMinutes) * kTicksPerMinute;
    const auto utc = static_cast<int64_t>(timeStamp);
    if (shift > 0 && utc > std::numeric_limits<int64_t>::max() - shift) return std::nullopt;
    const int64_t local = utc + shift;
    if (local < 0) return std::nullopt;

    const int64_t days = local / kTicksPerDay;
    int64_t ticks = local % kTicksPerDay;
    const TCivilDate date = CivilFromDays(days);
    if (date.year > 2500) return std::nullopt;
    platform::LocalTime time;
    time.year = static_cast<int>(date.year);
    time.month = date.month;
    time.day = date.day;
    time.hour = static_cast<int>(ticks / (60 * kTicksPerMinute));
    ticks %= 60 * kTicksPerMinute;
    time.minute = static_cast<int>(ticks / kTicksPerMinute);
    ticks %= kTicksPerMinute;
    time.second = static_cast<int>(ticks / kTicksPerSecond);
    time.milliseconds = static_cast<int>(ticks % kTicksPerSecond / 10'000);
    return time;
}

double LocalTimeToDateTime(const platform::LocalTime& time) {
    const auto date = static_cast<double>(DaysFromCivil(time.year, time.month, time.day) - kOleEpochDay);
    const double dayFraction =
        (((time.hour * 60.0 + time.minute) * 60.0 + time.second) * 1000.0 + time.milliseconds) / 86'400'000.0;
    // Before the epoch the time of day counts away from zero, as OLE dates do.
    return date >= 0 ? date + dayFraction : date - dayFraction;
}

double IndexDatTimeToDateTime(uint64_t timeStamp, int32_t utcOffsetMinutes) {
    const auto time = IndexDatTimeToLocalTime(timeStamp, utcOffsetMinutes);
    return time ? LocalTimeToDateTime(*time) : 0.0;
}

std::string FormatIsoDateTime(const platform::LocalTime& time) {
    std::string text;
    text.reserve(19);
    AppendDigits(text, time.year, 4);
    text += '-';
    AppendDigits(text, time.month, 2);
    text += '-';
    AppendDigits(text, time.day, 2);
    text += ' ';
    AppendDigits(text, time.hour, 2);
    text += ':';
    AppendDigits(text, time.minute, 2);
    text += ':';
    AppendDigits(text, time.second, 2);
    return text;
}

}  // namespace nullvane::indexdat
