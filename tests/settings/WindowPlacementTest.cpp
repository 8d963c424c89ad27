#include <gtest/gtest.h>

#include <climits>
#include <ostream>

#include "platform/sim/SimMachine.h"
#include "settings/WindowPlacement.h"

using namespace nullvane;
using settings::TWindowBounds;

namespace {

// The sim's screen: 1280 x 1024, its work area 1280 x 984 above a task bar.
class VisibleBoundsTest : public ::testing::Test {
protected:
    TWindowBounds Visible(TWindowBounds saved) { return settings::VisibleBounds(saved, sim.Machine()); }
    platform::sim::SimMachine sim;
};

}  // namespace

namespace nullvane::settings {
void PrintTo(const TWindowBounds& b, std::ostream* out) {
    *out << "{" << b.Left << ", " << b.Top << ", " << b.Width << ", " << b.Height << "}";
}
}  // namespace nullvane::settings

TEST_F(VisibleBoundsTest, AWindowOnNoMonitorIsCentredOnTheScreen) {
    const TWindowBounds centred{(1280 - 704) / 2, (1024 - 507) / 2, 704, 507};
    EXPECT_EQ(Visible({-32768, 32767, 704, 507}), centred);
    EXPECT_EQ(Visible({INT_MAX, INT_MIN, 704, 507}), centred);
    // A damaged size is the designed one.
    EXPECT_EQ(Visible({-32768, 32767, 0, -5}), centred);
}

TEST_F(VisibleBoundsTest, AWindowPartlyOffTheWorkAreaIsMovedInAndShrunkIfLarger) {
    EXPECT_EQ(Visible({100, 50, 800, 600}), (TWindowBounds{100, 50, 800, 600})) << "inside: unchanged";
    EXPECT_EQ(Visible({1000, 800, 704, 507}), (TWindowBounds{1280 - 704, 984 - 507, 704, 507}));
    EXPECT_EQ(Visible({-300, -20, 704, 507}), (TWindowBounds{0, 0, 704, 507}));
    EXPECT_EQ(Visible({-10, 900, 4000, 3000}), (TWindowBounds{0, 0, 1280, 984}));
    EXPECT_EQ(Visible({1200, 10, INT_MAX, 507}), (TWindowBounds{0, 10, 1280, 507}));
}

TEST_F(VisibleBoundsTest, TheNearestMonitorsWorkAreaIsUsed) {
    // A second monitor to the right, its task bar on its left edge.
    sim.desktop().SetMonitors({{{0, 0, 1280, 1024}, {0, 0, 1280, 984}},
                               {{1280, -100, 1920, 1080}, {1340, -100, 1860, 1080}}});
    EXPECT_EQ(Visible({3000, 100, 704, 507}), (TWindowBounds{1280 + 1920 - 704, 100, 704, 507}));
    EXPECT_EQ(Visible({1100, -90, 704, 507}), (TWindowBounds{1340, -90, 704, 507}))
        << "mostly on the second monitor, into its work area";
}
