#include "settings/Winapp2StartUp.h"

#include <memory>

#include "settings/OptionsFile.h"
#include "winapp2/Winapp2Catalogue.h"

namespace nullvane::settings {

bool LoadWinapp2AtStartUp(platform::Platform& machine, const std::optional<std::string>& namedFile) {
    std::optional<std::string> path = namedFile;
    if (!path) {
        const std::string options = OptionsFilePathForReading(machine);
        const size_t slash = options.find_last_of('\\');
        path = winapp2::FindWinapp2File(machine, slash == std::string::npos ? std::string() : options.substr(0, slash));
    }
    if (!path) {
        winapp2::SetCurrentWinapp2Catalogue(nullptr);
        return true;
    }
    auto catalogue = winapp2::LoadWinapp2Catalogue(machine, *path);
    winapp2::SetCurrentWinapp2Catalogue(catalogue ? std::make_shared<const winapp2::TWinapp2Catalogue>(std::move(*catalogue))
                                                  : nullptr);
    return catalogue.has_value() || !namedFile;
}

}  // namespace nullvane::settings
