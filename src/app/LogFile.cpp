#include "app/LogFile.h"

#include "app/WindowTexts.h"
#include "base/ProductInfo.h"
#include "app/WebAddresses.h"

namespace nullvane::app {

std::string LogFileName(const std::string& chosen) {
    // The extension starts at the last "." after the last folder separator.
    const size_t folderEnd = chosen.find_last_of("\\/:");
    const size_t dot = chosen.rfind('.');
    const bool hasExtension = dot != std::string::npos && (folderEnd == std::string::npos || dot > folderEnd);
    if (hasExtension && chosen.substr(dot) == ".txt") return chosen;
    return chosen + ".txt";
}

std::string LogFileText(const std::vector<std::string>& lines) {
    std::string text;
    text += std::string(texts::kGeneratedBy) + base::kProductName + "\r\n";
    text += std::string(texts::kVisit) + kHomePageUrl + texts::kForLatestVersion + "\r\n";
    text += "\r\n";
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace nullvane::app
