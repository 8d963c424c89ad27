#pragma once
// Stand-in for the database step while it is being written: database files
// go as plain files and no statement runs.
#include <string>
#include <utility>
#include <vector>

#include "base/RunContext.h"
#include "removal/FileRemoval.h"

namespace nullvane::removal {
inline uint64_t CleanDatabaseFiles(run::TRunContext& run, const std::string& folder, const std::string& name,
                                   bool recurse, int32_t& count) {
    return CleanFilesByMask(run, folder, name, recurse, count);
}
}  // namespace nullvane::removal

namespace nullvane::cleaners {
struct TDatabaseStatement {
    std::string Sql;
    std::vector<std::string> Tables;
    std::vector<std::pair<std::string, std::string>> Columns;
};
inline bool CleanDatabase(run::TRunContext&, const std::string&, const std::vector<TDatabaseStatement>&) {
    return false;
}
}  // namespace nullvane::cleaners
