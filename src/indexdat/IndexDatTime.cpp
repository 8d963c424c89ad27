#include "indexdat/IndexDatTime.h"

#include <cstring>
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

// The proleptic Gregorian date of a day counted from 1601-01-01, in constant
// time (eras of 400 years starting on March 1st).
TCivilDate CivilFromDays(int64_t days) {
    const int64_t z = days + 584694;  // days since 0000-03-01
    const int64_t era = z / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 is March
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

int64_t DaysFromCivil(int64_t year, int month, int day) {
    static constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int64_t y = year - 1601;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return y * 365 + y / 4 - y / 100 + y / 400 + kDaysBeforeMonth[month - 1] + (month > 2 && leap ? 1 : 0) + day - 1;
}

// Writes `value` with at least `width` digits; returns the end.
char* PutDigits(char* out, int value, int width) {
    if (width == 2 && value >= 0 && value < 100) {
        out[0] = static_cast<char>('0' + value / 10);
        out[1] = static_cast<char>('0' + value % 10);
        return out + 2;
    }
    if (width == 4 && value >= 1000 && value < 10000) {
        out[0] = static_cast<char>('0' + value / 1000);
        out[1] = static_cast<char>('0' + value / 100 % 10);
        out[2] = static_cast<char>('0' + value / 10 % 10);
        out[3] = static_cast<char>('0' + value % 10);
        return out + 4;
    }
    auto rest = static_cast<uint32_t>(value < 0 ? 0 : value);
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest > 0);
    for (int i = count; i < width; ++i) *out++ = '0';
    while (count > 0) *out++ = digits[--count];
    return out;
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

bool IsZeroDateTime(const platform::LocalTime& time) {
    return time.year == 1899 && time.month == 12 && time.day == 30 && time.hour == 0 && time.minute == 0 &&
           time.second == 0 && time.milliseconds == 0;
}

void AppendIsoDateTime(std::string& text, const platform::LocalTime& time) {
    char buffer[64];
    char* out = PutDigits(buffer, time.year, 4);
    *out++ = '-';
    out = PutDigits(out, time.month, 2);
    *out++ = '-';
    out = PutDigits(out, time.day, 2);
    *out++ = ' ';
    out = PutDigits(out, time.hour, 2);
    *out++ = ':';
    out = PutDigits(out, time.minute, 2);
    *out++ = ':';
    out = PutDigits(out, time.second, 2);
    text.append(buffer, out);
}

char* TIsoTimeWriter::Write(char* out, uint64_t timeStamp) {
    constexpr size_t kNotAvailableLength = std::char_traits<char>::length(kTimeNotAvailable);
    constexpr auto kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    const int64_t shift = static_cast<int64_t>(utcOffsetMinutes_) * kTicksPerMinute;
    const auto utc = static_cast<int64_t>(timeStamp);
    if (timeStamp > kMax || (shift > 0 && utc > std::numeric_limits<int64_t>::max() - shift) || utc + shift < 0) {
        std::memcpy(out, kTimeNotAvailable, kNotAvailableLength);
        return out + kNotAvailableLength;
    }
    const int64_t local = utc + shift;
    const int64_t dayNumber = local / kTicksPerDay;
    TDay& day = days_[static_cast<size_t>(dayNumber) % kDaysKept];
    if (day.Number != dayNumber) {
        day.Number = dayNumber;
        const TCivilDate date = CivilFromDays(dayNumber);
        day.Listed = date.year <= 2500;
        if (day.Listed) {
            char* end = PutDigits(day.Date, static_cast<int>(date.year), 4);
            *end++ = '-';
            end = PutDigits(end, date.month, 2);
            *end++ = '-';
            end = PutDigits(end, date.day, 2);
            *end = ' ';
        }
    }
    const int64_t ticks = local - dayNumber * kTicksPerDay;
    // The zero date-time is midnight of its day to the millisecond.
    if (!day.Listed || (dayNumber == kOleEpochDay && ticks < kTicksPerSecond / 1000)) {
        std::memcpy(out, kTimeNotAvailable, kNotAvailableLength);
        return out + kNotAvailableLength;
    }
    std::memcpy(out, day.Date, sizeof day.Date);
    out += sizeof day.Date;
    const auto seconds = static_cast<uint32_t>(ticks / kTicksPerSecond);
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    const auto two = [](char* at, uint32_t value) { std::memcpy(at, kPairs + 2 * value, 2); };
    two(out, seconds / 3600);
    out[2] = ':';
    two(out + 3, seconds / 60 % 60);
    out[5] = ':';
    two(out + 6, seconds % 60);
    return out + 8;
}

void TIsoTimeWriter::Append(std::string& text, uint64_t timeStamp) {
    // Written in place: bytes stored one by one and then copied elsewhere
    // stall the copy.
    const size_t at = text.size();
    text.resize(at + kIsoDateTimeLength);
    const char* end = Write(text.data() + at, timeStamp);
    text.resize(static_cast<size_t>(end - text.data()));
}

std::string FormatIsoDateTime(const platform::LocalTime& time) {
    std::string text;
    AppendIsoDateTime(text, time);
    return text;
}

}  // namespace nullvane::indexdat
