// nullvane-cli.exe started for real, as scripts start it.
#include <gtest/gtest.h>

#include <string>

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
