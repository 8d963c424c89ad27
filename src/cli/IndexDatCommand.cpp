#include "cli/IndexDatCommand.h"

#include "base/Texts.h"
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
        handle = machine.files.Open(file, platform::OpenMode::Read, platform::ShareMode::ReadWrite);
    }
    if (!handle) {
        err << "nullvane-cli: " << file << ": cannot be read\n";
        return 2;
    }

    indexdat::TPlatformByteFile bytes(*handle);
    const int32_t utcOffset = machine.system.UtcOffsetMinutes();
    // Lines are gathered into large writes: a cache file can list hundreds of
    // thousands of URLs.
    std::string pending;
    constexpr size_t kFlushAt = 1 << 16;
    indexdat::WalkIndexDatUrls(bytes, [&](std::string_view url, uint64_t timeStamp) {
        pending.append(url);
        pending += '\t';
        const auto time = indexdat::IndexDatTimeToLocalTime(timeStamp, utcOffset);
        if (time && !indexdat::IsZeroDateTime(*time)) {
            indexdat::AppendIsoDateTime(pending, *time);
        } else {
            pending += indexdat::kTimeNotAvailable;
        }
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

int RunWipeIndexDatCommand(platform::Platform& machine, const std::string& file, bool yes, std::istream& in,
                           std::ostream& out, std::ostream& err) {
    if (!indexdat::IsIndexDatFileName(machine.files, file)) {
        err << indexdat::kIndexDatNameRefused << '\n';
        return 2;
    }
    if (!yes && !AskYesOnConsole(in, out, run::texts::kCliConfirmWipePrefix + file + "?" + run::texts::kCliQuestionSuffix)) {
        return 1;
    }
    // The overwrite settings the window would use.
    run::TCleanItemTree tree = run::CreateCleanItemTree();
    settings::TOptionsSetting options;
    settings::ReadWriteOptions(settings::TReadWrite::Read, machine, settings::OptionsFilePathForReading(machine), tree,
                               options);
    indexdat::WipeIndexDat(machine.files, machine.system, file, settings::RunOptionsOf(options));
    return 0;
}

}  // namespace nullvane::cli
