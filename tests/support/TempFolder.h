#pragma once
// A fresh folder on the host for one test, removed with everything in it
// when the test ends.
#include <filesystem>
#include <string>

namespace nullvane::testing {

class TTempFolder {
public:
    explicit TTempFolder(const std::string& prefix = "nullvane-test");
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace nullvane::testing
