#include "platform/win32/Win32ProfileFile.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

namespace {

DWORD BufferUnits(size_t bufferSize) { return static_cast<DWORD>(std::min<size_t>(bufferSize, 0x7FFFFFFF)); }

// A list of zero-terminated names as the system fills it; `length` is the
// count it returned, not counting the final zero.
std::vector<std::string> SplitNames(const std::vector<wchar_t>& buffer, DWORD length) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start < length) {
        size_t end = start;
        while (end < buffer.size() && buffer[end] != L'\0') ++end;
        names.push_back(Narrow(std::wstring_view(buffer.data() + start, end - start)));
        start = end + 1;
    }
    return names;
}

}  // namespace

std::string Win32ProfileFile::GetString(const std::string& file, const std::string& section, const std::string& key,
                                        const std::string& def, size_t bufferSize) {
    if (bufferSize == 0) return {};
    DWORD units = BufferUnits(bufferSize);
    std::vector<wchar_t> buffer(units, L'\0');
    DWORD length = GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(def).c_str(),
                                            buffer.data(), units, Widen(file).c_str());
    return Narrow(std::wstring_view(buffer.data(), std::min<DWORD>(length, units - 1)));
}

bool Win32ProfileFile::WriteString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& value) {
    return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                      Widen(file).c_str()) != 0;
}

std::vector<std::string> Win32ProfileFile::SectionNames(const std::string& file, size_t bufferSize) {
    if (bufferSize == 0) return {};
    DWORD units = BufferUnits(bufferSize);
    std::vector<wchar_t> buffer(units, L'\0');
    DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), units, Widen(file).c_str());
    return SplitNames(buffer, std::min<DWORD>(length, units - 1));
}

std::vector<std::string> Win32ProfileFile::KeyNames(const std::string& file, const std::string& section,
                                                    size_t bufferSize) {
    if (bufferSize == 0) return {};
    DWORD units = BufferUnits(bufferSize);
    std::vector<wchar_t> buffer(units, L'\0');
    DWORD length = GetPrivateProfileStringW(Widen(section).c_str(), nullptr, L"", buffer.data(), units,
                                            Widen(file).c_str());
    return SplitNames(buffer, std::min<DWORD>(length, units - 1));
}

bool Win32ProfileFile::EraseSection(const std::string& file, const std::string& section) {
    return WritePrivateProfileStringW(Widen(section).c_str(), nullptr, nullptr, Widen(file).c_str()) != 0;
}

bool Win32ProfileFile::EraseKey(const std::string& file, const std::string& section, const std::string& key) {
    return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), nullptr, Widen(file).c_str()) != 0;
}

int Win32ProfileFile::GetInt(const std::string& file, const std::string& section, const std::string& key, int def) {
    return static_cast<int>(GetPrivateProfileIntW(Widen(section).c_str(), Widen(key).c_str(), def,
                                                  Widen(file).c_str()));
}

}  // namespace nullvane::platform::win32
