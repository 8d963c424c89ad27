// The registry service: the same cases against the sim and, under Wine, the
// real registry (below HKEY_CURRENT_USER\Software\NullvaneContractTest).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/ServiceBackends.h"
#include "support/TempFolder.h"

namespace nullvane::testing {
namespace {

using platform::RegAccess;
using platform::RegValue;
using platform::RegRoot;

const std::string kBase = "Software\\NullvaneContractTest";

template <class Backend>
class RegistryContractTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(reg(), RegRoot::CurrentUser, kBase); }
    void TearDown() override {
        DeleteKeyTree(reg(), RegRoot::CurrentUser, kBase);
        EXPECT_FALSE(reg().OpenKey(RegRoot::CurrentUser, kBase, RegAccess::Read));
    }

    platform::Registry& reg() { return backend.registry; }
    platform::RegKeyPtr Create(const std::string& sub) {
        auto key = reg().CreateKey(RegRoot::CurrentUser, kBase + "\\" + sub);
        EXPECT_TRUE(key) << sub;
        return std::move(key).ValueOr(nullptr);
    }
    platform::RegKeyPtr Open(const std::string& sub, RegAccess access) {
        return reg().OpenKey(RegRoot::CurrentUser, kBase + "\\" + sub, access).ValueOr(nullptr);
    }

    Backend backend;
};

#ifdef _WIN32
using RegistryBackends = ::testing::Types<SimRegistryBackend, Win32RegistryBackend>;
#else
using RegistryBackends = ::testing::Types<SimRegistryBackend>;
#endif
TYPED_TEST_SUITE(RegistryContractTest, RegistryBackends, BackendName);

std::vector<std::string> NamesOf(const std::vector<RegValue>& values) {
    std::vector<std::string> names;
    for (const auto& value : values) names.push_back(value.name);
    return names;
}

TYPED_TEST(RegistryContractTest, OpeningAMissingKeyFailsAndCreatesNothing) {
    this->Create("Parent");
    EXPECT_FALSE(this->Open("Parent\\Missing", RegAccess::Read));
    EXPECT_FALSE(this->Open("Parent\\Missing", RegAccess::Full));
    EXPECT_FALSE(this->Open("Parent\\Missing\\Deeper", RegAccess::Full));
    auto parent = this->Open("Parent", RegAccess::Read);
    ASSERT_TRUE(parent);
    EXPECT_TRUE(parent->SubkeyNames().empty());
}

TYPED_TEST(RegistryContractTest, CreateKeyMakesMissingParentsAndOpensExistingKeys) {
    auto key = this->Create("A\\B\\C");
    ASSERT_TRUE(key->SetValue(RegValue::Dword("n", 1)));
    auto again = this->Create("A\\B\\C");
    ASSERT_TRUE(again);
    EXPECT_TRUE(static_cast<bool>(again->QueryValue("n"))) << "creating an existing key must keep its values";
    EXPECT_TRUE(this->Open("A\\B", RegAccess::Read));
}

TYPED_TEST(RegistryContractTest, ReadAccessListsAndQueriesButCannotChange) {
    auto full = this->Create("Guarded");
    ASSERT_TRUE(full->SetValue(RegValue::String("kept", "yes")));
    this->Create("Guarded\\Child");

    auto read = this->Open("Guarded", RegAccess::Read);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->SubkeyNames(), std::vector<std::string>{"Child"});
    ASSERT_TRUE(static_cast<bool>(read->QueryValue("kept")));
    EXPECT_FALSE(read->SetValue(RegValue::String("new", "no")));
    EXPECT_FALSE(read->DeleteValue("kept"));
    EXPECT_TRUE(static_cast<bool>(read->QueryValue("kept")));
    EXPECT_FALSE(static_cast<bool>(read->QueryValue("new")));

    auto writable = this->Open("Guarded", RegAccess::Full);
    ASSERT_TRUE(writable);
    EXPECT_TRUE(writable->SetValue(RegValue::String("new", "yes")));
    EXPECT_TRUE(writable->DeleteValue("kept"));
}

TYPED_TEST(RegistryContractTest, SubkeysAndValuesAreListedByNameWithTheirStoredCase) {
    auto key = this->Create("List");
    for (const char* name : {"beta", "Alpha", "gamma"}) this->Create(std::string("List\\") + name);
    for (const char* name : {"zeta", "Mid", "alpha"}) ASSERT_TRUE(key->SetValue(RegValue::Dword(name, 1)));
    ASSERT_TRUE(key->SetValue(RegValue::String("", "default")));

    EXPECT_EQ(key->SubkeyNames(), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    auto names = NamesOf(key->Values());
    EXPECT_EQ(names, (std::vector<std::string>{"", "alpha", "Mid", "zeta"}));
    EXPECT_EQ(key->ValueCount(), 4u);
    EXPECT_EQ(key->SubkeyCount(), 3u);
}

TYPED_TEST(RegistryContractTest, ValueTypesRoundTrip) {
    auto key = this->Create("Types");
    const std::vector<RegValue> written = {
        RegValue::String("text", "h\xC3\xA9llo \xE6\x97\xA5\xE6\x9C\xAC"),
        RegValue::String("empty", ""),
        RegValue::String("expand", "%TEMP%\\x", platform::rtExpandString),
        RegValue::String("multi", std::string("one\0two\0", 8), platform::rtMultiString),
        RegValue::Dword("number", 0x0A),
        RegValue::Dword("high", 0xFFFFFFFEu),
        RegValue::Binary("bytes", {0x01, 0x02, 0x00, 0xFF}),
        RegValue::Binary("nothing", {}),
        RegValue::String("", "the default"),
    };
    for (const auto& value : written) ASSERT_TRUE(key->SetValue(value)) << value.name;

    auto reopened = this->Open("Types", RegAccess::Read);
    ASSERT_TRUE(reopened);
    for (const auto& value : written) {
        auto read = reopened->QueryValue(value.name);
        ASSERT_TRUE(read) << value.name;
        EXPECT_EQ(read->name, value.name);
        EXPECT_EQ(read->type, value.type) << value.name;
        EXPECT_EQ(read->data, value.data) << value.name;
    }
    EXPECT_EQ(reopened->QueryValue("number")->AsDword(), 10u);
    EXPECT_EQ(this->backend.registry.ReadString(RegRoot::CurrentUser, kBase + "\\Types", "expand"), "%TEMP%\\x");

    // Listing gives the same values as querying.
    auto listed = reopened->Values();
    ASSERT_EQ(listed.size(), written.size());
    for (const auto& value : listed) {
        auto match = std::find_if(written.begin(), written.end(), [&](const RegValue& w) { return w.name == value.name; });
        ASSERT_NE(match, written.end()) << value.name;
        EXPECT_EQ(value.type, match->type) << value.name;
        EXPECT_EQ(value.data, match->data) << value.name;
    }
}

TYPED_TEST(RegistryContractTest, DeletingAValueRemovesOnlyThatValue) {
    auto key = this->Create("Values");
    ASSERT_TRUE(key->SetValue(RegValue::Dword("one", 1)));
    ASSERT_TRUE(key->SetValue(RegValue::Dword("two", 2)));
    EXPECT_TRUE(key->DeleteValue("one"));
    EXPECT_FALSE(static_cast<bool>(key->QueryValue("one")));
    EXPECT_TRUE(static_cast<bool>(key->QueryValue("two")));
    EXPECT_FALSE(key->DeleteValue("one")) << "a missing value cannot be deleted";
    EXPECT_EQ(NamesOf(key->Values()), std::vector<std::string>{"two"});
}

TYPED_TEST(RegistryContractTest, AKeyWithSubkeysCannotBeDeleted) {
    auto parent = this->Create("Parent");
    this->Create("Parent\\Child");
    auto& reg = this->reg();
    EXPECT_FALSE(reg.DeleteKey(RegRoot::CurrentUser, kBase + "\\Parent"));
    EXPECT_FALSE(parent->DeleteSubkey("Missing"));
    EXPECT_TRUE(this->Open("Parent\\Child", RegAccess::Read));

    // Through a key handle: the child has no subkeys, so it goes.
    EXPECT_TRUE(parent->DeleteSubkey("Child"));
    EXPECT_TRUE(parent->SubkeyNames().empty());
    EXPECT_TRUE(reg.DeleteKey(RegRoot::CurrentUser, kBase + "\\Parent"));
    EXPECT_FALSE(this->Open("Parent", RegAccess::Read));
    EXPECT_FALSE(reg.DeleteKey(RegRoot::CurrentUser, kBase + "\\Parent")) << "deleting twice";
}

TYPED_TEST(RegistryContractTest, KeyAndValueNamesIgnoreCaseAndKeepTheirStoredCase) {
    auto key = this->Create("MixedCase");
    ASSERT_TRUE(key->SetValue(RegValue::String("ValueName", "first")));
    ASSERT_TRUE(key->SetValue(RegValue::String("VALUENAME", "second")));

    auto upper = this->Open("MIXEDCASE", RegAccess::Full);
    ASSERT_TRUE(upper);
    auto values = upper->Values();
    ASSERT_EQ(values.size(), 1u) << "the second write must replace the first";
    EXPECT_EQ(values[0].name, "ValueName");
    EXPECT_EQ(values[0].AsString(), "second");
    EXPECT_EQ(upper->QueryValue("valuename")->AsString(), "second");

    auto base = this->reg().OpenKey(RegRoot::CurrentUser, kBase, RegAccess::Read);
    EXPECT_EQ(base->SubkeyNames(), std::vector<std::string>{"MixedCase"});
    EXPECT_TRUE(this->reg().DeleteKey(RegRoot::CurrentUser, kBase + "\\mixedcase"));
}

TYPED_TEST(RegistryContractTest, NonAsciiLettersAlsoIgnoreCase) {
    this->Create("\xC3\x9C" "ber");  // "Über"
    EXPECT_TRUE(this->Open("\xC3\xBC" "BER", RegAccess::Read));  // "üBER"
}

TYPED_TEST(RegistryContractTest, Utf8NamesRoundTrip) {
    const std::string keyName = "\xD0\x9A\xD0\xBB\xD1\x8E\xD1\x87 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
    const std::string valueName = "\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80";
    auto key = this->Create(keyName);
    ASSERT_TRUE(key->SetValue(RegValue::String(valueName, keyName)));

    auto base = this->reg().OpenKey(RegRoot::CurrentUser, kBase, RegAccess::Read);
    EXPECT_EQ(base->SubkeyNames(), std::vector<std::string>{keyName});
    auto reopened = this->Open(keyName, RegAccess::Read);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(NamesOf(reopened->Values()), std::vector<std::string>{valueName});
    EXPECT_EQ(reopened->QueryValue(valueName)->AsString(), keyName);
}

TYPED_TEST(RegistryContractTest, ALeadingBackslashNamesTheSameKey) {
    this->Create("Slash");
    EXPECT_TRUE(this->reg().OpenKey(RegRoot::CurrentUser, "\\" + kBase + "\\Slash", RegAccess::Full));
}

TYPED_TEST(RegistryContractTest, TheRootItselfOpens) {
    auto root = this->reg().OpenKey(RegRoot::CurrentUser, "", RegAccess::Read);
    ASSERT_TRUE(root);
    this->Create("X");
    auto names = root->SubkeyNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "Software"), names.end());
}

// ---- the sim's own means for tests ----

using platform::sim::SimRegistry;

TEST(SimRegistry, AKeyDeniedFullAccessCanBeReadButNotChanged) {
    SimRegistry reg;
    reg.SetString(RegRoot::LocalMachine, "Software\\Vendor\\App", "Path", "C:\\App");
    reg.SetString(RegRoot::LocalMachine, "Software\\Vendor\\App\\Sub", "x", "1");
    reg.DenyFullAccess(RegRoot::LocalMachine, "Software\\Vendor");

    EXPECT_TRUE(reg.OpenKey(RegRoot::LocalMachine, "Software\\Vendor\\App", RegAccess::Read));
    EXPECT_FALSE(reg.OpenKey(RegRoot::LocalMachine, "Software\\Vendor\\App", RegAccess::Full))
        << "subkeys are denied with their parent";
    EXPECT_FALSE(reg.CreateKey(RegRoot::LocalMachine, "Software\\Vendor\\App"));
    EXPECT_FALSE(reg.CreateKey(RegRoot::LocalMachine, "Software\\Vendor\\New"));
    EXPECT_FALSE(reg.DeleteKey(RegRoot::LocalMachine, "Software\\Vendor\\App\\Sub"));
    auto parent = reg.OpenKey(RegRoot::LocalMachine, "Software\\Vendor\\App", RegAccess::Read);
    EXPECT_FALSE(parent->DeleteSubkey("Sub"));
    EXPECT_TRUE(reg.KeyExists(RegRoot::LocalMachine, "Software\\Vendor\\App\\Sub"));
    EXPECT_TRUE(reg.OpenKey(RegRoot::LocalMachine, "Software", RegAccess::Full)) << "the parent is not denied";

    reg.AllowAccess(RegRoot::LocalMachine, "Software\\Vendor");
    EXPECT_TRUE(reg.OpenKey(RegRoot::LocalMachine, "Software\\Vendor\\App", RegAccess::Full));
}

TEST(SimRegistry, DenialCanStopAtTheKeyItself) {
    SimRegistry reg;
    reg.AddKey(RegRoot::CurrentUser, "A\\B");
    reg.DenyFullAccess(RegRoot::CurrentUser, "A", false);
    EXPECT_FALSE(reg.OpenKey(RegRoot::CurrentUser, "A", RegAccess::Full));
    EXPECT_TRUE(reg.OpenKey(RegRoot::CurrentUser, "A\\B", RegAccess::Full));

    reg.DenyAccess(RegRoot::CurrentUser, "A\\B");
    EXPECT_FALSE(reg.OpenKey(RegRoot::CurrentUser, "A\\B", RegAccess::Read));
    EXPECT_TRUE(reg.KeyExists(RegRoot::CurrentUser, "A\\B"));
}

TEST(SimRegistry, AHandleToADeletedKeySeesNothingAndChangesNothing) {
    SimRegistry reg;
    reg.SetDword(RegRoot::CurrentUser, "Gone", "n", 1);
    auto key = reg.OpenKey(RegRoot::CurrentUser, "Gone", RegAccess::Full);
    ASSERT_TRUE(reg.DeleteKey(RegRoot::CurrentUser, "Gone"));
    EXPECT_TRUE(key->Values().empty());
    EXPECT_FALSE(key->SetValue(RegValue::Dword("m", 2)));
    EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, "Gone"));
}

TEST(SimRegistry, LoadsRegTextFixtures) {
    SimRegistry reg;
    reg.LoadRegText(
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; a comment\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU]\r\n"
        "\"a\"=\"notepad\\\\1\"\r\n"
        "\"MRUList\"=\"a\"\r\n"
        "@=\"default \\\"quoted\\\"\"\r\n"
        "\"n\"=dword:0000000a\r\n"
        "\"b\"=hex:01,02,\\\r\n"
        "  ff\r\n"
        "\"e\"=hex(2):25,00,54,00,00,00\r\n"
        "\"m\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Empty]\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Removed]\r\n"
        "\"x\"=\"1\"\r\n"
        "[-HKEY_LOCAL_MACHINE\\Software\\Removed]\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU]\r\n"
        "\"MRUList\"=-\r\n");

    const std::string mru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    EXPECT_EQ(reg.GetValue(RegRoot::CurrentUser, mru, "a")->AsString(), "notepad\\1");
    EXPECT_EQ(reg.GetValue(RegRoot::CurrentUser, mru, "")->AsString(), "default \"quoted\"");
    EXPECT_EQ(reg.GetValue(RegRoot::CurrentUser, mru, "n")->AsDword(), 10u);
    EXPECT_EQ(reg.GetValue(RegRoot::CurrentUser, mru, "b")->data, (std::vector<uint8_t>{1, 2, 0xFF}));
    auto expand = reg.GetValue(RegRoot::CurrentUser, mru, "e");
    EXPECT_EQ(expand->type, platform::rtExpandString);
    EXPECT_EQ(expand->AsString(), "%T");
    EXPECT_EQ(reg.GetValue(RegRoot::CurrentUser, mru, "m")->AsString(), std::string("a\0b\0", 4));
    EXPECT_FALSE(reg.GetValue(RegRoot::CurrentUser, mru, "MRUList").has_value());
    EXPECT_TRUE(reg.KeyExists(RegRoot::LocalMachine, "Software\\Empty"));
    EXPECT_FALSE(reg.KeyExists(RegRoot::LocalMachine, "Software\\Removed"));
}

TEST(SimRegistry, MalformedRegTextNamesTheLine) {
    SimRegistry reg;
    try {
        reg.LoadRegText("[HKEY_CURRENT_USER\\A]\n\"n\"=dword:xyz\n");
        FAIL() << "no error";
    } catch (const std::invalid_argument& error) {
        EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << error.what();
    }
    EXPECT_THROW(reg.LoadRegText("\"orphan\"=\"value\"\n"), std::invalid_argument);
    EXPECT_THROW(reg.LoadRegText("[HKEY_NOWHERE\\A]\n"), std::invalid_argument);
    EXPECT_THROW(reg.LoadRegText("[HKEY_CURRENT_USER\\A]\n\"b\"=hex:1,,2\n"), std::invalid_argument);
}

TEST(SimRegistry, LoadsUtf16RegFilesAsTheEditorSavesThem) {
    TTempFolder folder;
    const std::u16string text = u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\T\u00E9st]\r\n\"k\"=\"\u65E5\"\r\n";
    std::ofstream out(folder.Path() / "fixture.reg", std::ios::binary);
    out.write("\xFF\xFE", 2);
    for (char16_t unit : text) {
        out.put(static_cast<char>(unit & 0xFF));
        out.put(static_cast<char>(unit >> 8));
    }
    out.close();
    SimRegistry reg;
    reg.LoadRegFile(folder.Path() / "fixture.reg");
    EXPECT_EQ(reg.GetValue(RegRoot::CurrentUser, "T\xC3\xA9st", "k")->AsString(), "\xE6\x97\xA5");
}

}  // namespace
}  // namespace nullvane::testing
