// Writes the seed corpus of the jump-list fuzz target: compound files with a
// DestList of each format, pinned and not, and a bare DestList. Run it with
// the corpus folder as its argument to renew the committed seeds.
#include <fstream>
#include <iostream>
#include <string>

#include "support/JumpListFiles.h"

using namespace nullvane::testing;

namespace {

void Save(const std::string& folder, const std::string& name, const std::string& bytes) {
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_destlist_seeds FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    Save(folder, "v1-unpinned", MakeAutomaticJumpList(1, {{"C:\\a.txt", false}}));
    Save(folder, "v3-pinned", MakeAutomaticJumpList(3, {{"C:\\Projects", true}, {"C:\\b.txt", false}}));
    Save(folder, "v4-large", MakeCompoundFile({{"DestList", MakeDestList(4, {{std::string(300, 'p'), false}})},
                                               {"1", std::string(5000, 'l')}}));
    Save(folder, "bare-destlist", MakeDestList(3, {{"C:\\c.txt", true}}));
    Save(folder, "empty-destlist", MakeCompoundFile({{"DestList", ""}}));
    return 0;
}
