#pragma once
// The registry: keys under a root, opened with read or full access.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace nullvane::platform {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

enum class RegAccess { Read, Full };

enum RegType : uint32_t {
    rtNone = 0,
    rtString = 1,        // REG_SZ
    rtExpandString = 2,  // REG_EXPAND_SZ
    rtBinary = 3,        // REG_BINARY
    rtDword = 4,         // REG_DWORD
    rtMultiString = 7,   // REG_MULTI_SZ
};

// A value as read. String types hold UTF-8 text without the terminator in
// `data`; REG_MULTI_SZ holds its strings each followed by a zero byte.
struct RegValue {
    std::string name;
    uint32_t type = rtNone;
    std::vector<uint8_t> data;

    [[nodiscard]] bool IsString() const { return type == rtString || type == rtExpandString; }
    [[nodiscard]] std::string AsString() const { return std::string(data.begin(), data.end()); }
    [[nodiscard]] uint32_t AsDword() const;

    static RegValue String(std::string name, const std::string& text, uint32_t type = rtString);
    static RegValue Dword(std::string name, uint32_t value);
    static RegValue Binary(std::string name, std::vector<uint8_t> bytes);
};

// An open key. Closed in the destructor.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Subkeys and values are listed in the order the system gives (by name).
    [[nodiscard]] virtual std::vector<std::string> SubkeyNames() = 0;
    [[nodiscard]] virtual std::vector<RegValue> Values() = 0;
    // Value "" is the key's default value. A queried value carries the name
    // as asked; listings carry the stored case.
    virtual TResult<RegValue> QueryValue(const std::string& name) = 0;
    virtual TStatus SetValue(const RegValue& value) = 0;
    virtual TStatus DeleteValue(const std::string& name) = 0;
    // Removes one subkey that has no subkeys of its own; fails otherwise.
    virtual TStatus DeleteSubkey(const std::string& name) = 0;

    [[nodiscard]] size_t ValueCount() { return Values().size(); }
    [[nodiscard]] size_t SubkeyCount() { return SubkeyNames().size(); }
};

using RegKeyPtr = std::unique_ptr<RegistryKey>;

class Registry {
public:
    virtual ~Registry() = default;
    // Opens an existing key (path relative to the root, "" for the root
    // itself, a leading "\" allowed); fails if it is missing or the access
    // is refused. Names compare without regard to case.
    virtual TResult<RegKeyPtr> OpenKey(RegRoot root, const std::string& path, RegAccess access) = 0;
    // Opens the key with full access, creating it and missing parents.
    virtual TResult<RegKeyPtr> CreateKey(RegRoot root, const std::string& path) = 0;
    // Removes a key that has no subkeys; fails otherwise.
    virtual TStatus DeleteKey(RegRoot root, const std::string& path) = 0;

    // Conveniences.
    TResult<RegValue> ReadValue(RegRoot root, const std::string& path, const std::string& name);
    // String value of a key, or empty.
    [[nodiscard]] std::string ReadString(RegRoot root, const std::string& path, const std::string& name);
};

}  // namespace nullvane::platform
