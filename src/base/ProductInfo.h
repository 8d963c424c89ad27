#pragma once
// The program's identity, as windows, the CLI and the single-instance check use it.
#include "NullvaneVersion.h"

namespace nullvane::base {

inline constexpr char kProductName[] = "Nullvane";
// The project's version (CMakeLists.txt).
inline constexpr char kVersionText[] = NULLVANE_VERSION_TEXT;
inline constexpr char kMainWindowClass[] = "Nullvane Made by Quillmark Software";
// Product name, a blank and the version text.
const char* MainCaption();

}  // namespace nullvane::base
