#pragma once
// The categories' expanded states of the catalogue, kept in the settings.
#include "run/CleanItemTree.h"
#include "settings/OptionsSetting.h"

namespace nullvane::settings {

enum class TExpandStates { Save, Restore };

// Save: each category's expanded flag (numbered by its image index) from
// the tree. Restore: each category whose flag is set is expanded.
void ExpandStates(run::TCleanItemTree& tree, TExpandStates direction, TOptionsSetting& options);

}  // namespace nullvane::settings
