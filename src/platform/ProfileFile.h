#pragma once
// Windows private-profile (INI) files with the system's own semantics:
// case-insensitive names, the first of two equal keys wins, writes keep the
// rest of the file, lists and values cut to the caller's buffer size.
#include <cstddef>
#include <string>
#include <vector>

namespace nullvane::platform {

class ProfileFile {
public:
    virtual ~ProfileFile() = default;

    // The value, or `def` if the file, section or key is missing. The result
    // is cut to bufferSize - 1 characters, as the system's buffer would.
    [[nodiscard]] virtual std::string GetString(const std::string& file, const std::string& section,
                                                const std::string& key, const std::string& def,
                                                size_t bufferSize = 4096) = 0;
    // Writes or replaces one key; creates the file and section as needed.
    virtual bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // Names of all sections in file order, within a buffer of bufferSize.
    [[nodiscard]] virtual std::vector<std::string> SectionNames(const std::string& file, size_t bufferSize = 32767) = 0;
    // Names of the keys of one section in file order, within bufferSize.
    [[nodiscard]] virtual std::vector<std::string> KeyNames(const std::string& file, const std::string& section,
                                                            size_t bufferSize = 32767) = 0;
    // Removes a whole section.
    virtual bool EraseSection(const std::string& file, const std::string& section) = 0;
    // Removes one key.
    virtual bool EraseKey(const std::string& file, const std::string& section, const std::string& key) = 0;

    // GetPrivateProfileInt: `def` for a missing or empty value; otherwise the
    // number at the start of the value (sign, then decimal digits or a "0x",
    // "0o" or "0b" prefix), 0 if there is none, wrapping at 32 bits.
    [[nodiscard]] virtual int GetInt(const std::string& file, const std::string& section, const std::string& key, int def);
};

}  // namespace nullvane::platform
