#pragma once
#include <string>

namespace nullvane::stores {

// The English text of an SQLite result code, as the layer's messages show it.
[[nodiscard]] std::string SQLiteResultText(int code);

}  // namespace nullvane::stores
