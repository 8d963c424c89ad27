#include "platform/ProfileFile.h"

namespace nullvane::platform {

int ProfileFile::GetInt(const std::string& file, const std::string& section, const std::string& key, int def) {
    const std::string missing = "\x01";
    std::string text = GetString(file, section, key, missing);
    if (text == missing) return def;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return 0;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 0xFFFFFFFFLL) value &= 0xFFFFFFFFLL;
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace nullvane::platform
