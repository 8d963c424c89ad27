// UTF-8 <-> UTF-16 at the W function call: every name the system gives must
// come back unchanged, also one that holds a surrogate without its partner.
#ifdef _WIN32
#include "platform/win32/WideText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using nullvane::platform::win32::Narrow;
using nullvane::platform::win32::Widen;

TEST(WideText, ValidTextIsPlainUtf8BothWays) {
    const std::wstring wide = L"caf\xE9 \x65E5\x672C \xD83D\xDE00 \x0001";
    const std::string utf8 = "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80 \x01";
    EXPECT_EQ(Narrow(wide), utf8);
    EXPECT_EQ(Widen(utf8), wide);
    EXPECT_EQ(Widen(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(WideText, LoneSurrogatesRoundTripAsThreeByteSequences) {
    EXPECT_EQ(Narrow(L"a\xD800" L"b"), "a\xED\xA0\x80" "b");
    EXPECT_EQ(Narrow(L"\xDFFF"), "\xED\xBF\xBF");
    for (const std::wstring& name : {std::wstring(L"a\xD800" L"b"), std::wstring(L"\xDC00"), std::wstring(L"end\xDBFF"),
                                     std::wstring(L"\xDC00\xD800"), std::wstring(L"\xD800\xD800\xDC00")}) {
        std::string narrow = Narrow(name);
        EXPECT_EQ(Widen(narrow), name) << narrow;
    }
}

TEST(WideText, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(Widen("a\x80" "b"), L"a\xFFFD" L"b");
    EXPECT_EQ(Widen("\xC3"), L"\xFFFD");
    // An overlong backslash must not become a separator.
    EXPECT_EQ(Widen("a\xC1\x9C" "b"), L"a\xFFFD\xFFFD" L"b");
}

}  // namespace
#endif
