#pragma once
// What the process's standard streams are connected to.
namespace nullvane::platform::win32 {

// Standard error is a console window (not a file, pipe or nothing), so a
// line there may be redrawn in place.
[[nodiscard]] bool StandardErrorIsConsole();

}  // namespace nullvane::platform::win32
