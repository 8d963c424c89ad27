#include "base/ProductInfo.h"

namespace nullvane::app {

const char* MainCaption() { return "Nullvane " NULLVANE_VERSION_TEXT; }

}  // namespace nullvane::app
