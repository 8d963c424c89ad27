#include "stores/Winapp2File.h"

#include <array>
#include <utility>

#include "platform/Text.h"

namespace nullvane::stores {

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

using platform::EqualsIgnoreCase;

// "FileKey12" is the numbered key "FileKey"; "Detect" and "Detect1" are
// both "Detect"; anything else after the stem is another key.
bool IsNumbered(std::string_view key, std::string_view stem, bool numberRequired) {
    if (key.size() < stem.size() || !EqualsIgnoreCase(key.substr(0, stem.size()), stem)) return false;
    const std::string_view number = key.substr(stem.size());
    if (number.empty()) return !numberRequired;
    if (number.size() > 4) return false;
    for (char c : number)
        if (c < '0' || c > '9') return false;
    return true;
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    for (;;) {
        const size_t at = text.find(separator);
        parts.emplace_back(Trimmed(text.substr(0, at)));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

std::optional<TWinapp2FileKey> ParseFileKey(std::string_view value) {
    const std::vector<std::string> parts = Split(value, '|');
    if (parts.size() < 2 || parts.size() > 3 || parts[0].empty()) return std::nullopt;
    TWinapp2FileKey key;
    key.Folder = parts[0];
    for (std::string& mask : Split(parts[1], ';'))
        if (!mask.empty()) key.Masks.push_back(std::move(mask));
    if (key.Masks.empty()) return std::nullopt;
    if (parts.size() == 3 && !parts[2].empty()) {
        if (EqualsIgnoreCase(parts[2], "RECURSE"))
            key.Flag = TWinapp2FileKey::fkRecurse;
        else if (EqualsIgnoreCase(parts[2], "REMOVESELF"))
            key.Flag = TWinapp2FileKey::fkRemoveSelf;
        else
            return std::nullopt;
    }
    return key;
}

std::optional<TWinapp2RegKey> ParseRegKey(std::string_view value) {
    const std::vector<std::string> parts = Split(value, '|');
    if (parts.size() > 2 || parts[0].empty()) return std::nullopt;
    TWinapp2RegKey key{parts[0], std::nullopt};
    if (parts.size() == 2) {
        // An empty value name would mean every value of the key.
        if (parts[1].empty()) return std::nullopt;
        key.Value = parts[1];
    }
    return key;
}

std::optional<TWinapp2ExcludeKey> ParseExcludeKey(std::string_view value) {
    const std::vector<std::string> parts = Split(value, '|');
    if (parts.size() < 2 || parts[1].empty()) return std::nullopt;
    TWinapp2ExcludeKey key;
    key.Where = parts[1];
    if (EqualsIgnoreCase(parts[0], "REG")) {
        if (parts.size() != 2) return std::nullopt;
        key.Kind = TWinapp2ExcludeKey::ekRegistry;
        return key;
    }
    if (EqualsIgnoreCase(parts[0], "FILE"))
        key.Kind = TWinapp2ExcludeKey::ekFile;
    else if (EqualsIgnoreCase(parts[0], "PATH"))
        key.Kind = TWinapp2ExcludeKey::ekPath;
    else
        return std::nullopt;
    if (parts.size() > 3) return std::nullopt;
    if (parts.size() == 3)
        for (std::string& name : Split(parts[2], ';'))
            if (!name.empty()) key.Names.push_back(std::move(name));
    // A FILE exclusion names files; a PATH without masks keeps the folder whole.
    if (key.Kind == TWinapp2ExcludeKey::ekFile && key.Names.empty()) return std::nullopt;
    return key;
}

// One "Key=Value" line of an entry; false when it does not fit.
bool TakeLine(TWinapp2Entry& entry, std::string_view key, std::string_view value) {
    if (IsNumbered(key, "FileKey", true)) {
        auto fileKey = ParseFileKey(value);
        if (!fileKey) return false;
        entry.FileKeys.push_back(std::move(*fileKey));
    } else if (IsNumbered(key, "RegKey", true)) {
        auto regKey = ParseRegKey(value);
        if (!regKey) return false;
        entry.RegKeys.push_back(std::move(*regKey));
    } else if (IsNumbered(key, "ExcludeKey", true)) {
        auto excludeKey = ParseExcludeKey(value);
        if (!excludeKey) {
            entry.DamagedExcludeKey = true;
            return false;
        }
        entry.ExcludeKeys.push_back(std::move(*excludeKey));
    } else if (IsNumbered(key, "DetectFile", false)) {
        if (value.empty()) return false;
        entry.DetectFiles.emplace_back(value);
    } else if (IsNumbered(key, "Detect", false)) {
        if (value.empty()) return false;
        entry.Detects.emplace_back(value);
    } else if (EqualsIgnoreCase(key, "LangSecRef")) {
        entry.Group = Winapp2GroupOf(value);
    } else if (EqualsIgnoreCase(key, "Section")) {
        entry.Group = value;
    } else if (EqualsIgnoreCase(key, "Warning")) {
        entry.Warning = value;
    } else if (EqualsIgnoreCase(key, "DetectOS") || EqualsIgnoreCase(key, "SpecialDetect") ||
               EqualsIgnoreCase(key, "Default")) {
        // Older keys, read and ignored.
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::string Winapp2GroupOf(std::string_view langSecRef) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kGroups = {{
        {"3021", "Applications"},
        {"3022", "Internet"},
        {"3023", "Multimedia"},
        {"3024", "Utilities"},
        {"3025", "Windows"},
        {"3026", "Firefox"},
        {"3029", "Chrome"},
        {"3033", "Vivaldi"},
        {"3034", "Brave"},
    }};
    for (const auto& [number, group] : kGroups)
        if (number == langSecRef) return std::string(group);
    return std::string(langSecRef);
}

TWinapp2File ParseWinapp2(std::string_view text) {
    TWinapp2File file;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    TWinapp2Entry* entry = nullptr;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';') continue;
        // A NUL never belongs in the text file: the line is damage.
        if (line.find('\0') != std::string_view::npos) {
            ++file.MalformedLines;
            if (line.front() == '[') entry = nullptr;  // a damaged header: its keys belong to no entry
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) {
                ++file.MalformedLines;
                entry = nullptr;  // the keys that follow belong to no entry
                continue;
            }
            std::string_view name = Trimmed(line.substr(1, line.size() - 2));
            // The trailing " *" marks the catalogue's own entries; a name of a star alone is none.
            if (name == "*") name = {};
            if (name.size() >= 2 && name.substr(name.size() - 2) == " *") name = Trimmed(name.substr(0, name.size() - 2));
            if (name.empty()) {
                ++file.MalformedLines;
                entry = nullptr;
                continue;
            }
            file.Entries.push_back(TWinapp2Entry{std::string(name)});
            entry = &file.Entries.back();
            continue;
        }
        const size_t equals = line.find('=');
        if (!entry || equals == std::string_view::npos || equals == 0 ||
            !TakeLine(*entry, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))))
            ++file.MalformedLines;
    }
    return file;
}

}  // namespace nullvane::stores
