#pragma once
// Database files for the SQLite tests: a fresh folder per test, removed
// afterwards, and names handed to the layer as UTF-8 text.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

namespace nullvane::stores::testing {

inline std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

inline std::filesystem::path FromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

class SQLiteFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = std::filesystem::temp_directory_path() /
                  ("nullvane-sqlite-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    [[nodiscard]] const std::filesystem::path& Folder() const { return folder_; }
    [[nodiscard]] std::string DatabaseName(const std::string& name = "places.sqlite") const {
        return Utf8(folder_ / FromUtf8(name));
    }

private:
    std::filesystem::path folder_;
};

}  // namespace nullvane::stores::testing
