#include "customlists/RunDataSection.h"

namespace nullvane::customlists {

// Placeholder until the data-driven runner is built: it finds nothing, so
// its items show 0 items and 0 KB.
void RunDataSection(run::TRunContext& /*run*/, const std::string& /*dataFile*/, const std::string& /*itemName*/) {}

}  // namespace nullvane::customlists
