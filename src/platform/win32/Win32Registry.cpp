#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

namespace {

HKEY RootKey(RegRoot root) {
    switch (root) {
        case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
        case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RegRoot::Users: return HKEY_USERS;
        case RegRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    }
    return HKEY_CURRENT_USER;
}

std::wstring KeyPath(const std::string& path) {
    std::string_view rest = path;
    if (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
    return Widen(rest);
}

// A registry call's own answer as a status.
TStatus StatusOfCode(LONG rc) {
    return rc == ERROR_SUCCESS ? TStatus::Success() : TStatus::Failure(static_cast<uint32_t>(rc));
}

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Registry data as stored (UTF-16 for the text types) to the UTF-8 form of RegValue.
RegValue FromRaw(std::string name, DWORD type, const BYTE* bytes, DWORD size) {
    RegValue value{std::move(name), type, {}};
    if (!IsTextType(type)) {
        value.data.assign(bytes, bytes + size);
        return value;
    }
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (!text.empty()) memcpy(text.data(), bytes, text.size() * sizeof(wchar_t));
    std::string utf8;
    if (type == REG_MULTI_SZ) {
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        if (!text.empty()) utf8 = Narrow(text) + '\0';
    } else {
        // Text ends at its first terminator, as the program reads strings.
        size_t end = text.find(L'\0');
        utf8 = Narrow(std::wstring_view(text).substr(0, end));
    }
    value.data.assign(utf8.begin(), utf8.end());
    return value;
}

std::vector<BYTE> ToRaw(const RegValue& value) {
    if (!IsTextType(value.type)) return std::vector<BYTE>(value.data.begin(), value.data.end());
    std::wstring text = Widen(std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size()));
    if (value.type == REG_MULTI_SZ && (text.empty() || text.back() != L'\0')) text += L'\0';
    text += L'\0';
    const BYTE* begin = reinterpret_cast<const BYTE*>(text.data());
    return std::vector<BYTE>(begin, begin + text.size() * sizeof(wchar_t));
}

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { RegCloseKey(key_); }

    std::vector<std::string> SubkeyNames() override {
        std::vector<std::string> names;
        std::vector<wchar_t> name(256);
        for (DWORD index = 0;;) {
            DWORD length = static_cast<DWORD>(name.size());
            LONG rc = RegEnumKeyExW(key_, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_MORE_DATA && name.size() < 32768) {
                name.resize(name.size() * 4);
                continue;
            }
            if (rc != ERROR_SUCCESS) break;
            names.push_back(Narrow(std::wstring_view(name.data(), length)));
            ++index;
        }
        return names;
    }

    std::vector<RegValue> Values() override {
        std::vector<RegValue> values;
        DWORD maxName = 0, maxData = 0;
        if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                             nullptr, nullptr) != ERROR_SUCCESS)
            return values;
        std::vector<wchar_t> name(maxName + 1);
        std::vector<BYTE> data(maxData + 2);
        for (DWORD index = 0;;) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD dataSize = static_cast<DWORD>(data.size());
            DWORD type = 0;
            LONG rc = RegEnumValueW(key_, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
            if (rc == ERROR_MORE_DATA) {
                // A value grew while listing: take the new sizes and ask again.
                if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                                     &maxData, nullptr, nullptr) != ERROR_SUCCESS)
                    break;
                name.resize(std::max<size_t>(name.size() * 2, maxName + 1));
                data.resize(std::max<size_t>(data.size() * 2, maxData + 2));
                continue;
            }
            if (rc != ERROR_SUCCESS) break;
            values.push_back(FromRaw(Narrow(std::wstring_view(name.data(), nameLength)), type, data.data(), dataSize));
            ++index;
        }
        return values;
    }

    TResult<RegValue> QueryValue(const std::string& name) override {
        std::wstring wideName = Widen(name);
        DWORD type = 0, size = 0;
        if (LONG rc = RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, nullptr, &size); rc != ERROR_SUCCESS)
            return TStatus::Failure(static_cast<uint32_t>(rc));
        std::vector<BYTE> data;
        for (int attempt = 0; attempt < 4; ++attempt) {
            data.resize(size + 2);
            DWORD got = static_cast<DWORD>(data.size());
            LONG rc = RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, data.data(), &got);
            if (rc == ERROR_SUCCESS) return FromRaw(name, type, data.data(), got);
            if (rc != ERROR_MORE_DATA) return TStatus::Failure(static_cast<uint32_t>(rc));
            size = got;
        }
        return TStatus::Failure(ERROR_MORE_DATA);
    }

    TStatus SetValue(const RegValue& value) override {
        std::vector<BYTE> raw = ToRaw(value);
        return StatusOfCode(RegSetValueExW(key_, Widen(value.name).c_str(), 0, value.type, raw.data(),
                                           static_cast<DWORD>(raw.size())));
    }

    TStatus DeleteValue(const std::string& name) override {
        return StatusOfCode(RegDeleteValueW(key_, Widen(name).c_str()));
    }

    TStatus DeleteSubkey(const std::string& name) override {
        if (name.empty()) return TStatus::Failure(ERROR_INVALID_PARAMETER);
        return StatusOfCode(RegDeleteKeyW(key_, Widen(name).c_str()));
    }

private:
    HKEY key_;
};

}  // namespace

TResult<RegKeyPtr> Win32Registry::OpenKey(RegRoot root, const std::string& path, RegAccess access) {
    HKEY key = nullptr;
    REGSAM rights = access == RegAccess::Full ? KEY_ALL_ACCESS : KEY_READ;
    if (LONG rc = RegOpenKeyExW(RootKey(root), KeyPath(path).c_str(), 0, rights, &key); rc != ERROR_SUCCESS)
        return TStatus::Failure(static_cast<uint32_t>(rc));
    return RegKeyPtr(std::make_unique<Win32RegistryKey>(key));
}

TResult<RegKeyPtr> Win32Registry::CreateKey(RegRoot root, const std::string& path) {
    HKEY key = nullptr;
    if (LONG rc = RegCreateKeyExW(RootKey(root), KeyPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
        rc != ERROR_SUCCESS)
        return TStatus::Failure(static_cast<uint32_t>(rc));
    return RegKeyPtr(std::make_unique<Win32RegistryKey>(key));
}

TStatus Win32Registry::DeleteKey(RegRoot root, const std::string& path) {
    std::wstring widePath = KeyPath(path);
    if (widePath.empty()) return TStatus::Failure(ERROR_INVALID_PARAMETER);
    return StatusOfCode(RegDeleteKeyW(RootKey(root), widePath.c_str()));
}

}  // namespace nullvane::platform::win32
