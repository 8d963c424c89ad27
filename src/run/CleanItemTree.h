#pragma once
// The clean item tree as plain data: categories (level 0) each followed by
// their items (level 1), in display order. The main window's tree view draws
// it; the settings store and the run read and tick it by name.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>


namespace nullvane::run {

// State image indices: the tick box drawn for a node.
inline constexpr int kStateBlank = 0;
inline constexpr int kStateUnticked = 1;
inline constexpr int kStateTicked = 2;

// Joins a category's text and an item's text into the item name.
inline constexpr std::string_view kItemNameSeparator = " - ";

struct TCleanItemNode {
    std::string Text;
    int Level = 0;       // 0 category, 1 clean item
    int ImageIndex = 0;  // a category's identity for its saved expanded state
    int StateIndex = kStateUnticked;
    bool Expanded = false;
};

class TCleanItemTree {
public:
    // Appends a category at the end; returns its index.
    size_t AddCategory(std::string text, int imageIndex);
    // Inserts a category after the category at `categoryIndex` and its
    // items; returns its index.
    size_t InsertCategoryAfter(size_t categoryIndex, std::string text, int imageIndex);
    // Appends an item after the last item of the category at `categoryIndex`;
    // returns its index (later nodes move down by one).
    size_t AddItem(size_t categoryIndex, std::string text);

    [[nodiscard]] const std::vector<TCleanItemNode>& Nodes() const { return nodes_; }
    [[nodiscard]] size_t Count() const { return nodes_.size(); }
    [[nodiscard]] const TCleanItemNode& Node(size_t index) const { return nodes_.at(index); }

    // The category an item belongs to; nullopt for a category.
    [[nodiscard]] std::optional<size_t> ParentOf(size_t index) const;
    // A category's text, or an item's name: "Windows - Clipboard".
    [[nodiscard]] std::string NodeName(size_t index) const;
    // The top-level node with exactly that text.
    [[nodiscard]] std::optional<size_t> FindCategory(std::string_view text) const;
    // The item (level 1) whose item name is exactly `itemName`.
    [[nodiscard]] std::optional<size_t> FindItem(std::string_view itemName) const;

    void SetState(size_t index, int stateIndex) { nodes_.at(index).StateIndex = stateIndex; }
    void SetAllStates(int stateIndex);
    void SetExpanded(size_t index, bool expanded) { nodes_.at(index).Expanded = expanded; }

    // A click on a node's tick box: 1 and 2 swap; a category passes its new
    // state to its items; an item's category becomes ticked while any of its
    // items is ticked. Any other state is left alone.
    void ClickStateImage(size_t index);

    // Ticks the first node whose name is exactly `name` (a category's text
    // or an item name), without touching its items or its category. False if
    // no node has that name.
    bool SelectNodeByName(std::string_view name);

    // The names of the ticked items in tree order; categories never appear.
    [[nodiscard]] std::vector<std::string> CollectTickedItems() const;
    // Every ticked node's name in display order, categories included: what
    // the settings store saves.
    [[nodiscard]] std::vector<std::string> TickedNodeNames() const;
    // True if the first top-level node with that text is ticked.
    [[nodiscard]] bool IsCategoryTicked(std::string_view text) const;

private:
    // The index past the last item of the category at `categoryIndex`.
    [[nodiscard]] size_t EndOfCategory(size_t categoryIndex) const;

    std::vector<TCleanItemNode> nodes_;
};

}  // namespace nullvane::run
