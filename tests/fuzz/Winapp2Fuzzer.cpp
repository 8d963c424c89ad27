// Reads arbitrary bytes as winapp2.ini. No crash, and every answer holds
// together: an entry always has a name, each FileKey a folder and a mask,
// each exclusion of files at least one name.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "stores/Winapp2File.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace nullvane::stores;
    const TWinapp2File file = ParseWinapp2(std::string_view(reinterpret_cast<const char*>(data), size));
    if (file.MalformedLines < 0) std::abort();
    for (const TWinapp2Entry& entry : file.Entries) {
        if (entry.Name.empty()) std::abort();
        for (const TWinapp2FileKey& key : entry.FileKeys)
            if (key.Folder.empty() || key.Masks.empty()) std::abort();
        for (const TWinapp2ExcludeKey& key : entry.ExcludeKeys)
            if (key.Where.empty() || (key.Kind == TWinapp2ExcludeKey::ekFile && key.Names.empty())) std::abort();
    }
    return 0;
}
