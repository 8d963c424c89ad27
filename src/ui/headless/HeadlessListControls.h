#pragma once
// The report list and the selection list box as plain state. The report
// list asks its owner for a row only when a test looks at it, as a shown
// list asks for the rows on the screen.
#include <string>
#include <vector>

#include "ui/ReportListView.h"
#include "ui/SelectionListBox.h"
#include "ui/headless/HeadlessControls.h"

namespace nullvane::ui::headless {

class THeadlessReportListView final : public THeadlessControl<TReportListView> {
public:
    using THeadlessControl::THeadlessControl;
    void SetColumns(const std::vector<TListColumn>& columns) override { columns_ = columns; }
    [[nodiscard]] std::vector<TListColumn> Columns() const override { return columns_; }
    void SetSmallImages(const TImageList& images) override { images_ = images; }
    [[nodiscard]] int SmallImageCount() const override { return static_cast<int>(images_.Images.size()); }
    void SetRowSelect(bool rowSelect) override { rowSelect_ = rowSelect; }
    [[nodiscard]] bool RowSelect() const override { return rowSelect_; }
    void SetItemCount(int count) override;
    [[nodiscard]] int ItemCount() const override { return count_; }
    [[nodiscard]] int SelectedIndex() const override { return selected_; }

    // The row as the list would draw it: asked of the owner.
    [[nodiscard]] TListItemData Item(int index) const;
    // The user clicks a row, or double-clicks it (selected, then onDoubleClick).
    bool Select(int index);
    bool DoubleClick(int index);

private:
    std::vector<TListColumn> columns_;
    TImageList images_;
    bool rowSelect_ = false;
    int count_ = 0;
    int selected_ = -1;
};

class THeadlessSelectionListBox final : public THeadlessControl<TSelectionListBox> {
public:
    using THeadlessControl::THeadlessControl;
    void AddItem(const std::string& text) override { items_.push_back(text); }
    void DeleteItem(int index) override;
    void Clear() override {
        items_.clear();
        selected_ = -1;
    }
    [[nodiscard]] int Count() const override { return static_cast<int>(items_.size()); }
    [[nodiscard]] std::string ItemText(int index) const override { return items_.at(static_cast<size_t>(index)); }
    [[nodiscard]] int SelectedIndex() const override { return selected_; }
    void SetSelectedIndex(int index) override { selected_ = index >= 0 && index < Count() ? index : -1; }

    // The user clicks an entry, or double-clicks it (selected, then onDoubleClick).
    bool Select(int index);
    bool DoubleClick(int index);

private:
    std::vector<std::string> items_;
    int selected_ = -1;
};

}  // namespace nullvane::ui::headless
