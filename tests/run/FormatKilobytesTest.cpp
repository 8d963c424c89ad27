#include <gtest/gtest.h>

#include "base/FormatKilobytes.h"

using nullvane::base::FormatKilobytes;

TEST(FormatKilobytes, RoundsUpToWholeKilobytes) {
    EXPECT_EQ(FormatKilobytes(0), "0");
    EXPECT_EQ(FormatKilobytes(1), "1");
    EXPECT_EQ(FormatKilobytes(1024), "1");
    EXPECT_EQ(FormatKilobytes(1025), "2");
    EXPECT_EQ(FormatKilobytes(1536), "2");
}

TEST(FormatKilobytes, GroupsThreeDigitsWithCommas) {
    EXPECT_EQ(FormatKilobytes(999 * 1024ull), "999");
    EXPECT_EQ(FormatKilobytes(1000 * 1024ull), "1,000");
    EXPECT_EQ(FormatKilobytes(1048576), "1,024");
    EXPECT_EQ(FormatKilobytes(1234567890), "1,205,633");
    EXPECT_EQ(FormatKilobytes(1264196608), "1,234,567");
    // Beyond 4 GiB the count stays exact.
    EXPECT_EQ(FormatKilobytes(5ull * 1024 * 1024 * 1024), "5,242,880");
    EXPECT_EQ(FormatKilobytes(UINT64_MAX), "18,014,398,509,481,984");
}
