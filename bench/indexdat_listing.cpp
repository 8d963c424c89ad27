// Lists a generated 64 MiB index.dat with 500,000 URL records, and reads the
// same file with `cat FILE > /dev/null` in the same run for comparison.
// Usage: indexdat_listing [runs]  (best of `runs`, 5 by default)
//        indexdat_listing --save FILE  (writes the generated file only)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "cli/IndexDatCommand.h"
#include "indexdat/IndexDatBuilder.h"
#include "indexdat/ByteFile.h"
#include "indexdat/IndexDatReader.h"
#include "platform/sim/SimMachine.h"

namespace {

using nullvane::indexdat::testing::FileTimeFromUnix;
using nullvane::indexdat::testing::TIndexDatBuilder;

constexpr size_t kFileSize = 64u << 20;
constexpr int kRecords = 500'000;
constexpr int32_t kTableBlocks = 32;  // 4096 bytes, 510 entries
constexpr int kEntriesPerTable = 16 * kTableBlocks - 2;
constexpr int32_t kRecordSize = 112;
constexpr uint8_t kTextOffset = 56;

// Tables spread through the file, each followed by the records its entries
// point to, in an order of their own (a hash order, as in real files). With
// `scattered`, each entry points to a record anywhere in the file instead, as
// in a cache file whose records were stored over a long time.
std::string MakeImage(bool scattered = false) {
    TIndexDatBuilder b(kFileSize);
    std::mt19937 random(20100615);
    int64_t at = TIndexDatBuilder::kFirstTable;
    b.FirstTable(static_cast<int32_t>(at));
    int written = 0;
    std::vector<int64_t> placed;
    std::vector<int64_t> tables;
    while (written < kRecords) {
        const int count = std::min(kEntriesPerTable, kRecords - written);
        const int64_t table = at;
        tables.push_back(table);
        const int64_t records = table + kTableBlocks * 128;
        const int64_t next = records + int64_t{count} * kRecordSize;
        b.Table(table, kTableBlocks, written + count < kRecords ? static_cast<int32_t>(next) : 0);
        std::vector<int> order(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
        std::shuffle(order.begin(), order.end(), random);
        for (int i = 0; i < count; ++i) {
            const int n = written + i;
            const int64_t record = records + int64_t{order[static_cast<size_t>(i)]} * kRecordSize;
            const std::string url = "http://www.site" + std::to_string(n % 9973) + ".example.com/page/" +
                                    std::to_string(n) + ".html";
            b.UrlRecord(record, n % 50 == 0 ? "LEAK" : "URL ", FileTimeFromUnix(1'200'000'000 + n * 37LL), url,
                        kTextOffset);
            placed.push_back(record);
            b.Entry(table, i, static_cast<int32_t>(record));
        }
        written += count;
        at = next;
    }
    if (scattered) {
        // Point the entries, table by table, at the records in a random order.
        std::shuffle(placed.begin(), placed.end(), random);
        size_t k = 0;
        for (const int64_t table : tables) {
            for (int i = 0; i < kEntriesPerTable && k < placed.size(); ++i) {
                b.Entry(table, i, static_cast<int32_t>(placed[k++]));
            }
        }
    }
    return b.Image();
}

struct TTiming {
    double wallMs = 1e300;
    double cpuMs = 1e300;  // this process and its children: user and system time
};

double CpuMs() {
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(self.ru_utime) + ms(self.ru_stime) + ms(children.ru_utime) + ms(children.ru_stime);
}

// Best of `runs`: on a shared machine the processor time is the steadier figure.
TTiming Best(int runs, const std::function<void()>& action) {
    TTiming best;
    for (int i = 0; i < runs; ++i) {
        const double cpuStart = CpuMs();
        const auto start = std::chrono::steady_clock::now();
        action();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        best.wallMs = std::min(best.wallMs, took.count());
        best.cpuMs = std::min(best.cpuMs, CpuMs() - cpuStart);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--save") {
        // Only writes the generated file, for timing other readers by hand.
        const std::string image = MakeImage();
        std::ofstream(argv[2], std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    nullvane::platform::sim::SimMachine machine;
    const std::string file = "C:\\Users\\Test\\index.dat";
    machine.MakeFile(file, MakeImage());
    const std::string hostFile = machine.HostPath(file).string();
    const std::string scatteredFile = "C:\\Users\\Test\\scattered\\index.dat";
    machine.MakeFile(scatteredFile, MakeImage(true));

    const std::string cat = "cat '" + hostFile + "' > /dev/null";
    if (std::system(cat.c_str()) != 0) return 1;  // also warms the page cache
    const TTiming catTime = Best(runs, [&] {
        if (std::system(cat.c_str()) != 0) std::exit(1);
    });

    size_t lines = 0;
    const TTiming cliTime = Best(runs, [&] {
        std::ofstream devNull("/dev/null", std::ios::binary);
        std::ostringstream err;
        if (nullvane::cli::RunIndexDatCommand(machine.Machine(), file, devNull, err) != 0) std::exit(1);
    });
    const TTiming listsTime = Best(runs, [&] {
        nullvane::indexdat::TIndexDatLists lists;
        nullvane::indexdat::ReadIndexDatUrls(machine.files(), file, 0, lists,
                                             nullvane::indexdat::TIndexDatTimeFormat{0, nullptr});
        lines = lists.UrlList.size();
    });

    const TTiming scatteredTime = Best(runs, [&] {
        std::ofstream devNull("/dev/null", std::ios::binary);
        std::ostringstream err;
        if (nullvane::cli::RunIndexDatCommand(machine.Machine(), scatteredFile, devNull, err) != 0) std::exit(1);
    });
    std::printf("index.dat of %zu bytes, %zu URLs listed; best of %d runs (wall / processor time)\n", kFileSize,
                lines, runs);
    auto row = [&](const char* what, const TTiming& t) {
        std::printf("  %-40s %7.1f ms / %7.1f ms   (%5.2f x / %5.2f x cat)\n", what, t.wallMs, t.cpuMs,
                    t.wallMs / catTime.wallMs, t.cpuMs / catTime.cpuMs);
    };
    row("cat FILE > /dev/null", catTime);
    row("nullvane-cli --index-dat FILE > /dev/null", cliTime);
    row("ReadIndexDatUrls into the viewer's lists", listsTime);
    std::printf("records scattered through the file:\n");
    row("nullvane-cli --index-dat FILE > /dev/null", scatteredTime);
    return lines == static_cast<size_t>(kRecords) ? 0 : 1;
}
