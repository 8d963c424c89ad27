#pragma once
// The report list (a list view in owner-data mode) and the selection list
// box over the system's controls.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/ReportListView.h"
#include "ui/SelectionListBox.h"
#include "ui/win32/Win32Controls.h"

namespace nullvane::ui::win32 {

// An image list handle that is destroyed with its owner.
class TImageListHandle {
public:
    TImageListHandle() = default;
    explicit TImageListHandle(HIMAGELIST list) : list_(list) {}
    ~TImageListHandle() { Reset(); }
    TImageListHandle(const TImageListHandle&) = delete;
    TImageListHandle& operator=(const TImageListHandle&) = delete;
    void Reset(HIMAGELIST list = nullptr) {
        if (list_) ImageList_Destroy(list_);
        list_ = list;
    }
    [[nodiscard]] HIMAGELIST Get() const { return list_; }

private:
    HIMAGELIST list_ = nullptr;
};

// A system image list of the pictures (colour and a transparency mask).
[[nodiscard]] HIMAGELIST MakeImageList(const TImageList& images);

class TWin32ReportListView final : public TWin32Control<TReportListView> {
public:
    TWin32ReportListView(TContainer& parent, const TControlArgs& args);
    ~TWin32ReportListView() override;
    void SetColumns(const std::vector<TListColumn>& columns) override;
    [[nodiscard]] std::vector<TListColumn> Columns() const override { return columns_; }
    void SetSmallImages(const TImageList& images) override;
    [[nodiscard]] int SmallImageCount() const override { return imageCount_; }
    void SetRowSelect(bool rowSelect) override;
    [[nodiscard]] bool RowSelect() const override { return rowSelect_; }
    void SetItemCount(int count) override;
    [[nodiscard]] int ItemCount() const override;
    [[nodiscard]] int SelectedIndex() const override;
    bool Notify(NMHDR* header, LRESULT& result) override;

private:
    // The row last asked of the owner: the list asks once per column.
    const TListItemData& Row(int index);

    std::vector<TListColumn> columns_;
    TImageListHandle images_;
    int imageCount_ = 0;
    bool rowSelect_ = false;
    int cachedIndex_ = -1;
    TListItemData cached_;
};

class TWin32SelectionListBox final : public TWin32Control<TSelectionListBox> {
public:
    TWin32SelectionListBox(TContainer& parent, const TControlArgs& args);
    void AddItem(const std::string& text) override;
    void DeleteItem(int index) override;
    void Clear() override;
    [[nodiscard]] int Count() const override;
    [[nodiscard]] std::string ItemText(int index) const override;
    [[nodiscard]] int SelectedIndex() const override;
    void SetSelectedIndex(int index) override;
    void Command(WORD code) override;
};

}  // namespace nullvane::ui::win32
