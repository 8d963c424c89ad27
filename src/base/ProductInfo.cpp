#include "base/ProductInfo.h"

namespace nullvane::base {

const char* MainCaption() { return "Nullvane " NULLVANE_VERSION_TEXT; }

}  // namespace nullvane::base
