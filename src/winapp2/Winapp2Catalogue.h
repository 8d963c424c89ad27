#pragma once
// The winapp2.ini this program runs with: found beside the program or in the
// settings folder (or named on the command line), parsed once at start-up,
// its entries detected on this machine. Shared read-only by the tree, the
// command line and the runs.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "stores/Winapp2File.h"

namespace nullvane::winapp2 {

inline constexpr char kWinapp2FileName[] = "winapp2.ini";
// Larger than any catalogue: a file beyond it is not read.
inline constexpr uint64_t kMaxWinapp2Bytes = 64ull << 20;

struct TWinapp2Catalogue {
    std::string Path;
    std::vector<stores::TWinapp2Entry> Shown;  // detected here, sorted by name (ignoring case)
    int32_t Read = 0;       // entries in the file
    int32_t Refused = 0;    // entries with a key the gate refuses whatever the machine holds
    int32_t Malformed = 0;  // lines skipped
};

// Where the catalogue is looked for, in order: beside the program, then the
// settings folder (`settingsFolder`, with or without a trailing "\").
[[nodiscard]] std::optional<std::string> FindWinapp2File(platform::Platform& machine, const std::string& settingsFolder);

// Reads, parses and detects the file at `path`; nullopt when it cannot be read.
[[nodiscard]] std::optional<TWinapp2Catalogue> LoadWinapp2Catalogue(platform::Platform& machine, const std::string& path);

// The catalogue of this process (none until set).
void SetCurrentWinapp2Catalogue(std::shared_ptr<const TWinapp2Catalogue> catalogue);
[[nodiscard]] std::shared_ptr<const TWinapp2Catalogue> CurrentWinapp2Catalogue();

// The shown entry called `name` in `catalogue`, or nullptr.
[[nodiscard]] const stores::TWinapp2Entry* FindShownEntry(const TWinapp2Catalogue& catalogue, const std::string& name);

// The summary of the process's catalogue the first time it is asked for,
// for the log of the first run; nullopt after that, or without a catalogue.
[[nodiscard]] std::optional<std::string> TakeFirstRunSummary();

// "winapp2.ini: N entries read, M shown, K refused" and, when lines were
// skipped, "; L damaged lines skipped".
[[nodiscard]] std::string CatalogueSummary(const TWinapp2Catalogue& catalogue);

}  // namespace nullvane::winapp2
