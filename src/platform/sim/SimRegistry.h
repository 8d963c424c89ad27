#pragma once
// The simulated registry: an in-memory tree of keys and values with the
// system's rules (names compared without regard to case, stored case kept,
// subkeys and values listed in name order, a key with subkeys cannot be
// deleted, a key opened for reading cannot be changed). Access can be refused
// per key, so a test can model a machine-wide key that a user may read but
// not open with full access. Fixtures can be loaded from .reg text.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace nullvane::platform::sim {

struct SimRegState;

class SimRegistry final : public Registry {
public:
    SimRegistry();
    ~SimRegistry() override;
    SimRegistry(const SimRegistry&) = delete;
    SimRegistry& operator=(const SimRegistry&) = delete;

    TResult<RegKeyPtr> OpenKey(RegRoot root, const std::string& path, RegAccess access) override;
    TResult<RegKeyPtr> CreateKey(RegRoot root, const std::string& path) override;
    TStatus DeleteKey(RegRoot root, const std::string& path) override;

    // Builders for tests. They ignore refused access and create missing keys.
    void AddKey(RegRoot root, const std::string& path);
    void SetValue(RegRoot root, const std::string& path, const RegValue& value);
    void SetString(RegRoot root, const std::string& path, const std::string& name, const std::string& text);
    void SetDword(RegRoot root, const std::string& path, const std::string& name, uint32_t value);
    void SetBinary(RegRoot root, const std::string& path, const std::string& name, std::vector<uint8_t> bytes);

    // The key (and, with subkeysToo, every key below it, also keys added
    // later) may still be opened for reading but not with full access, so it
    // cannot be changed or deleted.
    void DenyFullAccess(RegRoot root, const std::string& path, bool subkeysToo = true);
    // The key (and below it) cannot be opened at all.
    void DenyAccess(RegRoot root, const std::string& path, bool subkeysToo = true);
    // Lifts what DenyFullAccess or DenyAccess set on this key.
    void AllowAccess(RegRoot root, const std::string& path);

    // Inspection for tests, regardless of refused access.
    [[nodiscard]] bool KeyExists(RegRoot root, const std::string& path) const;
    [[nodiscard]] std::optional<RegValue> GetValue(RegRoot root, const std::string& path,
                                                   const std::string& name) const;

    // Loads "Windows Registry Editor Version 5.00" text: [ROOT\path] and
    // [-ROOT\path] sections; "name"="text", @="text", dword:, hex:, hex(N):
    // (hex(2) and hex(7) hold UTF-16LE text), "name"=- ; ";" comments and
    // "\" line continuations. Throws std::invalid_argument naming the line.
    void LoadRegText(std::string_view text);
    // The same from a file, UTF-8 or UTF-16LE with its byte-order mark.
    void LoadRegFile(const std::filesystem::path& file);

    // "HKEY_CURRENT_USER" (and the short forms such as "HKCU"), any case.
    [[nodiscard]] static std::optional<RegRoot> ParseRootName(std::string_view name);
    // Upper-cases a UTF-8 name the way the registry compares names (ASCII,
    // Latin, Greek and Cyrillic letters).
    [[nodiscard]] static std::string FoldName(std::string_view name);

private:
    std::shared_ptr<SimRegState> state_;
};

}  // namespace nullvane::platform::sim
