#pragma once
// Time stamps of index.dat records: Windows FILETIME values in UTC (100 ns
// ticks since 1601-01-01), shown as local date-times.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/SystemInfo.h"

namespace nullvane::indexdat {

// The local calendar time of a time stamp, shifted by the UTC offset in force
// now as FileTimeToLocalFileTime does. Nothing when a conversion fails (a time
// stamp that is negative as a signed value, before or after shifting) or when
// the calendar time is implausible (a year above 2500).
[[nodiscard]] std::optional<platform::LocalTime> IndexDatTimeToLocalTime(uint64_t timeStamp, int32_t utcOffsetMinutes);

// The OLE Automation date (days since 1899-12-30, the time of day as the
// fraction) of a calendar time.
[[nodiscard]] double LocalTimeToDateTime(const platform::LocalTime& time);

// The local date-time of a time stamp as an OLE Automation date; 0 means not
// available.
[[nodiscard]] double IndexDatTimeToDateTime(uint64_t timeStamp, int32_t utcOffsetMinutes);

// True for the one calendar time whose date-time value is 0
// (1899-12-30 00:00:00.000), which the program reads as "not available".
[[nodiscard]] bool IsZeroDateTime(const platform::LocalTime& time);

// "YYYY-MM-DD HH:MM:SS".
[[nodiscard]] std::string FormatIsoDateTime(const platform::LocalTime& time);
void AppendIsoDateTime(std::string& text, const platform::LocalTime& time);

inline constexpr const char* kTimeNotAvailable = "Not Available";
inline constexpr size_t kIsoDateTimeLength = 19;  // "YYYY-MM-DD HH:MM:SS"

// Appends the "YYYY-MM-DD HH:MM:SS" of time stamps, or kTimeNotAvailable where
// IndexDatTimeToLocalTime gives nothing or the zero date-time, exactly as
// those give it. The dates of recent days are kept: the records of a cache
// file fall on comparatively few days, and working out a date is most of the
// cost.
class TIsoTimeWriter {
public:
    explicit TIsoTimeWriter(int32_t utcOffsetMinutes) : utcOffsetMinutes_(utcOffsetMinutes) {}
    void Append(std::string& text, uint64_t timeStamp);
    // Writes the text at `out`, which has room for kIsoDateTimeLength
    // characters; returns its end.
    char* Write(char* out, uint64_t timeStamp);

private:
    struct TDay {
        int64_t Number = -1;     // days since 1601-01-01; -1: none yet
        bool Listed = false;     // its year is one a time is shown for
        char Date[11] = {};      // "YYYY-MM-DD "
    };
    static constexpr size_t kDaysKept = 512;

    int32_t utcOffsetMinutes_;
    std::vector<TDay> days_ = std::vector<TDay>(kDaysKept);
};

}  // namespace nullvane::indexdat
