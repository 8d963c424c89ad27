#pragma once
// The values a statement can be given, bound by position; and the cells a
// query gives back.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace nullvane::stores {

// Bytes in memory, bound from the current position to the end; the bytes
// must outlive the statement.
struct TSQLiteMemoryStream {
    std::span<const uint8_t> Bytes;
    size_t Position = 0;
};

// A value for BindData. The empty alternative is a value of no kind, which
// cannot be bound. A pointer may only be null; a stream pointer is read from
// its start.
using TSQLiteValue = std::variant<std::monostate, int32_t, bool, double, int64_t, std::nullptr_t, const void*, char,
                                  std::string, const char*, char16_t, std::u16string, TSQLiteMemoryStream,
                                  std::istream*>;

// How a result column is read, fixed by the first row.
enum TSQLiteColumnKind : int {
    ckInteger = 1,
    ckFloat = 2,
    ckText = 3,
    ckBlob = 4,
    ckNull = 5,
};

// A fetched cell: empty for NULL (and for a blob of no bytes).
using TSQLiteCell = std::variant<std::monostate, int64_t, double, std::string, std::vector<uint8_t>>;

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace nullvane::stores
