#pragma once
// Whether a winapp2.ini entry's program is on this machine: a Detect key
// that exists, or a DetectFile path that exists (a wildcard only in its last
// name). An entry with neither is for every machine.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "stores/Winapp2File.h"

namespace nullvane::winapp2 {

// "HKCU\Software\Vendor" (short or long root names, any case) as its root
// and its subkey; nullopt for an unknown root.
[[nodiscard]] std::optional<std::pair<platform::RegRoot, std::string>> SplitWinapp2Key(const std::string& key);

[[nodiscard]] bool IsDetected(platform::Platform& machine, const stores::TWinapp2Entry& entry);

// The same for many entries: each variable's folders are asked once, and
// each of them is listed once, which answers most paths (an absent
// program's folder is not among the names).
class TWinapp2Detector {
public:
    explicit TWinapp2Detector(platform::Platform& machine) : machine_(machine) {}
    [[nodiscard]] bool IsDetected(const stores::TWinapp2Entry& entry);

private:
    [[nodiscard]] bool PathExists(const std::string& detectFile);
    [[nodiscard]] const std::vector<std::string>& Folders(const std::string& variable);
    [[nodiscard]] bool HoldsName(const std::string& folder, const std::string& name);
    // The folder's entries' upper-case names, listed once.
    [[nodiscard]] const std::set<std::string>& NamesIn(const std::string& folder);

    platform::Platform& machine_;
    std::map<std::string, std::vector<std::string>> folders_;  // by upper-case variable
    std::map<std::string, std::set<std::string>> names_;       // by folder: its entries' upper-case names
};

}  // namespace nullvane::winapp2
