#include "platform/sim/SimRegistry.h"

#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "platform/Text.h"

namespace nullvane::platform::sim {

namespace {

struct Node {
    std::string name;  // as stored, case kept
    std::map<std::string, std::shared_ptr<Node>> children;  // by folded name: listed in name order
    std::map<std::string, RegValue> values;                 // by folded name
    Node* parent = nullptr;
    bool deleted = false;
    bool denyFull = false, denyFullBelow = false;
    bool denyAll = false, denyAllBelow = false;
};

// Decodes one code point; malformed bytes pass through one at a time.
uint32_t DecodeUtf8(std::string_view text, size_t& i) {
    auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    uint8_t lead = byte(i);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + static_cast<size_t>(extra) >= text.size()) {
        ++i;
        return lead;
    }
    uint32_t code = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        uint8_t next = byte(i + k);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return lead;
        }
        code = (code << 6) | (next & 0x3F);
    }
    i += static_cast<size_t>(extra) + 1;
    return code;
}


uint32_t UpperCodePoint(uint32_t c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c < 0x80) return c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return (c & 1) ? c - 1 : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : c - 1;
    if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3CB)) return c - 0x20;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

std::string Utf16LeToUtf8(const std::vector<uint8_t>& bytes) {
    std::string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t unit = bytes[i] | (bytes[i + 1] << 8);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            uint32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(out, unit);
    }
    return out;
}

// Splits "a\b\c" into its names; a leading and a trailing "\" are allowed.
// nullopt for an empty name inside the path.
std::optional<std::vector<std::string>> SplitPath(const std::string& path) {
    std::string_view rest = path;
    if (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
    if (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
    std::vector<std::string> names;
    if (rest.empty()) return names;
    for (;;) {
        size_t slash = rest.find('\\');
        std::string_view name = rest.substr(0, slash);
        if (name.empty()) return std::nullopt;
        names.emplace_back(name);
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    return names;
}

}  // namespace

struct SimRegState {
    std::mutex mutex;
    std::map<RegRoot, std::shared_ptr<Node>> roots;

    SimRegState() {
        for (RegRoot root : {RegRoot::ClassesRoot, RegRoot::CurrentUser, RegRoot::LocalMachine, RegRoot::Users,
                             RegRoot::CurrentConfig})
            roots[root] = std::make_shared<Node>();
    }

    std::shared_ptr<Node> Find(RegRoot root, const std::string& path) {
        auto names = SplitPath(path);
        if (!names) return nullptr;
        std::shared_ptr<Node> node = roots.at(root);
        for (const auto& name : *names) {
            auto it = node->children.find(SimRegistry::FoldName(name));
            if (it == node->children.end()) return nullptr;
            node = it->second;
        }
        return node;
    }

    std::shared_ptr<Node> Create(RegRoot root, const std::string& path) {
        auto names = SplitPath(path);
        if (!names) return nullptr;
        std::shared_ptr<Node> node = roots.at(root);
        for (const auto& name : *names) {
            auto& slot = node->children[SimRegistry::FoldName(name)];
            if (!slot) {
                slot = std::make_shared<Node>();
                slot->name = name;
                slot->parent = node.get();
            }
            node = slot;
        }
        return node;
    }

    static bool FullDenied(const Node* node) {
        if (node->denyFull || node->denyAll) return true;
        for (const Node* up = node->parent; up; up = up->parent)
            if (up->denyFullBelow || up->denyAllBelow) return true;
        return false;
    }

    static bool AllDenied(const Node* node) {
        if (node->denyAll) return true;
        for (const Node* up = node->parent; up; up = up->parent)
            if (up->denyAllBelow) return true;
        return false;
    }
};

namespace {

// ERROR_KEY_DELETED: the key was removed while it was open.
constexpr uint32_t kKeyDeleted = 1018;

class SimRegistryKey final : public RegistryKey {
public:
    SimRegistryKey(std::shared_ptr<SimRegState> state, std::shared_ptr<Node> node, RegAccess access)
        : state_(std::move(state)), node_(std::move(node)), access_(access) {}

    std::vector<std::string> SubkeyNames() override {
        std::lock_guard lock(state_->mutex);
        std::vector<std::string> names;
        if (node_->deleted) return names;
        for (const auto& [folded, child] : node_->children) names.push_back(child->name);
        return names;
    }

    std::vector<RegValue> Values() override {
        std::lock_guard lock(state_->mutex);
        std::vector<RegValue> values;
        if (node_->deleted) return values;
        for (const auto& [folded, value] : node_->values) values.push_back(value);
        return values;
    }

    TResult<RegValue> QueryValue(const std::string& name) override {
        std::lock_guard lock(state_->mutex);
        if (node_->deleted) return TStatus::Failure(kKeyDeleted);
        auto it = node_->values.find(SimRegistry::FoldName(name));
        if (it == node_->values.end()) return TStatus::Failure(seFileNotFound);
        // A query answers under the name asked for; only listings tell the stored case.
        RegValue value = it->second;
        value.name = name;
        return value;
    }

    TStatus SetValue(const RegValue& value) override {
        std::lock_guard lock(state_->mutex);
        if (node_->deleted) return TStatus::Failure(kKeyDeleted);
        if (access_ != RegAccess::Full) return TStatus::Failure(seAccessDenied);
        auto& slot = node_->values[SimRegistry::FoldName(value.name)];
        // Replacing a value keeps the name's stored case, as the system does.
        std::string storedName = slot.name.empty() ? value.name : slot.name;
        slot = value;
        slot.name = storedName;
        return TStatus::Success();
    }

    TStatus DeleteValue(const std::string& name) override {
        std::lock_guard lock(state_->mutex);
        if (node_->deleted) return TStatus::Failure(kKeyDeleted);
        if (access_ != RegAccess::Full) return TStatus::Failure(seAccessDenied);
        return node_->values.erase(SimRegistry::FoldName(name)) > 0 ? TStatus::Success()
                                                                    : TStatus::Failure(seFileNotFound);
    }

    TStatus DeleteSubkey(const std::string& name) override {
        std::lock_guard lock(state_->mutex);
        if (node_->deleted) return TStatus::Failure(kKeyDeleted);
        if (name.empty() || name.find('\\') != std::string::npos) return TStatus::Failure(seInvalidParameter);
        auto it = node_->children.find(SimRegistry::FoldName(name));
        if (it == node_->children.end()) return TStatus::Failure(seFileNotFound);
        Node* child = it->second.get();
        if (!child->children.empty() || SimRegState::FullDenied(child)) return TStatus::Failure(seAccessDenied);
        child->deleted = true;
        child->parent = nullptr;
        node_->children.erase(it);
        return TStatus::Success();
    }

private:
    std::shared_ptr<SimRegState> state_;
    std::shared_ptr<Node> node_;
    RegAccess access_;
};

}  // namespace

SimRegistry::SimRegistry() : state_(std::make_shared<SimRegState>()) {}
SimRegistry::~SimRegistry() = default;

TResult<RegKeyPtr> SimRegistry::OpenKey(RegRoot root, const std::string& path, RegAccess access) {
    std::lock_guard lock(state_->mutex);
    auto node = state_->Find(root, path);
    if (!node) return TStatus::Failure(seFileNotFound);
    if (SimRegState::AllDenied(node.get())) return TStatus::Failure(seAccessDenied);
    if (access == RegAccess::Full && SimRegState::FullDenied(node.get())) return TStatus::Failure(seAccessDenied);
    return RegKeyPtr(std::make_unique<SimRegistryKey>(state_, node, access));
}

TResult<RegKeyPtr> SimRegistry::CreateKey(RegRoot root, const std::string& path) {
    std::lock_guard lock(state_->mutex);
    auto names = SplitPath(path);
    if (!names) return TStatus::Failure(seInvalidParameter);
    // Walk to the deepest existing key: creating below it needs full access there.
    std::shared_ptr<Node> node = state_->roots.at(root);
    size_t depth = 0;
    for (; depth < names->size(); ++depth) {
        auto it = node->children.find(FoldName((*names)[depth]));
        if (it == node->children.end()) break;
        node = it->second;
    }
    if (SimRegState::FullDenied(node.get())) return TStatus::Failure(seAccessDenied);
    node = state_->Create(root, path);
    return RegKeyPtr(std::make_unique<SimRegistryKey>(state_, node, RegAccess::Full));
}

TStatus SimRegistry::DeleteKey(RegRoot root, const std::string& path) {
    std::lock_guard lock(state_->mutex);
    auto names = SplitPath(path);
    if (!names || names->empty()) return TStatus::Failure(seInvalidParameter);
    auto node = state_->Find(root, path);
    if (!node) return TStatus::Failure(seFileNotFound);
    if (!node->children.empty() || SimRegState::FullDenied(node.get())) return TStatus::Failure(seAccessDenied);
    Node* parent = node->parent;
    parent->children.erase(FoldName(names->back()));
    node->deleted = true;
    node->parent = nullptr;
    return TStatus::Success();
}

void SimRegistry::AddKey(RegRoot root, const std::string& path) {
    std::lock_guard lock(state_->mutex);
    if (!state_->Create(root, path)) throw std::invalid_argument("bad registry path: " + path);
}

void SimRegistry::SetValue(RegRoot root, const std::string& path, const RegValue& value) {
    std::lock_guard lock(state_->mutex);
    auto node = state_->Create(root, path);
    if (!node) throw std::invalid_argument("bad registry path: " + path);
    auto& slot = node->values[FoldName(value.name)];
    std::string storedName = slot.name.empty() ? value.name : slot.name;
    slot = value;
    slot.name = storedName;
}

void SimRegistry::SetString(RegRoot root, const std::string& path, const std::string& name, const std::string& text) {
    SetValue(root, path, RegValue::String(name, text));
}

void SimRegistry::SetDword(RegRoot root, const std::string& path, const std::string& name, uint32_t value) {
    SetValue(root, path, RegValue::Dword(name, value));
}

void SimRegistry::SetBinary(RegRoot root, const std::string& path, const std::string& name,
                            std::vector<uint8_t> bytes) {
    SetValue(root, path, RegValue::Binary(name, std::move(bytes)));
}

void SimRegistry::DenyFullAccess(RegRoot root, const std::string& path, bool subkeysToo) {
    std::lock_guard lock(state_->mutex);
    auto node = state_->Create(root, path);
    if (!node) throw std::invalid_argument("bad registry path: " + path);
    node->denyFull = true;
    node->denyFullBelow = subkeysToo;
}

void SimRegistry::DenyAccess(RegRoot root, const std::string& path, bool subkeysToo) {
    std::lock_guard lock(state_->mutex);
    auto node = state_->Create(root, path);
    if (!node) throw std::invalid_argument("bad registry path: " + path);
    node->denyAll = true;
    node->denyAllBelow = subkeysToo;
}

void SimRegistry::AllowAccess(RegRoot root, const std::string& path) {
    std::lock_guard lock(state_->mutex);
    if (auto node = state_->Find(root, path)) {
        node->denyFull = node->denyFullBelow = false;
        node->denyAll = node->denyAllBelow = false;
    }
}

bool SimRegistry::KeyExists(RegRoot root, const std::string& path) const {
    std::lock_guard lock(state_->mutex);
    return state_->Find(root, path) != nullptr;
}

std::optional<RegValue> SimRegistry::GetValue(RegRoot root, const std::string& path, const std::string& name) const {
    std::lock_guard lock(state_->mutex);
    auto node = state_->Find(root, path);
    if (!node) return std::nullopt;
    auto it = node->values.find(FoldName(name));
    if (it == node->values.end()) return std::nullopt;
    return it->second;
}

std::optional<RegRoot> SimRegistry::ParseRootName(std::string_view name) {
    std::string upper = FoldName(name);
    if (upper == "HKEY_CURRENT_USER" || upper == "HKCU") return RegRoot::CurrentUser;
    if (upper == "HKEY_LOCAL_MACHINE" || upper == "HKLM") return RegRoot::LocalMachine;
    if (upper == "HKEY_CLASSES_ROOT" || upper == "HKCR") return RegRoot::ClassesRoot;
    if (upper == "HKEY_USERS" || upper == "HKU") return RegRoot::Users;
    if (upper == "HKEY_CURRENT_CONFIG" || upper == "HKCC") return RegRoot::CurrentConfig;
    return std::nullopt;
}

std::string SimRegistry::FoldName(std::string_view name) {
    std::string folded;
    folded.reserve(name.size());
    for (size_t i = 0; i < name.size();) AppendUtf8(folded, UpperCodePoint(DecodeUtf8(name, i)));
    return folded;
}

// ---- .reg text ----

namespace {

[[noreturn]] void Fail(size_t line, const std::string& what) {
    throw std::invalid_argument("reg text line " + std::to_string(line) + ": " + what);
}

std::string Trim(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r')) --end;
    return std::string(text.substr(begin, end - begin));
}

// A quoted string starting at text[pos] == '"', with \\ and \" escapes.
std::string ParseQuoted(const std::string& text, size_t& pos, size_t line) {
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\' && pos + 1 < text.size()) c = text[++pos];
        out += c;
    }
    Fail(line, "unterminated string");
}

std::vector<uint8_t> ParseHexBytes(std::string_view text, size_t line) {
    std::vector<uint8_t> bytes;
    std::string token;
    auto flush = [&] {
        if (token.empty()) return;
        if (token.size() > 2) Fail(line, "bad hex byte '" + token + "'");
        try {
            bytes.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
        } catch (const std::exception&) {
            Fail(line, "bad hex byte '" + token + "'");
        }
        token.clear();
    };
    for (char c : text) {
        if (c == ',') {
            if (token.empty()) Fail(line, "empty hex byte");
            flush();
        } else if (c != ' ' && c != '\t') {
            token += c;
        }
    }
    flush();
    return bytes;
}

RegValue ParseData(std::string name, std::string_view data, size_t line) {
    std::string text(data);
    if (!text.empty() && text.front() == '"') {
        size_t pos = 0;
        std::string value = ParseQuoted(text, pos, line);
        if (!Trim(text.substr(pos)).empty()) Fail(line, "text after string value");
        return RegValue::String(std::move(name), value);
    }
    std::string lower;
    for (char c : text) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower.rfind("dword:", 0) == 0) {
        std::string digits = Trim(text.substr(6));
        if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            Fail(line, "bad dword '" + digits + "'");
        return RegValue::Dword(std::move(name), static_cast<uint32_t>(std::stoul(digits, nullptr, 16)));
    }
    if (lower.rfind("hex:", 0) == 0) return RegValue::Binary(std::move(name), ParseHexBytes(text.substr(4), line));
    if (lower.rfind("hex(", 0) == 0) {
        size_t close = text.find("):");
        if (close == std::string::npos) Fail(line, "bad hex(type) value");
        uint32_t type = 0;
        try {
            type = static_cast<uint32_t>(std::stoul(text.substr(4, close - 4), nullptr, 16));
        } catch (const std::exception&) {
            Fail(line, "bad hex(type) value");
        }
        std::vector<uint8_t> bytes = ParseHexBytes(text.substr(close + 2), line);
        if (type == rtString || type == rtExpandString || type == rtMultiString) {
            std::string utf8 = Utf16LeToUtf8(bytes);
            // Stored text carries no terminator; multi-strings keep one zero per string.
            if (type == rtMultiString) {
                if (utf8.size() >= 2 && utf8.compare(utf8.size() - 2, 2, std::string("\0\0", 2)) == 0)
                    utf8.pop_back();
            } else {
                while (!utf8.empty() && utf8.back() == '\0') utf8.pop_back();
            }
            return RegValue::String(std::move(name), utf8, type);
        }
        return RegValue{std::move(name), type, std::move(bytes)};
    }
    Fail(line, "unknown value data '" + text + "'");
}

}  // namespace

void SimRegistry::LoadRegText(std::string_view input) {
    if (input.size() >= 3 && input.substr(0, 3) == "\xEF\xBB\xBF") input.remove_prefix(3);
    // Join continued lines, remembering where each logical line began.
    std::vector<std::pair<size_t, std::string>> lines;
    {
        std::istringstream stream{std::string(input)};
        std::string raw;
        size_t number = 0;
        bool continuing = false;
        while (std::getline(stream, raw)) {
            ++number;
            std::string line = Trim(raw);
            if (continuing) {
                lines.back().second += line;
            } else {
                lines.emplace_back(number, line);
            }
            continuing = !lines.back().second.empty() && lines.back().second.back() == '\\' &&
                         lines.back().second.front() != '[';
            if (continuing) lines.back().second.pop_back();
        }
    }

    std::optional<std::pair<RegRoot, std::string>> current;
    for (const auto& [number, line] : lines) {
        if (line.empty() || line.front() == ';') continue;
        if (line == "Windows Registry Editor Version 5.00" || line == "REGEDIT4") continue;
        if (line.front() == '[') {
            if (line.back() != ']') Fail(number, "unterminated key name");
            std::string full = line.substr(1, line.size() - 2);
            bool remove = !full.empty() && full.front() == '-';
            if (remove) full.erase(0, 1);
            size_t slash = full.find('\\');
            auto root = ParseRootName(full.substr(0, slash));
            if (!root) Fail(number, "unknown root in '" + full + "'");
            std::string path = slash == std::string::npos ? std::string() : full.substr(slash + 1);
            if (remove) {
                std::lock_guard lock(state_->mutex);
                if (auto node = state_->Find(*root, path); node && node->parent) {
                    node->parent->children.erase(FoldName(node->name));
                    node->deleted = true;
                    node->parent = nullptr;
                }
                current.reset();
            } else {
                AddKey(*root, path);
                current.emplace(*root, path);
            }
            continue;
        }
        if (!current) Fail(number, "value outside a key");
        size_t pos = 0;
        std::string name;
        if (line.front() == '@') {
            pos = 1;
        } else if (line.front() == '"') {
            name = ParseQuoted(line, pos, number);
        } else {
            Fail(number, "expected a value name");
        }
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        if (pos >= line.size() || line[pos] != '=') Fail(number, "expected '='");
        std::string data = Trim(std::string_view(line).substr(pos + 1));
        if (data == "-") {
            std::lock_guard lock(state_->mutex);
            if (auto node = state_->Find(current->first, current->second)) node->values.erase(FoldName(name));
            continue;
        }
        SetValue(current->first, current->second, ParseData(name, data, number));
    }
}

void SimRegistry::LoadRegFile(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) throw std::invalid_argument("cannot read " + file.string());
    std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
        LoadRegText(Utf16LeToUtf8(std::vector<uint8_t>(bytes.begin() + 2, bytes.end())));
    } else {
        LoadRegText(bytes);
    }
}

}  // namespace nullvane::platform::sim
