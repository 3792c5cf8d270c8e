#pragma once
// The printer test's names for the shared gestures.
#include "testhilfe.h"

namespace ablauf {
using testhilfe::teil;
using testhilfe::zeileklicken;
}  // namespace ablauf
