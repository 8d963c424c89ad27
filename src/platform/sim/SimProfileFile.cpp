#include "platform/sim/SimProfileFile.h"

#include <algorithm>
#include <optional>

#include "platform/Text.h"

namespace nullvane::platform::sim {

namespace {

// The text of a profile file is handled in UTF-16, as the system does, so
// that buffer sizes count the same units.
enum class Encoding { Ansi, Utf8, Utf16 };

struct Entry {
    std::u16string name;
    std::optional<std::u16string> value;  // none for a line without "="
};

struct Section {
    std::u16string name;
    std::vector<Entry> entries;
};

struct Document {
    Encoding encoding = Encoding::Ansi;
    // The first section holds the lines above the first header; it has no
    // name and is never listed.
    std::vector<Section> sections{Section{}};
};

// Windows-1252, the ANSI code page the files are read and written in;
// 0x80 to 0x9F differ from Latin-1.
constexpr char16_t kAnsiHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x1A || c == 0x85 || c == 0xA0;
}

std::u16string TrimLeft(std::u16string text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    return text.substr(start);
}

std::u16string TrimRight(std::u16string text) {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    return text;
}

std::u16string Trim(std::u16string text) { return TrimRight(TrimLeft(std::move(text))); }

std::u16string Decode(const std::string& bytes, Encoding& encoding) {
    auto byteAt = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF) {
        encoding = Encoding::Utf8;
        return Utf8ToUtf16(std::string_view(bytes).substr(3));
    }
    std::u16string text;
    if (bytes.size() >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE) {
        encoding = Encoding::Utf16;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text += static_cast<char16_t>(byteAt(i) | (byteAt(i + 1) << 8));
        }
        return text;
    }
    encoding = Encoding::Ansi;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char b = byteAt(i);
        text += (b >= 0x80 && b < 0xA0) ? kAnsiHigh[b - 0x80] : static_cast<char16_t>(b);
    }
    return text;
}

std::string Encode(const std::u16string& text, Encoding encoding) {
    std::string bytes;
    if (encoding == Encoding::Utf8) return "\xEF\xBB\xBF" + Utf16ToUtf8(text);
    if (encoding == Encoding::Utf16) {
        bytes = "\xFF\xFE";
        for (char16_t c : text) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>(c >> 8);
        }
        return bytes;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            bytes += static_cast<char>(c);
            continue;
        }
        char out = '?';  // not in the code page
        for (int k = 0; k < 32; ++k) {
            if (kAnsiHigh[k] == c) out = static_cast<char>(0x80 + k);
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) ++i;  // a pair is one character
        bytes += out;
    }
    return bytes;
}

Document Parse(const std::u16string& text) {
    Document document;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        std::u16string line = text.substr(start, end - start);
        start = end + 1;
        if (end < text.size() && text[end] == u'\r' && start < text.size() && text[start] == u'\n') ++start;

        if (auto nul = line.find(u'\0'); nul != std::u16string::npos) line.resize(nul);
        line = Trim(std::move(line));
        if (line.empty()) continue;
        if (line[0] == u'[') {
            auto close = line.rfind(u']');
            if (close != std::u16string::npos && close > 0) {
                document.sections.push_back(Section{Trim(line.substr(1, close - 1)), {}});
                continue;
            }
        }
        auto equals = line.find(u'=');
        if (equals == std::u16string::npos) {
            document.sections.back().entries.push_back(Entry{line, std::nullopt});
        } else {
            document.sections.back().entries.push_back(
                Entry{TrimRight(line.substr(0, equals)), TrimLeft(line.substr(equals + 1))});
        }
    }
    return document;
}

std::u16string Serialize(const Document& document) {
    std::u16string text;
    for (size_t i = 0; i < document.sections.size(); ++i) {
        const Section& section = document.sections[i];
        if (i > 0) text += u"[" + section.name + u"]\r\n";
        for (const Entry& entry : section.entries) {
            text += entry.name;
            if (entry.value) text += u"=" + *entry.value;
            text += u"\r\n";
        }
    }
    return text;
}

Section* FindSection(Document& document, const std::string& name) {
    std::u16string wanted = Trim(Utf8ToUtf16(name));
    for (Section& section : document.sections) {
        if (SystemEqualsIgnoreCase(section.name, wanted)) return &section;
    }
    return nullptr;
}

std::vector<Entry>::iterator FindEntry(Section& section, const std::string& name) {
    std::u16string wanted = Trim(Utf8ToUtf16(name));
    for (auto it = section.entries.begin(); it != section.entries.end(); ++it) {
        if (SystemEqualsIgnoreCase(it->name, wanted)) return it;
    }
    return section.entries.end();
}

bool IsComment(const Entry& entry) { return !entry.name.empty() && entry.name[0] == u';'; }

// A list of names as the system packs it into a buffer of `size` units: each
// name and its terminating zero while at least two units are left, the last
// one cut to fit.
std::vector<std::string> Pack(const std::vector<std::u16string>& names, size_t size) {
    std::vector<std::string> result;
    size_t left = size;
    for (const std::u16string& name : names) {
        if (left <= 2) break;
        size_t take = std::min(name.size(), left - 2);
        result.push_back(Utf16ToUtf8(std::u16string_view(name).substr(0, take)));
        left -= take + 1;
        if (left < 2) break;
    }
    return result;
}

struct Loaded {
    bool exists = false;
    std::optional<Document> document;  // none if the file exists but cannot be read
};

Loaded Load(FileSystem& files, const std::string& file) {
    Loaded loaded;
    auto attributes = files.GetAttributes(file);
    if (!attributes) return loaded;
    loaded.exists = true;
    if (*attributes & faDirectory) return loaded;
    auto bytes = files.ReadAll(file);
    if (!bytes) return loaded;
    Encoding encoding = Encoding::Ansi;
    std::u16string text = Decode(*bytes, encoding);
    loaded.document = Parse(text);
    loaded.document->encoding = encoding;
    return loaded;
}

bool Save(FileSystem& files, const std::string& file, const Document& document) {
    return files.WriteAll(file, Encode(Serialize(document), document.encoding)).Succeeded();
}

}  // namespace

std::string SimProfileFile::GetString(const std::string& file, const std::string& section, const std::string& key,
                                      const std::string& def, size_t bufferSize) {
    if (bufferSize == 0) return {};
    std::optional<std::u16string> value;
    Loaded loaded = Load(files_, file);
    if (loaded.document) {
        if (Section* found = FindSection(*loaded.document, section)) {
            auto entry = FindEntry(*found, key);
            if (entry != found->entries.end() && entry->value) value = *entry->value;
        }
    }
    std::u16string result;
    if (value) {
        result = *value;
        // One pair of matching quotes around the value is taken off.
        if (result.size() >= 2 && (result[0] == u'"' || result[0] == u'\'') && result.back() == result[0]) {
            result = result.substr(1, result.size() - 2);
        }
    } else {
        result = Utf8ToUtf16(def);
        while (!result.empty() && result.back() == u' ') result.pop_back();
    }
    if (result.size() > bufferSize - 1) result.resize(bufferSize - 1);
    return Utf16ToUtf8(result);
}

bool SimProfileFile::WriteString(const std::string& file, const std::string& section, const std::string& key,
                                 const std::string& value) {
    Loaded loaded = Load(files_, file);
    if (loaded.exists && !loaded.document) return false;
    Document document = loaded.document ? std::move(*loaded.document) : Document{};
    // Leading blanks of the names and the value are dropped; trailing ones
    // stay until the file is read again.
    std::u16string newValue = TrimLeft(Utf8ToUtf16(value));
    Section* target = FindSection(document, section);
    if (!target) {
        document.sections.push_back(Section{TrimLeft(Utf8ToUtf16(section)), {}});
        target = &document.sections.back();
    }
    auto entry = FindEntry(*target, key);
    if (entry != target->entries.end()) {
        if (entry->value == newValue) return true;  // unchanged: the file is not touched
        entry->value = newValue;
    } else {
        target->entries.push_back(Entry{TrimLeft(Utf8ToUtf16(key)), newValue});
    }
    return Save(files_, file, document);
}

std::vector<std::string> SimProfileFile::SectionNames(const std::string& file, size_t bufferSize) {
    Loaded loaded = Load(files_, file);
    std::vector<std::u16string> names;
    if (loaded.document) {
        for (size_t i = 1; i < loaded.document->sections.size(); ++i) {
            if (!loaded.document->sections[i].name.empty()) names.push_back(loaded.document->sections[i].name);
        }
    }
    return Pack(names, bufferSize);
}

std::vector<std::string> SimProfileFile::KeyNames(const std::string& file, const std::string& section,
                                                  size_t bufferSize) {
    Loaded loaded = Load(files_, file);
    std::vector<std::u16string> names;
    if (loaded.document) {
        if (Section* found = FindSection(*loaded.document, section)) {
            // Comment lines and lines without "=" are no keys.
            for (const Entry& entry : found->entries) {
                if (entry.value && !IsComment(entry)) names.push_back(entry.name);
            }
        }
    }
    return Pack(names, bufferSize);
}

bool SimProfileFile::EraseSection(const std::string& file, const std::string& section) {
    Loaded loaded = Load(files_, file);
    if (!loaded.exists) return true;
    if (!loaded.document) return false;
    Document& document = *loaded.document;
    Section* found = FindSection(document, section);
    if (!found) return true;
    if (found == &document.sections.front()) {
        found->entries.clear();
    } else {
        document.sections.erase(document.sections.begin() + (found - document.sections.data()));
    }
    return Save(files_, file, document);
}

bool SimProfileFile::EraseKey(const std::string& file, const std::string& section, const std::string& key) {
    Loaded loaded = Load(files_, file);
    if (!loaded.exists) return true;
    if (!loaded.document) return false;
    Section* found = FindSection(*loaded.document, section);
    if (!found) return true;
    auto entry = FindEntry(*found, key);
    if (entry == found->entries.end()) return true;
    found->entries.erase(entry);
    return Save(files_, file, *loaded.document);
}

}  // namespace nullvane::platform::sim
