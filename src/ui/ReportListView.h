#pragma once
// A read-only list in report style that holds no rows itself: it knows how
// many there are and asks its owner for each row when it shows it, so lists
// of hundreds of thousands of rows cost nothing until they are seen.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace nullvane::ui {

struct TListColumn {
    std::string Caption;
    int Width = 100;
    friend bool operator==(const TListColumn&, const TListColumn&) = default;
};

// A small picture as rows of 0xAARRGGBB pixels (alpha 0 is transparent).
struct TImage {
    int Width = 16;
    int Height = 16;
    std::vector<uint32_t> Pixels;
};

// The small images rows show before their text.
struct TImageList {
    int Width = 16;
    int Height = 16;
    std::vector<TImage> Images;
};

// What the owner answers for one row.
struct TListItemData {
    std::string Caption;
    std::vector<std::string> SubItems;
    int ImageIndex = -1;
};

class TReportListView : public TControl {
public:
    virtual void SetColumns(const std::vector<TListColumn>& columns) = 0;
    [[nodiscard]] virtual std::vector<TListColumn> Columns() const = 0;
    // Copied: the list keeps its own images.
    virtual void SetSmallImages(const TImageList& images) = 0;
    [[nodiscard]] virtual int SmallImageCount() const = 0;
    // Whole rows are selected and shown selected.
    virtual void SetRowSelect(bool rowSelect) = 0;
    [[nodiscard]] virtual bool RowSelect() const = 0;
    // The number of rows; setting it forgets the selection and every row
    // asked for so far.
    virtual void SetItemCount(int count) = 0;
    [[nodiscard]] virtual int ItemCount() const = 0;
    // The selected row, or -1.
    [[nodiscard]] virtual int SelectedIndex() const = 0;

    // The list asks for a row it is about to show.
    std::function<void(int index, TListItemData& item)> onData;
    std::function<void()> onDoubleClick;
};

}  // namespace nullvane::ui
