// The applications data file as shipped: every entry must be one the runner
// understands and none may reach further than a program's own cache, list or
// log folder.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Text.h"

namespace {

const std::vector<std::string> kHeads = {"%ProgramFiles%",    "%windir%",          "{Current AppData}",
                                         "{Local AppData}",   "{Common AppData}",  "{C: Drive}"};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) parts.push_back(part);
    return parts;
}

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

TEST(ShippedDataFile, EveryEntryIsAKnownKindUnderAKnownHeadAndNoFolderEntryIsShallow) {
    std::ifstream file(std::string(NULLVANE_SOURCE_DIR) + "/data/NVane.dat");
    ASSERT_TRUE(file) << "data/NVane.dat";
    std::set<std::string> sections;
    std::string section;
    int entries = 0;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            ASSERT_EQ(line.back(), ']') << line;
            section = line.substr(1, line.size() - 2);
            EXPECT_TRUE(sections.insert(nullvane::platform::UpperAscii(section)).second) << "twice: " << section;
            continue;
        }
        ASSERT_FALSE(section.empty()) << "an entry before any section: " << line;
        const auto equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        const std::string kind = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        ++entries;
        for (const std::string& step : Split(value, '\\')) EXPECT_NE(step, "..") << section << ": " << line;
        if (StartsWith(kind, "DelRegValue")) {
            EXPECT_TRUE(StartsWith(value, "HKEY_CURRENT_USER\\") || StartsWith(value, "HKEY_LOCAL_MACHINE\\"))
                << section << ": " << line;
            continue;
        }
        ASSERT_TRUE(StartsWith(kind, "DelFile")) << section << ": " << line;
        const std::vector<std::string> pathAndMask = Split(value, ',');
        const std::vector<std::string> steps = Split(pathAndMask[0], '\\');
        const std::string& head = steps.front();
        const bool drive = head.size() == 2 && head[1] == ':';
        EXPECT_TRUE(drive || std::find(kHeads.begin(), kHeads.end(), head) != kHeads.end()) << section << ": " << line;
        if (pathAndMask.size() == 1) {
            int names = 0;
            for (size_t i = 1; i < steps.size(); ++i) names += !steps[i].empty();
            EXPECT_GE(names, 2) << "a whole folder too close to its head: " << section << ": " << line;
        }
    }
    EXPECT_GT(entries, 0);
}

}  // namespace
#endif
