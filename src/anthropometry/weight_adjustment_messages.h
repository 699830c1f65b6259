#pragma once

#include "hostfw/messages.h"

namespace anthropometry {

// The texts of the weight adjustment family, under the keys its routines use.
const hostfw::TMessages& msgAjustePeso();

}  // namespace anthropometry
