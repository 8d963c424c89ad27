// Writes the seed corpus of the index.dat fuzz targets: small files that
// reach every branch of the reader and the wiper. Run it with the corpus
// folder as its argument to renew the committed seeds.
#include <fstream>
#include <iostream>
#include <string>

#include "indexdat/IndexDatBuilder.h"

using nullvane::indexdat::testing::TIndexDatBuilder;

namespace {

void Save(const std::string& folder, const std::string& name, const TIndexDatBuilder& b) {
    std::ofstream out(folder + "/" + name, std::ios::binary);
    const std::string image = b.Image();
    out.write(image.data(), static_cast<std::streamsize>(image.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_indexdat_seeds FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    const uint64_t stamp = 129211344960000000ULL;

    TIndexDatBuilder records(0x800);
    records.FirstTable(0x80).Table(0x80, 4, 0);
    records.UrlRecord(0x300, "URL ", stamp, "http://a.example/").Entry(0x80, 0, 0x300);
    records.UrlRecord(0x400, "LEAK", stamp, "http://leak.example/").Entry(0x80, 1, 0x400);
    records.RedirectRecord(0x500, 0, "http://redirect.example/").Entry(0x80, 2, 0x500);
    records.UrlRecord(0x600, "URL ", stamp, "http://skipped/").Entry(0x80, 3, 0x600, 3);
    records.UrlRecord(0x700, "URL ", 0xFFFFFFFFFFFFFFFFULL, "", 0).Entry(0x80, 4, 0x700);
    Save(folder, "records", records);

    TIndexDatBuilder chain(0x800);
    chain.FirstTable(0x80).Table(0x80, 2, 0x200).Table(0x200, 2, 0x400).Table(0x400, 2, 0, "HASX");
    chain.UrlRecord(0x600, "URL ", stamp, "http://two/").Entry(0x200, 0, 0x600);
    Save(folder, "chain", chain);

    TIndexDatBuilder loop(0x400);
    loop.FirstTable(0x80).Table(0x80, 1, 0x100).Table(0x100, 1, 0x80);
    loop.RedirectRecord(0x300, stamp, "http://loop/").Entry(0x100, 1, 0x300);
    Save(folder, "loop", loop);

    TIndexDatBuilder shortF(0x800);
    shortF.RecordedSize(0x500).FirstTable(0x80).Table(0x80, 4, 0);
    shortF.UrlRecord(0x600, "URL ", stamp, "http://beyond/").Entry(0x80, 0, 0x600);
    Save(folder, "recorded-size-short", shortF);

    TIndexDatBuilder longF(0x300);
    longF.RecordedSize(0x7FFFFFFF).FirstTable(0x80).Table(0x80, 0x100000, 0);
    longF.UrlRecord(0x200, "URL ", stamp, "http://cut-at-the-end", 0xF0).Entry(0x80, 0, 0x200);
    Save(folder, "recorded-size-long", longF);
    return 0;
}
