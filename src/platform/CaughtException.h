#pragma once
// The one report of a catch-all that must carry on (a window procedure, the
// message loop, the program's entry): what was caught and where, written to
// the debugger's output (standard error in the native build) or to the sink a
// test has put in its place.
#include <functional>
#include <string>
#include <string_view>

namespace nullvane::platform {

// Receives one line: "<where>: <what>".
using TCaughtExceptionSink = std::function<void(const std::string& line)>;

// Call from inside a catch block: reports the exception being handled, with
// its what() when it is a std::exception. Never throws.
void ReportCaughtException(std::string_view where) noexcept;

// Puts a sink in place of the current one and returns the one it replaced;
// an empty sink restores the default writer.
TCaughtExceptionSink SetCaughtExceptionSink(TCaughtExceptionSink sink);

}  // namespace nullvane::platform
