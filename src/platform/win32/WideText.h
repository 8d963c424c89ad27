#pragma once
// UTF-8 above the platform layer, UTF-16 at the W function call.
//
// The system's names are UTF-16 that need not be well formed: a surrogate
// without its partner is kept by Narrow as its own three-byte sequence and
// turned back into that surrogate by Widen, so every name the system gives
// can be handed back to it. Well-formed text converts as plain UTF-8;
// malformed UTF-8 becomes U+FFFD.
#include <string>
#include <string_view>

namespace nullvane::platform::win32 {

[[nodiscard]] std::wstring Widen(std::string_view text);
[[nodiscard]] std::string Narrow(std::wstring_view text);

}  // namespace nullvane::platform::win32
