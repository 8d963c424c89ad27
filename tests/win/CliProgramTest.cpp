// nullvane-cli.exe started for real, as scripts start it.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/Text.h"
#include "platform/win32/Win32SessionLocks.h"
#include "platform/win32/WideText.h"
#include "run/RemovingRunLock.h"
#include "base/Texts.h"
#include "indexdat/IndexDatBuilder.h"
#include "win/CliProgram.h"

using nullvane::testing::RunCliProgram;
using nullvane::testing::TCliResult;

TEST(CliProgram, ListPrintsTheCatalogue) {
    TCliResult result = RunCliProgram("--list");
    ASSERT_EQ(result.Status, 0) << result.Err;
    ASSERT_GE(result.Out.size(), 70u);  // ten categories and sixty fixed items, then applications
    EXPECT_EQ(result.Out[0], "Internet Explorer");
    EXPECT_EQ(result.Out[1], "  Internet Explorer - Recently Typed URLs");
    EXPECT_EQ(result.Out.back(), "  Custom Lists - <New List>");
}

TEST(CliProgram, PreviewPrintsTheRunsLinesInTreeOrder) {
    TCliResult result = RunCliProgram("--preview \"Windows - Clipboard\" \"Opera - Transfers\"");
    ASSERT_EQ(result.Status, 0) << result.Err;
    const auto& out = result.Out;
    ASSERT_EQ(out.size(), 12u);
    EXPECT_EQ(out[0], "Test: Clearing Opera - Transfers ...");
    EXPECT_EQ(out[1], "");
    EXPECT_NE(out[2].find(" items will be removed; "), std::string::npos);
    EXPECT_EQ(out[4], std::string(107, '-'));
    EXPECT_EQ(out[5], "Test: Clearing Windows - Clipboard ...");
    EXPECT_EQ(out[10].rfind("Total items will be removed = ", 0), 0u);
    EXPECT_EQ(out[11], std::string(107, '-'));
}

TEST(CliProgram, BadInputIsStatusTwoAndNamesTheCulprit) {
    TCliResult option = RunCliProgram("--preview --bogus");
    EXPECT_EQ(option.Status, 2);
    EXPECT_NE(option.Err.find("--bogus"), std::string::npos);
    EXPECT_TRUE(option.Out.empty());

    TCliResult item = RunCliProgram("--preview \"Windows - No Such Item\"");
    EXPECT_EQ(item.Status, 2);
    EXPECT_NE(item.Err.find("Windows - No Such Item"), std::string::npos);
    EXPECT_TRUE(item.Out.empty());
}

TEST(CliProgram, CleanWithoutConsoleInputRemovesNothing) {
    TCliResult result = RunCliProgram("--clean \"Windows - Clipboard\"");
    EXPECT_EQ(result.Status, 1);
    for (const auto& line : result.Out) EXPECT_EQ(line.find("Clearing"), std::string::npos) << line;
}

TEST(CliProgram, CleanWhileAnotherProgramRemovesWaitsThenIsStatusSix) {
    using namespace std::chrono_literals;
    // This test process stands for the window's Clean.
    nullvane::platform::win32::Win32SessionLocks locks;
    auto held = nullvane::run::AcquireRemovingRun(locks);
    ASSERT_TRUE(held);
    const auto start = std::chrono::steady_clock::now();
    TCliResult refused = RunCliProgram("--clean --yes \"Windows - Clipboard\"");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(refused.Status, 6) << refused.Err;
    EXPECT_NE(refused.Err.find(nullvane::base::texts::kAnotherRunRemoving), std::string::npos) << refused.Err;
    for (const auto& line : refused.Out) EXPECT_EQ(line.find("Clearing"), std::string::npos) << line;
    EXPECT_GE(waited, 4500ms) << "it waited for the other run first";
    EXPECT_LT(waited, 60s);

    // A preview is not limited; once let go, the clean runs.
    EXPECT_EQ(RunCliProgram("--preview \"Windows - Clipboard\"").Status, 0);
    held.reset();
    TCliResult cleaned = RunCliProgram("--clean --yes \"Windows - Clipboard\"");
    EXPECT_EQ(cleaned.Status, 0) << cleaned.Err;
}

TEST(CliProgram, WipeIndexDatOfAFileAnotherProgramHoldsIsStatusFourAndSaysItIsInUse) {
    nullvane::indexdat::testing::TIndexDatBuilder image(0x8000);
    image.FirstTable(0x4000).Table(0x4000, 8, 0).Entry(0x4000, 0, 0x5000).UrlRecord(0x5000, "URL ", 1, "http://held.example/");
    const std::string name = "cli-held-" + std::to_string(GetCurrentProcessId()) + ".dat";
    {
        std::ofstream(name, std::ios::binary).write(image.Image().data(), static_cast<std::streamsize>(image.Bytes().size()));
    }
    const std::wstring wide(name.begin(), name.end());
    HANDLE holder = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    TCliResult held = RunCliProgram("--wipe-index-dat " + name + " --yes");
    CloseHandle(holder);
    EXPECT_EQ(held.Status, 4) << held.Err;
    EXPECT_NE(held.Err.find(name + ": " + nullvane::base::texts::kWipeInUse), std::string::npos) << held.Err;
    std::ifstream after(name, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(after), std::istreambuf_iterator<char>()), image.Image());
    after.close();
    DeleteFileW(wide.c_str());
}

TEST(CliProgram, ACleanWithJsonNamesTheTempFileAnotherProgramHoldsWithItsReasonAndIsStatusFive) {
    wchar_t tempW[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, tempW), 0u);
    const std::wstring heldW = std::wstring(tempW) + L"cli-json-held-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const std::wstring freeW = std::wstring(tempW) + L"cli-json-free-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    for (const auto* path : {&heldW, &freeW}) {
        HANDLE file = CreateFileW(path->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file, "trace", 5, &written, nullptr));
        CloseHandle(file);
    }
    HANDLE holder = CreateFileW(heldW.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    TCliResult result = RunCliProgram("--clean \"Windows - Temporary Files\" --yes --json");
    CloseHandle(holder);
    const bool freeLeft = GetFileAttributesW(freeW.c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileW(heldW.c_str());
    EXPECT_EQ(result.Status, 5) << result.Err;
    EXPECT_FALSE(freeLeft);
    std::string text;
    for (const auto& line : result.Out) text += line + "\n";
    const auto document = nlohmann::json::parse(text, nullptr, false);
    ASSERT_TRUE(document.is_object()) << text;
    EXPECT_EQ(document["status"], 5);
    const std::string held = nullvane::platform::win32::Narrow(heldW);
    bool named = false;
    for (const auto& file : document["items"][0]["left"]["files"])
        named = named || (nullvane::platform::EqualsIgnoreCase(file["path"].get<std::string>(), held) &&
                          file["reason"] == "in use by another program");
    EXPECT_TRUE(named) << document.dump(2);
}
