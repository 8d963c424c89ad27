#pragma once
// Overwrites the hash entries and records of an index.dat in place, leaving
// the file header and the header of each hash table as they are.
#include <cstdint>
#include <string>

#include "indexdat/ByteFile.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "base/RunOptions.h"

namespace nullvane::indexdat {

inline constexpr int64_t kWipeBufferSize = 4096;

// 1 when secure overwrite is off, else the number of passes kept to 1..3.
[[nodiscard]] int WipePassCount(bool overwriteFile, int overwriteNumber);

// One pass: every byte from the end of each table's 16-byte header up to the
// next table (for the last table: up to the recorded size F) becomes `fill`.
// Nothing at or beyond F, nor beyond the end of the file, is written, and the
// file keeps its length. False if a write did not go through.
bool WipeIndexDatPass(TByteFile& file, uint8_t fill);

// True when the path (on a drive, or relative to the current folder) reaches
// the file it names and nothing else: no ".." step, no linked folder on the
// way, no link for the file itself. (A file with other names, hard links, is
// named itself; the wipe leaves it when it opens it, since the other names
// share its bytes.)
[[nodiscard]] bool NamesTheFileItself(platform::FileSystem& files, const std::string& fileName);

// What a wipe by name did.
enum class TWipeOutcome {
    Wiped,          // every pass ran over the records
    Missing,        // no such file
    NotAnIndexDat,  // no cache signature at its start: left as it is
    NotReached,     // the name leads through a link, a linked folder or a ".." step, or the file has other names
    InUse,          // another program holds it (sharing violation)
    ReadOnly,       // the file may not be written
    Failed,         // anything else; Error tells what when the system said
};

struct TWipeResult {
    TWipeOutcome Outcome = TWipeOutcome::Failed;
    uint32_t Error = 0;  // the Windows error code where one applies, else 0
    [[nodiscard]] bool Wiped() const { return Outcome == TWipeOutcome::Wiped; }
};

// The outcome for a log line or a message: "the records were overwritten",
// "not overwritten: the file is in use by another program", ... with
// " (error N)" after it when a code is known.
[[nodiscard]] std::string WipeOutcomeText(const TWipeResult& result);

// True when the file starts with a cache signature: "Client UrlCache MMF Ver "
// as Windows writes it, or "WINE URLCache Ver " as Wine's WinINet does.
[[nodiscard]] bool HasCacheSignature(TByteFile& file);

// The whole wipe of a file by name: passes with random fill bytes, the last
// with zeros, from the overwrite settings. Nothing is logged or counted; the
// result says what happened. Only a file that starts with a cache signature,
// is reached through its own name alone and has no other names is written;
// any other stays byte for byte as it was.
[[nodiscard]] TWipeResult WipeIndexDat(platform::FileSystem& files, platform::SystemInfo& system,
                                       const std::string& fileName, const base::TRunOptions& options);

}  // namespace nullvane::indexdat
