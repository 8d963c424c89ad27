#pragma once
// The program's identity, as windows, the CLI and the single-instance check use it.
namespace nullvane::app {

inline constexpr char kProductName[] = "Nullvane";
inline constexpr char kVersionText[] = "3.5";
inline constexpr char kMainWindowClass[] = "Nullvane Made by Quillmark Software";
// Product name, a blank and the version text.
const char* MainCaption();

}  // namespace nullvane::app
