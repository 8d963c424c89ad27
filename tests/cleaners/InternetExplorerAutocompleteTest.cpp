#include <string>

#include "cleaners/Cleaners.h"
#include "removal/RemovalFixture.h"

using namespace nullvane;
using nullvane::platform::Guid;
using nullvane::platform::RegRoot;
using nullvane::testing::RemovalFixture;

namespace {

const Guid kBrowserType{0xe161255a, 0x37c3, 0x11d2, {0xbc, 0xaa, 0x00, 0xc0, 0x4f, 0xd9, 0x29, 0xdb}};
const Guid kOtherType{0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
const Guid kFirstSubtype{0x10, 0, 0, {}};
const Guid kSecondSubtype{0x20, 0, 0, {}};
const std::string kStorage1 = "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage1";
const std::string kStorage2 = "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage2";

class AutocompleteTest : public RemovalFixture {
protected:
    void FillStore() {
        auto& store = sim.protectedStorage();
        store.AddType(kBrowserType, "Internet Explorer");
        for (int i = 0; i < 4; ++i) store.AddItem(kBrowserType, kFirstSubtype, "field" + std::to_string(i));
        for (int i = 0; i < 9; ++i) store.AddItem(kBrowserType, kSecondSubtype, "http://site/" + std::to_string(i));
        store.AddItem(kBrowserType, kSecondSubtype, longName);
        store.AddType(kOtherType, "internet explorer");  // another letter case is another type
        store.AddItem(kOtherType, kFirstSubtype, "kept");
        sim.registry().SetString(RegRoot::CurrentUser, kStorage1, "a", "1");
        sim.registry().SetString(RegRoot::CurrentUser, kStorage1 + "\\inner", "b", "2");
    }
    bool KeyExists(const std::string& key) {
        return static_cast<bool>(sim.registry().OpenKey(RegRoot::CurrentUser, key, platform::RegAccess::Read));
    }
    // Longer than 255 characters and outside any ANSI code page.
    const std::string longName = "http://日本.example/" + std::string(300, 'x') + "StringData";
};

TEST_F(AutocompleteTest, TestCountsTheLastSubtypeAndTheKeysAndChangesNothing) {
    FillStore();
    auto& run = Run(base::rmTest);
    cleaners::CleanIEAutocompleteHistory(run);
    EXPECT_EQ(run.ItemCount, 5 + 2);  // 10 items in the last subtype, two values below Storage1
    EXPECT_TRUE(sim.protectedStorage().Deletions().empty());
    EXPECT_TRUE(KeyExists(kStorage1));
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Test: deleting registry key HKEY_CURRENT_USER\\" + kStorage1});
    EXPECT_EQ(sim.protectedStorage().OpenStores(), 0);
}

TEST_F(AutocompleteTest, CleanDeletesEveryItemOfTheBrowserTypeByItsFullName) {
    FillStore();
    sim.protectedStorage().AddItem(kBrowserType, Guid{0x30, 0, 0, {}}, "only");
    auto& run = Run(base::rmClean);
    cleaners::CleanIEAutocompleteHistory(run);
    EXPECT_EQ(run.ItemCount, 1 + 2);  // the last subtype holds a single item
    EXPECT_EQ(sim.protectedStorage().Deletions().size(), 15u);
    EXPECT_TRUE(sim.protectedStorage().Items(kBrowserType, kSecondSubtype).empty());
    EXPECT_EQ(sim.protectedStorage().Items(kOtherType, kFirstSubtype), std::vector<std::string>{"kept"});
    EXPECT_FALSE(KeyExists(kStorage1));
}

TEST_F(AutocompleteTest, IntelliFormsKeysGoWhenTheStoreIsMissingWillNotOpenOrFailsEveryCall) {
    const std::pair<const char*, void (*)(platform::sim::SimProtectedStorage&)> breakages[] = {
        {"no library", [](auto& store) { store.SetAvailable(false); }},
        {"refused", [](auto& store) { store.SetOpenRefused(true); }},
        {"stub calls", [](auto& store) { store.SetCallsFail(true); }},
    };
    for (const auto& [what, breakIt] : breakages) {
        sim.protectedStorage().SetAvailable(true);
        sim.protectedStorage().SetOpenRefused(false);
        sim.protectedStorage().SetCallsFail(false);
        FillStore();
        sim.registry().SetString(RegRoot::CurrentUser, kStorage2, "c", "3");
        breakIt(sim.protectedStorage());
        auto& run = Run(base::rmClean);
        cleaners::CleanIEAutocompleteHistory(run);
        EXPECT_EQ(run.ItemCount, 3) << what;
        EXPECT_FALSE(KeyExists(kStorage1)) << what;
        EXPECT_FALSE(KeyExists(kStorage2)) << what;
        EXPECT_TRUE(sim.protectedStorage().Deletions().empty()) << what;
        EXPECT_EQ(sim.protectedStorage().OpenStores(), 0) << what;
    }
}

}  // namespace
