#include <cstdio>

#include "platform/SystemInfo.h"

namespace nullvane::platform {

std::string SystemInfo::DateTimeText(const LocalTime& time) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return text;
}

}  // namespace nullvane::platform
