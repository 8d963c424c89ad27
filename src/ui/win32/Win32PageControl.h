#pragma once
// The tab control with a page window per tab. Pages are children of the tab
// control, so they move and hide with it; each routes its children's messages
// as a panel does.
#include <memory>
#include <vector>

#include "ui/PageControl.h"
#include "ui/win32/Win32Controls.h"

namespace nullvane::ui::win32 {

class TWin32TabSheet final : public TWin32Control<TTabSheet> {
public:
    TWin32TabSheet(HWND tabControl, const TRect& bounds, const std::string& caption, bool visible);
    [[nodiscard]] int ClientWidth() const override { return bounds_.Width; }
    [[nodiscard]] int ClientHeight() const override { return bounds_.Height; }
};

class TWin32PageControl final : public TWin32Control<TPageControl> {
public:
    TWin32PageControl(TContainer& parent, const TControlArgs& args);
    void SetBounds(const TRect& bounds) override;
    TTabSheet& AddPage(const std::string& caption) override;
    [[nodiscard]] int PageCount() const override { return static_cast<int>(pages_.size()); }
    [[nodiscard]] TTabSheet& Page(int index) override { return *pages_.at(static_cast<size_t>(index)); }
    [[nodiscard]] int ActivePageIndex() const override;
    void SetActivePageIndex(int index) override;
    bool Notify(NMHDR* header, LRESULT& result) override;

private:
    [[nodiscard]] TRect PageBounds() const;
    void ShowOnly(int index);
    std::vector<std::unique_ptr<TWin32TabSheet>> pages_;
};

}  // namespace nullvane::ui::win32
