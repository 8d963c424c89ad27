#include <gtest/gtest.h>

#include "customlists/InstalledApplications.h"
#include "platform/sim/SimMachine.h"
#include "run/CleanItemCatalogue.h"

using namespace nullvane;
using nullvane::platform::RegRoot;

namespace {

constexpr char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kUninstall32[] = "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class InstalledApplicationsTest : public ::testing::Test {
protected:
    void Sections(const std::vector<std::string>& names) {
        std::string text;
        for (const auto& name : names) text += "[" + name + "]\r\nDelFile1={Local AppData}\\X\\Cache\r\n";
        sim.MakeFile(sim.system().ProgramFolder() + "NVane.dat", text);
    }
    void Installed(RegRoot root, const std::string& list, const std::string& entry, const std::string& displayName) {
        sim.registry().SetString(root, list + entry, "DisplayName", displayName);
    }
    std::vector<std::string> Items() {
        run::TCleanItemTree tree = run::CreateCleanItemTree();
        run::FillApplicationsCategory(tree, sim.Machine());
        std::vector<std::string> items;
        const size_t category = *tree.FindCategory("Applications");
        for (size_t i = category + 1; i < tree.Count() && tree.Node(i).Level == 1; ++i) items.push_back(tree.NodeName(i));
        return items;
    }

    platform::sim::SimMachine sim;
};

TEST_F(InstalledApplicationsTest, NamesMatchEitherWayIgnoringCase) {
    EXPECT_TRUE(customlists::ApplicationNamesMatch("Photo Viewer", "Photo Viewer 2.1"));
    EXPECT_TRUE(customlists::ApplicationNamesMatch("Photo Viewer", "PHOTO VIEWER"));
    EXPECT_TRUE(customlists::ApplicationNamesMatch("Photo Viewer Deluxe", "Photo Viewer"));
    EXPECT_TRUE(customlists::ApplicationNamesMatch("Übung", "ÜBUNG 3"));
    EXPECT_FALSE(customlists::ApplicationNamesMatch("Photo Viewer", "Photo Editor"));
}

TEST_F(InstalledApplicationsTest, EachSectionOnceInTheOrderOfTheThreeUninstallListsReadOnly) {
    Sections({"Discord", "Microsoft Edge", "VLC media player", "Zoom", "Not Installed"});
    // The machine's list may be read but not opened with full access, as for any unelevated user.
    Installed(RegRoot::LocalMachine, kUninstall, "VLC", "VLC media player");
    Installed(RegRoot::LocalMachine, kUninstall, "Zoom1", "Zoom Workplace (64-bit)");
    Installed(RegRoot::LocalMachine, kUninstall, "NoName", "");
    sim.registry().DenyFullAccess(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    Installed(RegRoot::LocalMachine, kUninstall32, "Microsoft Edge", "Microsoft Edge");
    Installed(RegRoot::CurrentUser, kUninstall, "Discord", "Discord");
    Installed(RegRoot::CurrentUser, kUninstall, "Zoom2", "ZOOM");
    EXPECT_EQ(Items(), (std::vector<std::string>{"Applications - VLC media player", "Applications - Zoom",
                                                 "Applications - Microsoft Edge", "Applications - Discord"}));

    // A list that cannot be opened at all is passed over; the others still count.
    sim.registry().DenyAccess(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    EXPECT_EQ(Items(), (std::vector<std::string>{"Applications - Microsoft Edge", "Applications - Discord",
                                                 "Applications - Zoom"}));
}

TEST_F(InstalledApplicationsTest, NoDataFileGivesNoItems) {
    Installed(RegRoot::CurrentUser, kUninstall, "Discord", "Discord");
    EXPECT_TRUE(Items().empty());
}

}  // namespace
