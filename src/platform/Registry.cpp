#include "platform/Registry.h"

#include <cstring>

namespace nullvane::platform {

uint32_t RegValue::AsDword() const {
    uint32_t value = 0;
    std::memcpy(&value, data.data(), data.size() < 4 ? data.size() : 4);
    return value;
}

RegValue RegValue::String(std::string name, const std::string& text, uint32_t type) {
    return RegValue{std::move(name), type, std::vector<uint8_t>(text.begin(), text.end())};
}

RegValue RegValue::Dword(std::string name, uint32_t value) {
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return RegValue{std::move(name), rtDword, std::move(bytes)};
}

RegValue RegValue::Binary(std::string name, std::vector<uint8_t> bytes) {
    return RegValue{std::move(name), rtBinary, std::move(bytes)};
}

TResult<RegValue> Registry::ReadValue(RegRoot root, const std::string& path, const std::string& name) {
    auto key = OpenKey(root, path, RegAccess::Read);
    if (!key) return key.Status();
    return key->QueryValue(name);
}

std::string Registry::ReadString(RegRoot root, const std::string& path, const std::string& name) {
    auto value = ReadValue(root, path, name);
    if (!value || !value->IsString()) return {};
    return value->AsString();
}

}  // namespace nullvane::platform
