#include "browsers/CookieSite.h"

#include <algorithm>

namespace nullvane::browsers {

namespace {
// No cookie's first three lines come near this; a file without line breaks
// is never read whole for its site.
constexpr size_t kMostRead = 64 * 1024;
}  // namespace

std::string ReadCookieSite(platform::FileSystem& files, const std::string& path) {
    auto file = files.Open(path, platform::OpenMode::Read, platform::ShareMode::ReadWrite);
    if (!file) return {};
    // Only as much of the file as the first three lines take.
    std::string text;
    int lineEnds = 0;
    char buffer[4096];
    while (lineEnds < 3 && text.size() < kMostRead) {
        size_t got = file->Read(buffer, std::min(sizeof buffer, kMostRead - text.size()));
        if (got == 0) break;
        for (size_t i = 0; i < got && lineEnds < 3; ++i) {
            text += buffer[i];
            if (buffer[i] == '\n') ++lineEnds;
        }
    }
    if (lineEnds < 3 && text.size() >= kMostRead) return {};
    size_t second = text.find('\n');
    size_t third = second == std::string::npos ? std::string::npos : text.find('\n', second + 1);
    if (third == std::string::npos) return {};
    std::string site = text.substr(third + 1);
    if (!site.empty() && site.back() == '\n') site.pop_back();
    if (!site.empty() && site.back() == '\r') site.pop_back();
    if (!site.empty() && site.back() == '/') site.pop_back();
    return site;
}

}  // namespace nullvane::browsers
