#pragma once
// Headless pages: a page's children register with the form, so scripts find
// them by caption whichever page is active.
#include <memory>
#include <vector>

#include "ui/PageControl.h"
#include "ui/headless/HeadlessControls.h"

namespace nullvane::ui::headless {

class THeadlessTabSheet final : public THeadlessControl<TTabSheet> {
public:
    using THeadlessControl::THeadlessControl;
    [[nodiscard]] int ClientWidth() const override { return bounds_.Width; }
    [[nodiscard]] int ClientHeight() const override { return bounds_.Height; }
};

class THeadlessPageControl final : public THeadlessControl<TPageControl> {
public:
    // The tabs' row above the pages, and the frame around them.
    static constexpr int kTabHeight = 24;
    static constexpr int kBorder = 4;

    using THeadlessControl::THeadlessControl;
    void SetBounds(const TRect& bounds) override;
    TTabSheet& AddPage(const std::string& caption) override;
    [[nodiscard]] int PageCount() const override { return static_cast<int>(pages_.size()); }
    [[nodiscard]] TTabSheet& Page(int index) override { return *pages_.at(static_cast<size_t>(index)); }
    [[nodiscard]] int ActivePageIndex() const override { return active_; }
    void SetActivePageIndex(int index) override;

    // The user clicks a tab: that page shows, then onChange.
    bool SelectPage(int index);

private:
    [[nodiscard]] TRect PageBounds() const;
    std::vector<std::unique_ptr<THeadlessTabSheet>> pages_;
    int active_ = -1;
};

}  // namespace nullvane::ui::headless
