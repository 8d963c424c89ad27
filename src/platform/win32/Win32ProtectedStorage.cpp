#include "platform/win32/Win32ProtectedStorage.h"

#include <windows.h>
#include <objbase.h>
#include <pstore.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/WideText.h"

namespace nullvane::platform::win32 {

namespace {

using CreateInstanceFn = HRESULT(WINAPI*)(IPStore**, PST_PROVIDERID*, void*, DWORD);

static_assert(sizeof(Guid) == sizeof(GUID));

GUID ToGuid(const Guid& id) {
    GUID result;
    result.Data1 = id.data1;
    result.Data2 = id.data2;
    result.Data3 = id.data3;
    std::memcpy(result.Data4, id.data4.data(), 8);
    return result;
}

Guid FromGuid(const GUID& id) {
    Guid result;
    result.data1 = id.Data1;
    result.data2 = id.Data2;
    result.data3 = id.Data3;
    std::memcpy(result.data4.data(), id.Data4, 8);
    return result;
}

// Releases a COM reference when it goes out of scope.
template <class T>
class TComRef {
public:
    TComRef() = default;
    ~TComRef() {
        if (ref_) ref_->Release();
    }
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    T** Out() { return &ref_; }
    T* operator->() const { return ref_; }
    explicit operator bool() const { return ref_ != nullptr; }

private:
    T* ref_ = nullptr;
};

// Frees the strings an item enumerator handed out, also if converting one throws.
class TFetchedNames {
public:
    ~TFetchedNames() { Free(); }
    void Free() {
        for (DWORD i = 0; i < fetched; ++i) CoTaskMemFree(names[i]);
        fetched = 0;
    }
    LPWSTR names[16]{};
    DWORD fetched = 0;
};

// Every GUID a type enumerator gives, 16 at a time, until it runs dry or fails.
std::vector<Guid> AllIds(IEnumPStoreTypes* enumerator) {
    std::vector<Guid> ids;
    GUID batch[16];
    for (;;) {
        DWORD fetched = 0;
        HRESULT result = enumerator->Next(16, batch, &fetched);
        if (FAILED(result)) break;
        fetched = std::min<DWORD>(fetched, 16);
        for (DWORD i = 0; i < fetched; ++i) ids.push_back(FromGuid(batch[i]));
        if (fetched == 0 || result != S_OK) break;
    }
    return ids;
}

class Win32ProtectedStore final : public ProtectedStore {
public:
    explicit Win32ProtectedStore(IPStore* store) : store_(store) {}
    ~Win32ProtectedStore() override { store_->Release(); }

    std::optional<std::vector<Guid>> EnumTypes(uint32_t key) override {
        TComRef<IEnumPStoreTypes> enumerator;
        if (FAILED(store_->EnumTypes(key, 0, enumerator.Out())) || !enumerator) return std::nullopt;
        return AllIds(enumerator.operator->());
    }

    std::optional<std::vector<Guid>> EnumSubtypes(uint32_t key, const Guid& type) override {
        GUID typeId = ToGuid(type);
        TComRef<IEnumPStoreTypes> enumerator;
        if (FAILED(store_->EnumSubtypes(key, &typeId, 0, enumerator.Out())) || !enumerator) return std::nullopt;
        return AllIds(enumerator.operator->());
    }

    std::optional<std::vector<std::string>> EnumItems(uint32_t key, const Guid& type, const Guid& subtype) override {
        GUID typeId = ToGuid(type), subtypeId = ToGuid(subtype);
        TComRef<IEnumPStoreItems> enumerator;
        if (FAILED(store_->EnumItems(key, &typeId, &subtypeId, 0, enumerator.Out())) || !enumerator)
            return std::nullopt;
        std::vector<std::string> names;
        TFetchedNames batch;
        for (;;) {
            HRESULT result = enumerator->Next(16, batch.names, &batch.fetched);
            if (FAILED(result)) {
                batch.fetched = 0;  // nothing handed out on failure
                break;
            }
            batch.fetched = std::min<DWORD>(batch.fetched, 16);
            bool last = batch.fetched == 0 || result != S_OK;
            for (DWORD i = 0; i < batch.fetched; ++i)
                names.push_back(batch.names[i] ? Narrow(batch.names[i]) : std::string());
            batch.Free();
            if (last) break;
        }
        return names;
    }

    std::optional<std::string> TypeName(uint32_t key, const Guid& type) override {
        GUID typeId = ToGuid(type);
        PST_TYPEINFO* info = nullptr;
        HRESULT result = store_->GetTypeInfo(key, &typeId, &info, 0);
        std::optional<std::string> name;
        if (result == S_OK && info) {
            try {
                name = info->szDisplayName ? Narrow(info->szDisplayName) : std::string();
            } catch (...) {
                CoTaskMemFree(info);
                throw;
            }
        }
        if (info) CoTaskMemFree(info);
        return name;
    }

    bool DeleteItem(uint32_t key, const Guid& type, const Guid& subtype, const std::string& name) override {
        GUID typeId = ToGuid(type), subtypeId = ToGuid(subtype);
        std::wstring wideName = Widen(name);
        PST_PROMPTINFO prompt{};
        prompt.cbSize = sizeof prompt;  // this platform's layout, not a 32-bit program's
        prompt.dwPromptFlags = 4;
        prompt.hwndApp = nullptr;
        prompt.szPrompt = L"";
        return store_->DeleteItem(key, &typeId, &subtypeId, wideName.c_str(), &prompt, 0) == S_OK;
    }

private:
    IPStore* store_;
};

}  // namespace

Win32ProtectedStorage::Win32ProtectedStorage() {
    // By its full path in the system folder: a bare name is looked for in
    // the program's folder first.
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::wstring path(system, length);
    path += L"\\pstorec.dll";
    HMODULE library = LoadLibraryW(path.c_str());
    if (!library) return;
    FARPROC entry = GetProcAddress(library, "PStoreCreateInstance");
    if (!entry) {
        FreeLibrary(library);
        return;
    }
    library_ = library;
    createInstance_ = reinterpret_cast<void*>(entry);
}

Win32ProtectedStorage::~Win32ProtectedStorage() {
    if (library_) FreeLibrary(static_cast<HMODULE>(library_));
}

bool Win32ProtectedStorage::IsAvailable() { return createInstance_ != nullptr; }

ProtectedStorePtr Win32ProtectedStorage::Open() {
    if (!createInstance_) return nullptr;
    auto create = reinterpret_cast<CreateInstanceFn>(createInstance_);
    IPStore* store = nullptr;
    HRESULT result = create(&store, nullptr, nullptr, 0);
    if (result != S_OK || !store) {
        if (store) store->Release();
        return nullptr;
    }
    try {
        return std::make_unique<Win32ProtectedStore>(store);
    } catch (...) {
        store->Release();
        throw;
    }
}

}  // namespace nullvane::platform::win32
