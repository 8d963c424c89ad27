#include "support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <random>
#include <stdexcept>

namespace nullvane::testing {

TTempFolder::TTempFolder(const std::string& prefix) {
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto name = prefix + "-" + std::to_string(device()) + "-" + std::to_string(counter++);
        std::error_code error;
        if (std::filesystem::create_directory(base / name, error)) {
            path_ = base / name;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder under " + base.string());
}

TTempFolder::~TTempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

}  // namespace nullvane::testing
