#pragma once

#include "hostfw/messages.h"

namespace anthropometry {

// The texts of the waist and hip family, under the keys its routines use.
const hostfw::TMessages& msgCintura();

}  // namespace anthropometry
