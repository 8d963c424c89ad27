#include "run/CleanItemTree.h"

#include <stdexcept>

namespace nullvane::run {

size_t TCleanItemTree::AddCategory(std::string text, int imageIndex) {
    nodes_.push_back(TCleanItemNode{std::move(text), 0, imageIndex, kStateUnticked, false});
    return nodes_.size() - 1;
}

size_t TCleanItemTree::InsertCategoryAfter(size_t categoryIndex, std::string text, int imageIndex) {
    if (categoryIndex >= nodes_.size() || nodes_[categoryIndex].Level != 0)
        throw std::out_of_range("InsertCategoryAfter: not a category");
    size_t at = EndOfCategory(categoryIndex);
    nodes_.insert(nodes_.begin() + static_cast<std::ptrdiff_t>(at),
                  TCleanItemNode{std::move(text), 0, imageIndex, kStateUnticked, false});
    return at;
}

size_t TCleanItemTree::AddItem(size_t categoryIndex, std::string text) {
    if (categoryIndex >= nodes_.size() || nodes_[categoryIndex].Level != 0)
        throw std::out_of_range("AddItem: not a category");
    size_t at = EndOfCategory(categoryIndex);
    nodes_.insert(nodes_.begin() + static_cast<std::ptrdiff_t>(at),
                  TCleanItemNode{std::move(text), 1, 0, kStateUnticked, false});
    return at;
}

size_t TCleanItemTree::EndOfCategory(size_t categoryIndex) const {
    size_t at = categoryIndex + 1;
    while (at < nodes_.size() && nodes_[at].Level > 0) ++at;
    return at;
}

std::optional<size_t> TCleanItemTree::ParentOf(size_t index) const {
    if (index >= nodes_.size() || nodes_[index].Level == 0) return std::nullopt;
    for (size_t i = index; i-- > 0;) {
        if (nodes_[i].Level == 0) return i;
    }
    return std::nullopt;
}

std::string TCleanItemTree::NodeName(size_t index) const {
    const TCleanItemNode& node = nodes_.at(index);
    auto parent = ParentOf(index);
    if (!parent) return node.Text;
    std::string name = nodes_[*parent].Text;
    name += kItemNameSeparator;
    name += node.Text;
    return name;
}

std::optional<size_t> TCleanItemTree::FindCategory(std::string_view text) const {
    for (size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].Level == 0 && nodes_[i].Text == text) return i;
    }
    return std::nullopt;
}

std::optional<size_t> TCleanItemTree::FindItem(std::string_view itemName) const {
    for (size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].Level > 0 && NodeName(i) == itemName) return i;
    }
    return std::nullopt;
}

void TCleanItemTree::SetAllStates(int stateIndex) {
    for (TCleanItemNode& node : nodes_) node.StateIndex = stateIndex;
}

void TCleanItemTree::ClickStateImage(size_t index) {
    TCleanItemNode& node = nodes_.at(index);
    if (node.StateIndex == kStateUnticked) {
        node.StateIndex = kStateTicked;
    } else if (node.StateIndex == kStateTicked) {
        node.StateIndex = kStateUnticked;
    }
    if (node.Level == 0) {
        size_t end = EndOfCategory(index);
        for (size_t i = index + 1; i < end; ++i) nodes_[i].StateIndex = node.StateIndex;
        return;
    }
    auto parent = ParentOf(index);
    if (!parent) return;
    bool anyTicked = false;
    size_t end = EndOfCategory(*parent);
    for (size_t i = *parent + 1; i < end; ++i) anyTicked = anyTicked || nodes_[i].StateIndex == kStateTicked;
    nodes_[*parent].StateIndex = anyTicked ? kStateTicked : kStateUnticked;
}

bool TCleanItemTree::SelectNodeByName(std::string_view name) {
    for (size_t i = 0; i < nodes_.size(); ++i) {
        if (NodeName(i) == name) {
            nodes_[i].StateIndex = kStateTicked;
            return true;
        }
    }
    return false;
}

std::vector<std::string> TCleanItemTree::CollectTickedItems() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].Level >= 1 && nodes_[i].StateIndex == kStateTicked) names.push_back(NodeName(i));
    }
    return names;
}

std::vector<std::string> TCleanItemTree::TickedNodeNames() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].StateIndex == kStateTicked) names.push_back(NodeName(i));
    }
    return names;
}

bool TCleanItemTree::IsCategoryTicked(std::string_view text) const {
    auto category = FindCategory(text);
    return category && nodes_[*category].StateIndex == kStateTicked;
}

}  // namespace nullvane::run
