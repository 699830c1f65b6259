#pragma once

#include "hostfw/messages.h"

namespace anthropometry {

// The texts of the child growth family (and of catch-up growth on the energy tab), under
// the keys its routines use.
const hostfw::TMessages& msgCrescimento();

}  // namespace anthropometry
