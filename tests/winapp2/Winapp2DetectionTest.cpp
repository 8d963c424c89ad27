// An entry shows only where its program is: a key or a path it names exists.
#include <gtest/gtest.h>

#include "platform/sim/SimMachine.h"
#include "winapp2/Winapp2Detection.h"

using namespace nullvane;
using namespace nullvane::winapp2;

TEST(Winapp2Detection, AKeyOrAPathThatExistsShowsTheEntryAWildcardOnlyInTheLastName) {
    platform::sim::SimMachine sim;
    (void)sim.Machine().registry.CreateKey(platform::RegRoot::CurrentUser, "Software\\Sample Vendor\\Tool");
    sim.MakeFile("C:\\Users\\Test\\AppData\\Roaming\\Sample Tool 2.1\\settings.ini", "x");
    auto detected = [&](std::vector<std::string> keys, std::vector<std::string> paths) {
        stores::TWinapp2Entry entry;
        entry.Name = "Sample";
        entry.Detects = std::move(keys);
        entry.DetectFiles = std::move(paths);
        return IsDetected(sim.Machine(), entry);
    };
    EXPECT_TRUE(detected({}, {}));
    EXPECT_TRUE(detected({"HKCU\\Software\\Sample Vendor\\Tool"}, {}));
    EXPECT_TRUE(detected({"hkey_current_user\\software\\sample vendor"}, {}));
    EXPECT_FALSE(detected({"HKCU\\Software\\Other Vendor", "HKXX\\Software\\Sample Vendor"}, {}));
    EXPECT_TRUE(detected({"HKCU\\Software\\Other Vendor"}, {"%AppData%\\Sample Tool 2.1"}));
    EXPECT_TRUE(detected({}, {"%AppData%\\Sample Tool*"}));
    EXPECT_TRUE(detected({}, {"%AppData%\\Sample Tool 2.1\\*.ini"}));
    EXPECT_FALSE(detected({}, {"%AppData%\\Sample*\\settings.ini"}));  // a wildcard before the last name
    EXPECT_FALSE(detected({}, {"%AppData%\\Other Tool", "%Steam%\\Sample Tool 2.1", "C:\\Sample"}));
}
