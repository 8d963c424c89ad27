#include "platform/win32/WideText.h"

#include "platform/Text.h"

#include <cstdint>

namespace nullvane::platform::win32 {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }


void AppendUtf16(std::wstring& out, uint32_t code) {
    if (code < 0x10000) {
        out += static_cast<wchar_t>(code);
    } else {
        code -= 0x10000;
        out += static_cast<wchar_t>(0xD800 | (code >> 10));
        out += static_cast<wchar_t>(0xDC00 | (code & 0x3FF));
    }
}

constexpr uint32_t kMalformed = 0xFFFFFFFF;

// Decodes one sequence at text[i] and advances past it. A malformed sequence
// gives kMalformed and consumes its longest well-formed start (at least one
// byte), as the system's own conversion does. Three-byte forms of
// U+D800..U+DFFF are accepted: they stand for a surrogate without its partner.

uint32_t DecodeOne(std::string_view text, size_t& i) {
    auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    uint8_t lead = byte(i++);
    if (lead < 0x80) return lead;
    int extra = 0;
    uint32_t code = 0;
    uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        code = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        code = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return kMalformed;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size()) return kMalformed;
        uint8_t next = byte(i);
        if (k == 0 ? (next < low || next > high) : (next & 0xC0) != 0x80) return kMalformed;
        code = (code << 6) | (next & 0x3F);
        ++i;
    }
    return code;
}

}  // namespace

std::wstring Widen(std::string_view text) {
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t code = DecodeOne(text, i);
        if (code == kMalformed) {
            result += kReplacement;
        } else {
            AppendUtf16(result, code);
        }
    }
    return result;
}

std::string Narrow(std::wstring_view text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t unit = static_cast<uint16_t>(text[i]);
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(static_cast<uint16_t>(text[i + 1]))) {
            uint32_t lowUnit = static_cast<uint16_t>(text[++i]);
            AppendUtf8(result, 0x10000 + ((unit - 0xD800) << 10) + (lowUnit - 0xDC00));
        } else {
            // A surrogate without its partner keeps its own three-byte form, so Widen gives it back.
            AppendUtf8(result, unit);
        }
    }
    return result;
}

}  // namespace nullvane::platform::win32
