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
// file keeps its length.
void WipeIndexDatPass(TByteFile& file, uint8_t fill);

// True when the path (on a drive, or relative to the current folder) reaches
// the file it names and nothing else: no ".." step, no linked folder on the
// way, no link for the file itself. (A
// file with other names, hard links, is named itself; the wipe leaves it
// when it opens it, since the other names share its bytes.)
[[nodiscard]] bool NamesTheFileItself(platform::FileSystem& files, const std::string& fileName);

// The whole wipe of a file by name: passes with random fill bytes, the last
// with zeros, from the overwrite settings. Silent: nothing is returned,
// logged or counted; a file that is missing or cannot be opened stays as it
// is, and so does one that is reached through a link or has other names
// (hard links), whose bytes belong to other names too.
void WipeIndexDat(platform::FileSystem& files, platform::SystemInfo& system, const std::string& fileName,
                  const base::TRunOptions& options);

}  // namespace nullvane::indexdat
