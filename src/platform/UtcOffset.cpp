#include <ctime>

#include "platform/SystemInfo.h"

namespace nullvane::platform {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int64_t MinutesOf(const std::tm& time) {
    return DaysFromCivil(time.tm_year + 1900, time.tm_mon + 1, time.tm_mday) * 1440 + time.tm_hour * 60 + time.tm_min;
}

}  // namespace

int32_t SystemInfo::UtcOffsetMinutes() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    std::tm utc{};
#if defined(_WIN32)
    if (localtime_s(&local, &now) != 0 || gmtime_s(&utc, &now) != 0) return 0;
#else
    if (localtime_r(&now, &local) == nullptr || gmtime_r(&now, &utc) == nullptr) return 0;
#endif
    return static_cast<int32_t>(MinutesOf(local) - MinutesOf(utc));
}

}  // namespace nullvane::platform
