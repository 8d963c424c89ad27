#include "cli/IndexDatCommand.h"

#include <cstring>
#include <vector>

#include "cli/CliTexts.h"
#include "cli/ConsoleDialogs.h"
#include "indexdat/ByteFile.h"
#include "indexdat/IndexDatFileName.h"
#include "indexdat/IndexDatWiper.h"
#include "run/CleanItemCatalogue.h"
#include "settings/OptionsFile.h"
#include "settings/OptionsSetting.h"
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
        if (auto opened = machine.files.Open(file, platform::OpenMode::Read, platform::ShareMode::ReadWrite))
            handle = std::move(opened).Value();
    }
    if (!handle) {
        err << "nullvane-cli: " << file << ": cannot be read\n";
        return 2;
    }

    indexdat::TPlatformByteFile bytes(*handle);
    indexdat::TIsoTimeWriter times(machine.system.UtcOffsetMinutes());
    // Lines are gathered into large writes: a cache file can list hundreds of
    // thousands of URLs.
    constexpr size_t kBufferSize = 1 << 16;
    std::vector<char> buffer(kBufferSize);
    size_t used = 0;
    const auto flush = [&] {
        out.write(buffer.data(), static_cast<std::streamsize>(used));
        used = 0;
    };
    indexdat::WalkIndexDatUrls(bytes, [&](std::string_view url, uint64_t timeStamp) {
        const size_t line = url.size() + 2 + indexdat::kIsoDateTimeLength;
        if (used + line > buffer.size()) {
            flush();
            if (line > buffer.size()) buffer.resize(line);
        }
        char* at = buffer.data() + used;
        std::memcpy(at, url.data(), url.size());
        at += url.size();
        *at++ = '\t';
        at = times.Write(at, timeStamp);
        *at++ = '\n';
        used = static_cast<size_t>(at - buffer.data());
    });
    flush();
    out.flush();
    return 0;
}

int RunWipeIndexDatCommand(platform::Platform& machine, const std::string& file, bool yes, std::istream& in,
                           std::ostream& out, std::ostream& err) {
    if (!indexdat::IsIndexDatFileName(machine.files, file)) {
        err << indexdat::kIndexDatNameRefused << '\n';
        return 2;
    }
    if (!yes && !AskYesOnConsole(in, out, texts::kCliConfirmWipePrefix + file + "?" + texts::kCliQuestionSuffix)) {
        return 1;
    }
    // The overwrite settings the window would use.
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    settings::TOptionsSetting options;
    settings::ReadWriteOptions(settings::TReadWrite::Read, machine, settings::OptionsFilePathForReading(machine), tree,
                               options);
    const indexdat::TWipeResult wiped =
        indexdat::WipeIndexDat(machine.files, machine.system, file, settings::RunOptionsOf(options));
    if (wiped.Wiped()) return 0;
    err << "nullvane-cli: " << file << ": " << indexdat::WipeOutcomeText(wiped) << '\n';
    return 4;
}

}  // namespace nullvane::cli
