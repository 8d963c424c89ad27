#include "platform/sim/SimMachine.h"

#include <atomic>
#include <random>
#include <stdexcept>
#include <system_error>

namespace nullvane::platform::sim {

namespace {

std::filesystem::path MakeHostRoot() {
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto root = base / ("nullvane-sim-" + std::to_string(device()) + "-" + std::to_string(counter++));
        std::error_code error;
        if (std::filesystem::create_directory(root, error)) {
            std::filesystem::create_directory(root / "C", error);
            if (!error) return root;
        }
    }
    throw std::runtime_error("cannot create a host folder for the simulated machine under " + base.string());
}

}  // namespace

SimMachine::SimMachine()
    : hostRoot_(MakeHostRoot()),
      files_(hostRoot_),
      profiles_(files_),
      desktop_(queue_),
      ui_(queue_),
      platform_{files_, registry_, profiles_, system_, dialogs_, desktop_, ui_, locks_, internet_, protectedStorage_} {
    MakeFolder(system_.WindowsFolder());
    MakeFolder(system_.SystemFolder());
    MakeFolder(system_.TempFolder());
    MakeFolder(system_.ProgramFolder());
    for (const auto& [csidl, folder] : system_.SpecialFolders()) MakeFolder(folder);

    // Where the user's folders are, as the shell records them for programs that read the registry.
    const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    const std::pair<const char*, int> names[] = {
        {"AppData", csidlAppData},     {"Local AppData", csidlLocalAppData}, {"Personal", csidlPersonal},
        {"My Pictures", csidlMyPictures}, {"Cookies", csidlCookies},         {"History", csidlHistory},
        {"Cache", csidlInternetCache}, {"Recent", csidlRecent},             {"Desktop", csidlDesktop},
        {"Favorites", csidlFavorites}, {"SendTo", csidlSendTo},             {"Start Menu", csidlStartMenu},
        {"Programs", csidlPrograms},   {"Startup", csidlStartup},
    };
    for (const auto& [name, csidl] : names) registry_.SetString(RegRoot::CurrentUser, shellFolders, name, system_.SpecialFolder(csidl));
    registry_.SetString(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                        system_.SpecialFolder(csidlProgramFiles));
}

SimMachine::~SimMachine() {
    // Nothing may run into the services once the machine is going.
    queue_.Close();
    std::error_code error;
    std::filesystem::remove_all(hostRoot_, error);
}

void SimMachine::MakeFolder(const std::string& windowsPath) {
    if (!files_.MakeFolders(windowsPath)) throw std::runtime_error("cannot create folder " + windowsPath);
}

void SimMachine::MakeFile(const std::string& windowsPath, std::string_view content) {
    auto slash = windowsPath.find_last_of('\\');
    if (slash != std::string::npos && slash > 2) MakeFolder(windowsPath.substr(0, slash));
    if (!files_.WriteAll(windowsPath, std::string(content))) throw std::runtime_error("cannot write file " + windowsPath);
}

}  // namespace nullvane::platform::sim
