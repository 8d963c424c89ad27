// Protected Storage against the sim and (under Wine) pstorec.dll: the store
// opens, and a store with nothing of ours in it names nothing, lists
// nothing and deletes nothing, whether it refuses the calls (Wine's stubs)
// or answers them.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ServiceBackends.h"
#include "platform/sim/SimProtectedStorage.h"

#ifdef _WIN32
#include "platform/win32/Win32ProtectedStorage.h"
#endif

namespace nullvane::testing {
namespace {

using platform::Guid;

struct SimPStoreBackend {
    static constexpr const char* kName = "Sim";
    platform::sim::SimProtectedStorage storage;
};

#ifdef _WIN32
struct Win32PStoreBackend {
    static constexpr const char* kName = "Win32";
    platform::win32::Win32ProtectedStorage storage;
};
using PStoreBackends = ::testing::Types<SimPStoreBackend, Win32PStoreBackend>;
#else
using PStoreBackends = ::testing::Types<SimPStoreBackend>;
#endif

template <class Backend>
class ProtectedStorageContractTest : public ::testing::Test {
protected:
    Backend backend;
};

TYPED_TEST_SUITE(ProtectedStorageContractTest, PStoreBackends, BackendName);

// A type no store holds.
const Guid kUnknownType{0x6e756c6c, 0x7661, 0x6e65, {0x63, 0x6f, 0x6e, 0x74, 0x72, 0x61, 0x63, 0x74}};

TYPED_TEST(ProtectedStorageContractTest, StoreOpensTwiceAndNamesListsAndDeletesNothingUnknown) {
    platform::ProtectedStorage& storage = this->backend.storage;
    ASSERT_TRUE(storage.IsAvailable());
    auto store = storage.Open();
    ASSERT_TRUE(store);
    auto second = storage.Open();
    EXPECT_TRUE(second);
    second.reset();

    auto types = store->EnumTypes(platform::kPStoreCurrentUser);
    if (types) {
        EXPECT_EQ(std::count(types->begin(), types->end(), kUnknownType), 0);
    }
    EXPECT_EQ(store->TypeName(platform::kPStoreCurrentUser, kUnknownType), std::nullopt);
    EXPECT_TRUE(store->EnumSubtypes(platform::kPStoreCurrentUser, kUnknownType).value_or(std::vector<Guid>{}).empty());
    EXPECT_TRUE(store->EnumItems(platform::kPStoreCurrentUser, kUnknownType, kUnknownType)
                    .value_or(std::vector<std::string>{})
                    .empty());
    EXPECT_FALSE(store->DeleteItem(platform::kPStoreCurrentUser, kUnknownType, kUnknownType, "http://none/StringData"));
}

}  // namespace
}  // namespace nullvane::testing
