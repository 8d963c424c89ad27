#include "platform/win32/StandardStreams.h"

#include <windows.h>

namespace nullvane::platform::win32 {

bool StandardErrorIsConsole() {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) return false;
    // A console answers GetConsoleMode; a file, a pipe or NUL does not.
    DWORD mode = 0;
    return GetFileType(error) == FILE_TYPE_CHAR && GetConsoleMode(error, &mode);
}

}  // namespace nullvane::platform::win32
