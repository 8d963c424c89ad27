#pragma once
// The registry through the W functions; names and string data cross as UTF-8.
#include "platform/Registry.h"

namespace nullvane::platform::win32 {

class Win32Registry final : public Registry {
public:
    // Read access is KEY_READ, full access KEY_ALL_ACCESS. A leading "\" in
    // a path is dropped, so "\Software" and "Software" name the same key.
    TResult<RegKeyPtr> OpenKey(RegRoot root, const std::string& path, RegAccess access) override;
    TResult<RegKeyPtr> CreateKey(RegRoot root, const std::string& path) override;
    TStatus DeleteKey(RegRoot root, const std::string& path) override;
};

}  // namespace nullvane::platform::win32
