#pragma once

#include "hostfw/messages.h"

namespace anthropometry {

// The texts of the body fat family, under the keys its routines use.
const hostfw::TMessages& msgGordura();

}  // namespace anthropometry
