#include "base/ProductInfo.h"

namespace nullvane::app {

const char* MainCaption() { return "Nullvane 3.5"; }

}  // namespace nullvane::app
