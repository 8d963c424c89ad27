// Protected Storage and the autocomplete item on Wine's pstorec.dll, which
// loads and opens a store whose calls are all stubs, and without the
// library at all (disabled for a child process of this test).
#include "platform/win32/Win32Machine.h"
#include "cleaners/Cleaners.h"
#include "run/RecordingLogSink.h"
#include "settings/OptionsSetting.h"
#include "win/SelfChild.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

using namespace nullvane;

namespace {

const std::string kStorage1 = "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage1";

// A Clean of the autocomplete item on the real machine; gives its count.
int32_t CleanAutocomplete(platform::win32::Win32Machine& machine) {
    settings::CurrentOptions = settings::TOptionsSetting{};
    nullvane::testing::TRecordingLogSink log;
    base::TRunContext run(machine.Machine(), base::rmClean, 0, log, settings::RunOptionsOf(settings::CurrentOptions));
    run.LogPrefix = "Clean: ";
    cleaners::CleanIEAutocompleteHistory(run);
    return run.ItemCount;
}

bool KeyExists(platform::win32::Win32Machine& machine, const std::string& key) {
    return static_cast<bool>(machine.registry().OpenKey(platform::RegRoot::CurrentUser, key, platform::RegAccess::Read));
}

TEST(ProtectedStorageOnWine, StubStoreOpensButGivesNothingAndTheFormKeysStillGo) {
    platform::win32::Win32Machine machine;
    ASSERT_TRUE(machine.protectedStorage().IsAvailable());
    auto store = machine.protectedStorage().Open();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->EnumTypes(platform::kPStoreCurrentUser), std::nullopt);
    store.reset();

    auto key = machine.registry().CreateKey(platform::RegRoot::CurrentUser, kStorage1);
    ASSERT_TRUE(key && key->SetValue(platform::RegValue::String("entry", "form data")));
    key.Value().reset();
    EXPECT_EQ(CleanAutocomplete(machine), 1);
    EXPECT_FALSE(KeyExists(machine, kStorage1));
}

TEST(ProtectedStorageOnWine, WithoutTheLibraryNothingOpensAndTheFormKeysStillGo) {
    // Wine takes a child's load order from the registry (its environment
    // variable counts only where Wine starts): the library is disabled for
    // this program while the child runs.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exeName = self;
    exeName = exeName.substr(exeName.find_last_of(L'\\') + 1);
    const std::wstring appDefaults = L"Software\\Wine\\AppDefaults\\" + exeName;
    HKEY overrides = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (appDefaults + L"\\DllOverrides").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &overrides, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(overrides, L"pstorec", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    DWORD exitCode = nullvane::testing::RunSelfWith(L"PStoreMissingProbe.*", {{L"NULLVANE_PSTORE_PROBE", L"1"}});
    RegCloseKey(overrides);
    RegDeleteKeyW(HKEY_CURRENT_USER, (appDefaults + L"\\DllOverrides").c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, appDefaults.c_str());
    EXPECT_EQ(exitCode, 0u);
}

// Started only by the test above, in a process where the library is disabled.
TEST(PStoreMissingProbe, NoLibrary) {
    if (!std::getenv("NULLVANE_PSTORE_PROBE")) GTEST_SKIP() << "started only without the library";
    platform::win32::Win32Machine machine;
    EXPECT_FALSE(machine.protectedStorage().IsAvailable());
    EXPECT_FALSE(machine.protectedStorage().Open());
    auto key = machine.registry().CreateKey(platform::RegRoot::CurrentUser, kStorage1);
    ASSERT_TRUE(key && key->SetValue(platform::RegValue::String("entry", "form data")));
    key.Value().reset();
    EXPECT_EQ(CleanAutocomplete(machine), 1);
    EXPECT_FALSE(KeyExists(machine, kStorage1));
}

}  // namespace
