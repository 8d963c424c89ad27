#include "platform/win32/LongPath.h"

#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

namespace {

// Below the shortest limit of the path functions (CreateDirectoryW leaves
// room for an 8.3 name under MAX_PATH).
constexpr size_t kPlainLimit = 248;

bool NeedsLongForm(const std::wstring& path, bool lastIsMask) {
    bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    bool share = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
    if (!drive && !share) return false;
    if (path.find(L'/') != std::wstring::npos) return false;
    bool trimmedName = false;
    size_t start = drive ? 3 : 2;
    while (start < path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        std::wstring_view name(path.data() + start, end - start);
        if (name == L"." || name == L"..") return false;
        bool last = end == path.size();
        if (!name.empty() && (name.back() == L'.' || name.back() == L' ') && !(last && lastIsMask)) trimmedName = true;
        start = end + 1;
    }
    return trimmedName || path.size() >= kPlainLimit;
}

}  // namespace

std::wstring WidePath(const std::string& path, bool lastIsMask) {
    std::wstring wide = Widen(path);
    if (!NeedsLongForm(wide, lastIsMask)) return wide;
    if (wide[0] == L'\\') return L"\\\\?\\UNC\\" + wide.substr(2);
    return L"\\\\?\\" + wide;
}

std::wstring WithoutLongPrefix(std::wstring path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
    return path;
}

}  // namespace nullvane::platform::win32
