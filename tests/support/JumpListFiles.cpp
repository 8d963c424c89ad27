#include "support/JumpListFiles.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace nullvane::testing {

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr uint32_t kFree = 0xFFFFFFFFu;
constexpr uint32_t kFatSector = 0xFFFFFFFDu;
constexpr uint32_t kNoStream = 0xFFFFFFFFu;
constexpr size_t kSector = 512;
constexpr size_t kMini = 64;
constexpr size_t kCutoff = 4096;

void Put16(std::string& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void Append32(std::string& bytes, uint32_t value) {
    bytes.resize(bytes.size() + 4);
    Put32(bytes, bytes.size() - 4, value);
}

size_t Units(size_t size, size_t unit) { return (size + unit - 1) / unit; }

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

std::string MakeDestList(int version, const std::vector<TDestEntry>& entries) {
    std::string bytes(32, '\0');
    Put32(bytes, 0, static_cast<uint32_t>(version));
    Put32(bytes, 4, static_cast<uint32_t>(entries.size()));
    Put32(bytes, 8, static_cast<uint32_t>(std::count_if(entries.begin(), entries.end(), [](auto& e) { return e.Pinned; })));
    const size_t lengthAt = version == 1 ? 112 : 128;
    uint32_t pinPosition = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        std::string entry(lengthAt + 2, '\0');
        Put32(entry, 88, static_cast<uint32_t>(i + 1));  // the numbered stream
        Put32(entry, 108, entries[i].Pinned ? pinPosition++ : 0xFFFFFFFFu);
        Put16(entry, lengthAt, static_cast<uint16_t>(entries[i].Path.size()));
        for (char c : entries[i].Path) {
            entry.push_back(c);
            entry.push_back('\0');
        }
        if (version != 1) entry.append(4, '\0');
        bytes += entry;
    }
    return bytes;
}

std::string MakeCompoundFile(const std::vector<std::pair<std::string, std::string>>& streams) {
    // Directory order as the format compares names: shorter first, then by upper case.
    std::vector<size_t> order(streams.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const std::string& x = streams[a].first;
        const std::string& y = streams[b].first;
        return x.size() != y.size() ? x.size() < y.size() : Upper(x) < Upper(y);
    });

    // The mini stream and its table; the large streams' sizes in sectors.
    std::string miniStream;
    std::vector<uint32_t> miniFat;
    std::vector<uint32_t> starts(streams.size(), kEndOfChain);
    size_t largeSectors = 0;
    for (size_t i = 0; i < streams.size(); ++i) {
        const std::string& data = streams[i].second;
        if (data.empty() || data.size() >= kCutoff) {
            largeSectors += Units(data.size(), kSector);
            continue;
        }
        starts[i] = static_cast<uint32_t>(miniFat.size());
        const size_t units = Units(data.size(), kMini);
        for (size_t u = 0; u < units; ++u)
            miniFat.push_back(u + 1 < units ? static_cast<uint32_t>(miniFat.size() + 1) : kEndOfChain);
        miniStream += data;
        miniStream.resize(miniFat.size() * kMini, '\0');
    }
    const size_t directorySectors = Units((streams.size() + 1) * 128, kSector);
    const size_t miniFatSectors = Units(miniFat.size() * 4, kSector);
    const size_t miniStreamSectors = Units(miniStream.size(), kSector);
    const size_t rest = directorySectors + miniFatSectors + miniStreamSectors + largeSectors;
    size_t fatSectors = 1;
    while (fatSectors * (kSector / 4) < fatSectors + rest) ++fatSectors;

    std::vector<uint32_t> fat(fatSectors * (kSector / 4), kFree);
    size_t next = 0;
    for (size_t i = 0; i < fatSectors; ++i) fat[next++] = kFatSector;
    // A run of `count` sectors chained one after another; its first sector.
    auto chain = [&](size_t count) {
        if (count == 0) return kEndOfChain;
        const auto first = static_cast<uint32_t>(next);
        for (size_t i = 0; i < count; ++i, ++next) fat[next] = i + 1 < count ? static_cast<uint32_t>(next + 1) : kEndOfChain;
        return first;
    };
    const uint32_t directoryStart = chain(directorySectors);
    const uint32_t miniFatStart = chain(miniFatSectors);
    const uint32_t miniStreamStart = chain(miniStreamSectors);
    std::string large;
    for (size_t i = 0; i < streams.size(); ++i) {
        const std::string& data = streams[i].second;
        if (!data.empty() && data.size() < kCutoff) continue;
        starts[i] = chain(Units(data.size(), kSector));
        large += data;
        large.resize(Units(large.size(), kSector) * kSector, '\0');
    }

    std::string header(kSector, '\0');
    const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    for (int i = 0; i < 8; ++i) header[i] = static_cast<char>(signature[i]);
    Put16(header, 0x18, 0x3E);
    Put16(header, 0x1A, 3);
    Put16(header, 0x1C, 0xFFFE);
    Put16(header, 0x1E, 9);
    Put16(header, 0x20, 6);
    Put32(header, 0x2C, static_cast<uint32_t>(fatSectors));
    Put32(header, 0x30, directoryStart);
    Put32(header, 0x38, kCutoff);
    Put32(header, 0x3C, miniFatStart);
    Put32(header, 0x40, static_cast<uint32_t>(miniFatSectors));
    Put32(header, 0x44, kEndOfChain);
    for (size_t i = 0; i < 109; ++i) Put32(header, 0x4C + i * 4, i < fatSectors ? static_cast<uint32_t>(i) : kFree);

    // The directory: the root, then the streams as a balanced tree in name order.
    std::string directory(directorySectors * kSector, '\0');
    auto entry = [&](size_t index, const std::string& name, uint8_t type, uint32_t start, uint32_t size) {
        const size_t at = index * 128;
        for (size_t c = 0; c < name.size(); ++c) Put16(directory, at + c * 2, static_cast<uint8_t>(name[c]));
        Put16(directory, at + 64, static_cast<uint16_t>((name.size() + 1) * 2));
        directory[at + 66] = static_cast<char>(type);
        directory[at + 67] = 1;  // black
        Put32(directory, at + 68, kNoStream);
        Put32(directory, at + 72, kNoStream);
        Put32(directory, at + 76, kNoStream);
        Put32(directory, at + 116, start);
        Put32(directory, at + 120, size);
    };
    entry(0, "Root Entry", 5, miniStream.empty() ? kEndOfChain : miniStreamStart, static_cast<uint32_t>(miniStream.size()));
    for (size_t i = 0; i < streams.size(); ++i)
        entry(i + 1, streams[i].first, 2, starts[i], static_cast<uint32_t>(streams[i].second.size()));
    std::function<uint32_t(size_t, size_t)> tree = [&](size_t from, size_t to) -> uint32_t {
        if (from >= to) return kNoStream;
        const size_t middle = (from + to) / 2;
        const auto index = static_cast<uint32_t>(order[middle] + 1);
        Put32(directory, index * 128 + 68, tree(from, middle));
        Put32(directory, index * 128 + 72, tree(middle + 1, to));
        return index;
    };
    Put32(directory, 76, tree(0, order.size()));
    for (size_t i = streams.size() + 1; i < directory.size() / 128; ++i) {
        Put32(directory, i * 128 + 68, kNoStream);
        Put32(directory, i * 128 + 72, kNoStream);
        Put32(directory, i * 128 + 76, kNoStream);
    }

    std::string fatBytes;
    for (uint32_t value : fat) Append32(fatBytes, value);
    std::string miniFatBytes;
    for (uint32_t value : miniFat) Append32(miniFatBytes, value);
    miniFatBytes.resize(miniFatSectors * kSector, '\xFF');
    miniStream.resize(miniStreamSectors * kSector, '\0');
    std::string file = header + fatBytes + directory + miniFatBytes + miniStream + large;
    return file;
}

std::string MakeAutomaticJumpList(int version, const std::vector<TDestEntry>& entries) {
    std::vector<std::pair<std::string, std::string>> streams{{"DestList", MakeDestList(version, entries)}};
    for (size_t i = 0; i < entries.size(); ++i)
        streams.emplace_back(std::to_string(i + 1), std::string("L\0\0\0", 4) + "a shortcut to " + entries[i].Path);
    return MakeCompoundFile(streams);
}

}  // namespace nullvane::testing
