#include "cli/IndexDatCommand.h"

#include "indexdat/ByteFile.h"
#include "indexdat/IndexDatReader.h"
#include "indexdat/IndexDatTime.h"

namespace nullvane::cli {

int RunIndexDatCommand(platform::Platform& machine, const std::string& file, std::ostream& out, std::ostream& err) {
    const auto attributes = machine.files.GetAttributes(file);
    if (!attributes) {
        err << "nullvane-cli: " << file << ": no such file\n";
        return 2;
    }
    platform::FilePtr handle;
    if ((*attributes & platform::faDirectory) == 0) {
        handle = machine.files.Open(file, platform::OpenMode::Read, platform::ShareMode::ReadWrite);
    }
    if (!handle) {
        err << "nullvane-cli: " << file << ": cannot be read\n";
        return 2;
    }

    indexdat::TPlatformByteFile bytes(*handle);
    indexdat::TIsoTimeWriter times(machine.system.UtcOffsetMinutes());
    // Lines are gathered into large writes: a cache file can list hundreds of
    // thousands of URLs.
    std::string pending;
    constexpr size_t kFlushAt = 1 << 16;
    indexdat::WalkIndexDatUrls(bytes, [&](std::string_view url, uint64_t timeStamp) {
        pending.append(url);
        pending += '\t';
        times.Append(pending, timeStamp);
        pending += '\n';
        if (pending.size() >= kFlushAt) {
            out.write(pending.data(), static_cast<std::streamsize>(pending.size()));
            pending.clear();
        }
    });
    out.write(pending.data(), static_cast<std::streamsize>(pending.size()));
    out.flush();
    return 0;
}

}  // namespace nullvane::cli
