#include "cleaners/CookieSite.h"

namespace nullvane::cleaners {

std::string ReadCookieSite(platform::FileSystem& files, const std::string& path) {
    auto file = files.Open(path, platform::OpenMode::Read, platform::ShareMode::ReadWrite);
    if (!file) return {};
    // Only as much of the file as the first three lines take.
    std::string text;
    int lineEnds = 0;
    char buffer[4096];
    while (lineEnds < 3) {
        size_t got = file->Read(buffer, sizeof buffer);
        if (got == 0) break;
        for (size_t i = 0; i < got && lineEnds < 3; ++i) {
            text += buffer[i];
            if (buffer[i] == '\n') ++lineEnds;
        }
    }
    size_t second = text.find('\n');
    size_t third = second == std::string::npos ? std::string::npos : text.find('\n', second + 1);
    if (third == std::string::npos) return {};
    std::string site = text.substr(third + 1);
    if (!site.empty() && site.back() == '\n') site.pop_back();
    if (!site.empty() && site.back() == '\r') site.pop_back();
    if (!site.empty() && site.back() == '/') site.pop_back();
    return site;
}

}  // namespace nullvane::cleaners
