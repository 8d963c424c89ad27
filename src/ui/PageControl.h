#pragma once
// Tabs with a page under each; a page holds controls like a panel. Only the
// active page shows.
#include <functional>
#include <string>

#include "ui/Control.h"

namespace nullvane::ui {

// One page of a page control; the page control owns it.
class TTabSheet : public TContainer {};

class TPageControl : public TControl {
public:
    // A new page with its tab at the end; the first page added is the active one.
    virtual TTabSheet& AddPage(const std::string& caption) = 0;
    [[nodiscard]] virtual int PageCount() const = 0;
    [[nodiscard]] virtual TTabSheet& Page(int index) = 0;
    [[nodiscard]] virtual int ActivePageIndex() const = 0;
    // Shows that page without calling onChange.
    virtual void SetActivePageIndex(int index) = 0;
    // After the user chose another tab.
    std::function<void()> onChange;
};

}  // namespace nullvane::ui
