#include "platform/ProfileFile.h"

#include <cstdint>

namespace nullvane::platform {

int ProfileFile::GetInt(const std::string& file, const std::string& section, const std::string& key, int def) {
    // The system reads the value into a 30-character buffer; an empty or
    // missing value gives the default.
    std::string text = GetString(file, section, key, "", 30);
    if (text.empty()) return def;
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        char prefix = text[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10) i += 2;
    }
    uint32_t value = 0;  // wraps at 32 bits as the system's does
    for (; i < text.size(); ++i) {
        char c = text[i];
        uint32_t digit = c >= '0' && c <= '9'   ? static_cast<uint32_t>(c - '0')
                         : c >= 'a' && c <= 'z' ? static_cast<uint32_t>(c - 'a' + 10)
                         : c >= 'A' && c <= 'Z' ? static_cast<uint32_t>(c - 'A' + 10)
                                                : 99;
        if (digit >= base) break;
        value = value * base + digit;
    }
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}

}  // namespace nullvane::platform
