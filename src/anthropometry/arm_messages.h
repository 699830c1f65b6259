#pragma once

#include "hostfw/messages.h"

namespace anthropometry {

// The texts of the arm anthropometry family, under the keys its routines use.
const hostfw::TMessages& msgBraco();

}  // namespace anthropometry
