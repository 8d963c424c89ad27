#include "base/FormatKilobytes.h"

namespace nullvane::base {

std::string FormatKilobytes(uint64_t bytes) {
    uint64_t kilobytes = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
    std::string digits = std::to_string(kilobytes);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

}  // namespace nullvane::base
