#include "platform/CaughtException.h"

#include <exception>
#include <mutex>
#include <utility>

#if defined(_WIN32)
#include "platform/win32/DebugOutput.h"
#else
#include <cstdio>
#endif

namespace nullvane::platform {

namespace {

struct TSinkSlot {
    std::mutex mutex;
    TCaughtExceptionSink sink;
};

TSinkSlot& Slot() {
    static TSinkSlot slot;
    return slot;
}

void WriteDefault(const std::string& line) {
#if defined(_WIN32)
    win32::WriteDebugOutput(line);
#else
    std::fprintf(stderr, "%s\n", line.c_str());
#endif
}

std::string Describe(std::string_view where) {
    std::string line(where);
    line += ": ";
    try {
        throw;
    } catch (const std::exception& error) {
        line += error.what();
    } catch (...) {
        line += "an exception that is not a std::exception";
    }
    return line;
}

}  // namespace

void ReportCaughtException(std::string_view where) noexcept {
    try {
        const std::string line = std::current_exception() ? Describe(where) : std::string(where) + ": nothing caught";
        TCaughtExceptionSink sink;
        {
            std::lock_guard lock(Slot().mutex);
            sink = Slot().sink;
        }
        if (sink) {
            sink(line);
        } else {
            WriteDefault(line);
        }
    } catch (...) {
        // The report itself failed (no memory, a sink that throws): the caller carries on regardless.
    }
}

TCaughtExceptionSink SetCaughtExceptionSink(TCaughtExceptionSink sink) {
    std::lock_guard lock(Slot().mutex);
    return std::exchange(Slot().sink, std::move(sink));
}

}  // namespace nullvane::platform
