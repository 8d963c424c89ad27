#include "settings/ExpandStates.h"

#include <bitset>

namespace nullvane::settings {

void ExpandStates(run::TCleanItemTree& tree, TExpandStates direction, TOptionsSetting& options) {
    // A browser found on the machine shows its family's image: the flag is
    // the first category's with that image (the design's own), never shared.
    std::bitset<kLastExpandFlag + 1> met;
    for (size_t index = 0; index < tree.Count(); ++index) {
        const run::TCleanItemNode& node = tree.Node(index);
        if (node.Level != 0) continue;
        // An image index without a saved flag keeps its node as it is.
        if (node.ImageIndex < kFirstExpandFlag || node.ImageIndex > kLastExpandFlag) continue;
        if (met.test(static_cast<size_t>(node.ImageIndex))) continue;
        met.set(static_cast<size_t>(node.ImageIndex));
        bool& flag = options.FirstNodeExpand[static_cast<size_t>(node.ImageIndex)];
        if (direction == TExpandStates::Save) {
            flag = node.Expanded;
        } else if (flag) {
            tree.SetExpanded(index, true);
        }
    }
}

}  // namespace nullvane::settings
