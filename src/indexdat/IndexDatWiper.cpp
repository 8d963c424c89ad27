#include "indexdat/IndexDatWiper.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>
#include <unordered_set>

#include "base/Texts.h"
#include "indexdat/IndexDatLayout.h"
#include "platform/CaughtException.h"

namespace nullvane::indexdat {

namespace {

int32_t ReadInt32(TByteFile& file, int64_t offset) {
    uint8_t bytes[4] = {};
    (void)file.ReadAt(offset, bytes, sizeof bytes);
    return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

bool HasHashTag(TByteFile& file, int64_t offset) {
    char tag[4] = {};
    return file.ReadAt(offset, tag, sizeof tag) == sizeof tag && std::memcmp(tag, kHashTag, 4) == 0;
}

// A byte range another program locked: in use, as a sharing violation is.
constexpr uint32_t kErrorLockViolation = 33;

// Why the file would not open for the wipe.
TWipeResult OpenRefused(uint32_t error) {
    if (error == platform::seSharingViolation || error == kErrorLockViolation) return {TWipeOutcome::InUse, error};
    if (error == platform::seFileNotFound || error == platform::sePathNotFound) return {TWipeOutcome::Missing, 0};
    return {TWipeOutcome::Failed, error};
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

bool NamesTheFileItself(platform::FileSystem& files, const std::string& fileName) {
    // The names on the way, as Windows reads them: "/" and "\" separate, "."
    // steps go. A ".." step could lead elsewhere than the path reads, and so
    // could a share or a path rooted without its drive; a path on a drive or
    // one relative to the current folder is read.
    const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
    std::string path;
    size_t start = 0;
    if (fileName.size() >= 3 && std::isalpha(static_cast<unsigned char>(fileName[0])) && fileName[1] == ':' &&
        isSeparator(fileName[2])) {
        path = fileName.substr(0, 2);
        start = 3;
    } else if (fileName.empty() || isSeparator(fileName[0]) || fileName.find(':') != std::string::npos) {
        return false;
    }
    std::vector<std::string> names;
    while (start <= fileName.size()) {
        const size_t end = std::min(fileName.find_first_of("\\/", start), fileName.size());
        std::string name = fileName.substr(start, end - start);
        if (name == "..") return false;
        if (!name.empty() && name != ".") names.push_back(std::move(name));
        start = end + 1;
    }
    if (names.empty()) return false;
    // No folder on the way is a link, nor is the file.
    std::string parent;
    for (const std::string& name : names) {
        parent = path;
        path += path.empty() ? name : "\\" + name;
        const auto attributes = files.GetAttributes(path);
        if (!attributes || (*attributes & platform::faReparsePoint)) return false;
    }
    // A link to a file shows as its target: the file must resolve to its own
    // name in its folder.
    const std::string folder = parent.empty() ? "." : parent.size() == 2 && parent[1] == ':' ? parent + "\\" : parent;
    const std::string resolvedFolder = files.ResolvedName(folder);
    const std::string resolved = files.ResolvedName(path);
    if (resolvedFolder.empty() || resolved.empty()) return false;
    std::string expected = resolvedFolder;
    if (expected.back() != '\\') expected += '\\';
    return Lower(resolved) == Lower(expected + names.back());
}

int WipePassCount(bool overwriteFile, int overwriteNumber) {
    return std::clamp(overwriteFile ? overwriteNumber : 0, 1, 3);
}

bool WipeIndexDatPass(TByteFile& file, uint8_t fill) {
    std::array<uint8_t, kWipeBufferSize> buffer;
    buffer.fill(fill);
    bool written = true;
    const auto write = [&](int64_t offset, size_t count) { written = file.WriteAt(offset, buffer.data(), count) && written; };
    const int32_t recordedSize = ReadInt32(file, kRecordedSizeOffset);
    // The recorded size bounds every write; so does the real length, since the
    // file must never grow.
    const int64_t limit = std::min<int64_t>(recordedSize, file.Length());

    std::unordered_set<int32_t> visited;
    for (int32_t table = ReadInt32(file, kFirstTableOffset);
         table != 0 && table <= recordedSize && visited.insert(table).second;) {
        if (!HasHashTag(file, table)) break;
        // Slots that would begin inside the file header belong to no table.
        if (table + kTableHeaderSize < kFileHeaderSize) break;
        const int32_t next = ReadInt32(file, table + kNextTableOffset);
        int64_t position = static_cast<int64_t>(table) + kTableHeaderSize;
        const int64_t spanEnd = next != 0 ? next : recordedSize;
        const int64_t span = spanEnd - position;

        for (int64_t whole = span / kWipeBufferSize; whole > 0; --whole) {
            if (position + kWipeBufferSize > limit) break;
            write(position, buffer.size());
            position += kWipeBufferSize;
        }
        if (position + kWipeBufferSize <= limit) {
            if (span > 0 && span % kWipeBufferSize > 0) write(position, static_cast<size_t>(span % kWipeBufferSize));
        } else {
            // The tail up to F, but never into the next table's header.
            const int64_t tail = std::min(limit, spanEnd) - position;
            if (tail > 0) write(position, static_cast<size_t>(tail));
        }
        table = next;
    }
    return written;
}

bool HasCacheSignature(TByteFile& file) {
    constexpr std::string_view kWindows = "Client UrlCache MMF Ver ";
    constexpr std::string_view kWine = "WINE URLCache Ver ";
    char start[kWindows.size()] = {};
    const size_t got = file.ReadAt(0, start, sizeof start);
    const std::string_view read(start, got);
    return read.starts_with(kWindows) || read.starts_with(kWine);
}

std::string WipeOutcomeText(const TWipeResult& result) {
    std::string text;
    switch (result.Outcome) {
        case TWipeOutcome::Wiped: text = base::texts::kWipeWiped; break;
        case TWipeOutcome::Missing: text = base::texts::kWipeMissing; break;
        case TWipeOutcome::NotAnIndexDat: text = base::texts::kWipeNotAnIndexDat; break;
        case TWipeOutcome::NotReached: text = base::texts::kWipeNotReached; break;
        case TWipeOutcome::InUse: text = base::texts::kWipeInUse; break;
        case TWipeOutcome::ReadOnly: text = base::texts::kWipeReadOnly; break;
        case TWipeOutcome::Failed: text = base::texts::kWipeFailed; break;
    }
    if (result.Error != 0) text += base::texts::kWipeErrorCode + std::to_string(result.Error) + ")";
    return text;
}

TWipeResult WipeIndexDat(platform::FileSystem& files, platform::SystemInfo& system, const std::string& fileName,
                         const base::TRunOptions& options) {
    try {
        const auto attributes = files.GetAttributes(fileName);
        if (!attributes) return {TWipeOutcome::Missing, 0};
        if (*attributes & platform::faDirectory) return {TWipeOutcome::NotAnIndexDat, 0};
        if (!NamesTheFileItself(files, fileName)) return {TWipeOutcome::NotReached, 0};
        if (*attributes & platform::faReadOnly) return {TWipeOutcome::ReadOnly, platform::seAccessDenied};
        system.Randomize();
        const int passes = WipePassCount(options.OverwriteFile, options.OverwriteNumber);
        for (int pass = 1; pass <= passes; ++pass) {
            auto handle = files.Open(fileName, platform::OpenMode::ReadWrite, platform::ShareMode::ReadWrite);
            if (!handle) return OpenRefused(handle.Error());
            // Other names share the file's bytes: overwriting would change them too.
            if (handle->LinkCount() > 1) return {TWipeOutcome::NotReached, 0};
            TPlatformByteFile file(*handle);
            // Looked at through the handle that writes, on every pass: what
            // is not a cache file is never written.
            if (!HasCacheSignature(file)) return {TWipeOutcome::NotAnIndexDat, 0};
            const auto fill = pass < passes ? static_cast<uint8_t>(system.Random(255)) : uint8_t{0};
            if (!WipeIndexDatPass(file, fill)) return {TWipeOutcome::Failed, 0};
            if (const platform::TStatus flushed = handle->Flush(); !flushed) return {TWipeOutcome::Failed, flushed.Error()};
        }
        return {TWipeOutcome::Wiped, 0};
    } catch (...) {
        platform::ReportCaughtException("WipeIndexDat " + fileName);
        return {TWipeOutcome::Failed, 0};
    }
}

}  // namespace nullvane::indexdat
