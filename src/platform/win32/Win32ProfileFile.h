#pragma once
// Private-profile (INI) files through the system's W functions.
#include "platform/ProfileFile.h"

namespace nullvane::platform::win32 {

class Win32ProfileFile : public ProfileFile {
public:
    [[nodiscard]] std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                                        const std::string& def, size_t bufferSize = 4096) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    [[nodiscard]] std::vector<std::string> SectionNames(const std::string& file, size_t bufferSize = 32767) override;
    [[nodiscard]] std::vector<std::string> KeyNames(const std::string& file, const std::string& section,
                                                    size_t bufferSize = 32767) override;
    bool EraseSection(const std::string& file, const std::string& section) override;
    bool EraseKey(const std::string& file, const std::string& section, const std::string& key) override;
    [[nodiscard]] int GetInt(const std::string& file, const std::string& section, const std::string& key,
                             int def) override;
};

}  // namespace nullvane::platform::win32
