#pragma once

#include "hostfw/messages.h"

namespace anthropometry {

// The texts of the body mass index family, under the keys its routines use.
const hostfw::TMessages& msgImc();

}  // namespace anthropometry
