#pragma once
// The Windows private-profile (INI) functions, written over the FileSystem
// service, behaving as the system's do: the file is parsed whole and, on a
// change, written back whole in its own encoding, with blank lines dropped,
// blanks around names and values trimmed and "\r\n" line ends.
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"

namespace nullvane::platform::sim {

class SimProfileFile : public ProfileFile {
public:
    explicit SimProfileFile(FileSystem& files) : files_(files) {}

    [[nodiscard]] std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                                        const std::string& def, size_t bufferSize = 4096) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    [[nodiscard]] std::vector<std::string> SectionNames(const std::string& file, size_t bufferSize = 32767) override;
    [[nodiscard]] std::vector<std::string> KeyNames(const std::string& file, const std::string& section,
                                                    size_t bufferSize = 32767) override;
    bool EraseSection(const std::string& file, const std::string& section) override;
    bool EraseKey(const std::string& file, const std::string& section, const std::string& key) override;

private:
    FileSystem& files_;
};

}  // namespace nullvane::platform::sim
