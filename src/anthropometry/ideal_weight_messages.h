#pragma once

#include "hostfw/messages.h"

namespace anthropometry {

// The texts of the ideal weight family, under the keys its routines use.
const hostfw::TMessages& msgPesoIdeal();

}  // namespace anthropometry
