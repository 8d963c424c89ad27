// The reader and the wiper on real files through the Windows services: they
// must work while another program holds the file open with shared access, as
// the browser and the shell hold their cache files.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "indexdat/IndexDatBuilder.h"
#include "indexdat/IndexDatReader.h"
#include "indexdat/IndexDatWiper.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SystemInfo.h"

namespace nullvane::indexdat {
namespace {

using testing::TIndexDatBuilder;

class IndexDatWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() / (std::string("nullvane-indexdat-") + test->name());
        std::filesystem::create_directories(folder_ / u8"Temporary Internet Files é");
        const std::filesystem::path file = folder_ / u8"Temporary Internet Files é" / "index.dat";
        const std::u8string utf8 = file.u8string();
        name_.assign(utf8.begin(), utf8.end());
        TIndexDatBuilder b(0x8000);
        b.FirstTable(TIndexDatBuilder::kFirstTable).Table(TIndexDatBuilder::kFirstTable, 32, 0);
        b.UrlRecord(0x5000, "URL ", 0, "http://held-open.example/").Entry(TIndexDatBuilder::kFirstTable, 0, 0x5000);
        image_ = b.Image();
        std::ofstream(file, std::ios::binary).write(image_.data(), static_cast<std::streamsize>(image_.size()));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    platform::win32::Win32FileSystem files_;
    platform::win32::Win32SystemInfo system_;
    std::filesystem::path folder_;
    std::string name_;
    std::string image_;
};

TEST_F(IndexDatWin32, ReadsAndWipesAFileThatAnotherHandleSharesOpen) {
    auto holder = files_.Open(name_, platform::OpenMode::ReadWrite, platform::ShareMode::ReadWrite);
    ASSERT_TRUE(holder);

    TIndexDatLists lists;
    ASSERT_TRUE(ReadIndexDatUrls(files_, name_, 0, lists, TIndexDatTimeFormat{}));
    ASSERT_EQ(lists.UrlList.size(), 1u);
    EXPECT_EQ(lists.UrlList[0].Url, "http://held-open.example/");

    base::TRunOptions options;
    options.OverwriteFile = true;
    options.OverwriteNumber = 2;
    WipeIndexDat(files_, system_, name_, options);
    holder.Value().reset();

    const auto after = files_.ReadAll(name_);
    ASSERT_TRUE(after);
    ASSERT_EQ(after->size(), image_.size());
    EXPECT_EQ(after->substr(0, 0x4010), image_.substr(0, 0x4010));
    EXPECT_EQ(after->substr(0x4010), std::string(image_.size() - 0x4010, '\0'));
}

TEST_F(IndexDatWin32, FileHeldExclusivelyIsNeitherListedNorWiped) {
    auto holder = files_.Open(name_, platform::OpenMode::ReadWrite, platform::ShareMode::Exclusive);
    ASSERT_TRUE(holder);
    TIndexDatLists lists;
    EXPECT_FALSE(ReadIndexDatUrls(files_, name_, 0, lists, TIndexDatTimeFormat{}));
    WipeIndexDat(files_, system_, name_, base::TRunOptions{});
    holder.Value().reset();
    EXPECT_EQ(files_.ReadAll(name_), image_);
}

}  // namespace
}  // namespace nullvane::indexdat
#endif
