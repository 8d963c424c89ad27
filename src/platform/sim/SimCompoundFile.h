#pragma once
// The simulation's reader of compound files (structured storage), over the
// file's bytes, answering as the system's storage functions do.
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace nullvane::platform::sim {

// The stream named `streamName` (compared ignoring ASCII case) directly in
// the root storage. seInvalidData for bytes that are no compound file or
// whose structures lead outside the file or round in circles;
// seFileNotFound when the root storage holds no such stream.
[[nodiscard]] TResult<std::string> ReadCompoundFileStream(std::string_view bytes, std::string_view streamName);

}  // namespace nullvane::platform::sim
