// Times the folder walks on a generated tree next to the host's own tools:
//   CleanFolder, Test run, Fast Mode  vs  find TREE -type f | wc -l (and with -printf %s)
//   CleanFolder, Clean run            vs  rm -rf of another copy
//   WipeFile, 3 passes, 256 MiB       vs  dd bs=1M conv=fsync, three times
// Usage: removal_walks [FILES=100000] [WIPE_MIB=256]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sim/SimMachine.h"
#include "removal/FileRemoval.h"
#include "base/RunContext.h"
#include "settings/OptionsSetting.h"

using namespace nullvane;
namespace fs = std::filesystem;

namespace {

class TNullLog final : public base::TLogSink {
public:
    void AddLine(const std::string&) override {}
    void ScrollToEnd() override {}
    void SetCurrentItem(const std::string&) override {}
};

double Seconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Shell(const std::string& command) {
    return Seconds([&] {
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
    });
}

// Nested folders of 100 small files each: 10 folders per level, 3 levels deep.
void MakeTree(const fs::path& root, int files) {
    int made = 0;
    for (int a = 0; made < files; ++a) {
        for (int b = 0; b < 10 && made < files; ++b) {
            for (int c = 0; c < 10 && made < files; ++c) {
                fs::path folder = root / ("a" + std::to_string(a)) / ("b" + std::to_string(b)) / ("c" + std::to_string(c));
                fs::create_directories(folder);
                for (int f = 0; f < 100 && made < files; ++f, ++made)
                    std::ofstream(folder / ("file" + std::to_string(f) + ".tmp")) << "trace " << made;
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    int wipeMiB = argc > 2 ? std::atoi(argv[2]) : 256;
    platform::sim::SimMachine sim;
    TNullLog log;
    fs::path tree = sim.HostPath("C:\\Tree");
    fs::path copy = sim.HostPath("C:\\Copy");
    std::printf("generating %d files ...\n", files);
    MakeTree(tree, files);
    std::string treeText = tree.string(), copyText = copy.string();
    Shell("sync");

    double find = Shell("find '" + treeText + "' -type f | wc -l > /dev/null");
    settings::CurrentOptions.FastScan = true;
    int32_t count = 0;
    double test = Seconds([&] {
        base::TRunContext run(sim.Machine(), base::rmTest, 0, log);
        removal::CleanFolder(run, "C:\\Tree");
    });
    // find -type f needs no file's size; the walk adds up sizes, as find
    // does when it prints them.
    double findSizes = Shell("find '" + treeText + "' -type f -printf '%s\\n' | wc -l > /dev/null");
    std::printf("Test run, Fast Mode: %d files in %.3f s; find | wc -l: %.3f s, ratio %.2f; "
                "find -printf %%s | wc -l: %.3f s, ratio %.2f\n",
                count, test, find, test / find, findSizes, test / findSizes);

    Shell("cp -r '" + treeText + "' '" + copyText + "'");
    Shell("sync");
    double rm = Shell("rm -rf '" + copyText + "'");
    count = 0;
    double clean = Seconds([&] {
        base::TRunContext run(sim.Machine(), base::rmClean, 0, log);
        removal::CleanFolder(run, "C:\\Tree", {.removeFolder = true});
    });
    std::printf("Clean run: %d files in %.3f s; rm -rf: %.3f s; ratio %.2f\n", count, clean, rm, clean / rm);

    fs::path wipeFile = sim.HostPath("C:\\wipe.bin");
    fs::path ddFile = sim.HostPath("C:\\dd.bin");
    {
        std::ofstream out(wipeFile, std::ios::binary);
        std::string block(1 << 20, 'x');
        for (int i = 0; i < wipeMiB; ++i) out << block;
    }
    Shell("sync");
    double wipe = Seconds([&] {
        base::TRunContext run(sim.Machine(), base::rmClean, 0, log);
        removal::WipeFile(run, "C:\\wipe.bin", 3);
    });
    std::string dd = "dd if=/dev/zero of='" + ddFile.string() + "' bs=1M count=" + std::to_string(wipeMiB) +
                     " conv=fsync,notrunc status=none";
    double ddTime = Shell(dd + " && " + dd + " && " + dd);
    std::printf("WipeFile 3 passes on %d MiB: %.3f s; dd three times: %.3f s; ratio %.2f\n", wipeMiB, wipe, ddTime,
                wipe / ddTime);
    return 0;
}
