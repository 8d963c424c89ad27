#include <gtest/gtest.h>

#include "platform/CaughtException.h"
#include "support/CaughtExceptionRecorder.h"

#include <stdexcept>

namespace nullvane::platform {
namespace {

using nullvane::testing::TCaughtExceptionRecorder;

TEST(CaughtExceptionReport, NamesThePlaceAndWhatWasCaughtAndGivesTheDefaultBackAfterwards) {
    {
        TCaughtExceptionRecorder recorder;
        try {
            throw std::runtime_error("disk on fire");
        } catch (...) {
            ReportCaughtException("timer tick");
        }
        try {
            throw 7;
        } catch (...) {
            ReportCaughtException("list box paint");
        }
        const auto lines = recorder.Lines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], "timer tick: disk on fire");
        EXPECT_EQ(lines[1], "list box paint: an exception that is not a std::exception");
    }
#if !defined(_WIN32)
    ::testing::internal::CaptureStderr();
    try {
        throw std::logic_error("after the recorder");
    } catch (...) {
        ReportCaughtException("message loop");
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "message loop: after the recorder\n");
#endif
}

TEST(CaughtExceptionReport, ASinkThatThrowsDoesNotTakeTheCallerDown) {
    const auto previous = SetCaughtExceptionSink([](const std::string&) { throw std::runtime_error("sink broke"); });
    try {
        throw std::runtime_error("first");
    } catch (...) {
        ReportCaughtException("window procedure");
    }
    // Getting here is the check: the report is noexcept, so an escaping
    // exception would have ended the program.
    SetCaughtExceptionSink(previous);
}

}  // namespace
}  // namespace nullvane::platform
