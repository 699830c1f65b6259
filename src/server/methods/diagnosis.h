#pragma once

#include "common.h"

namespace server::methods {

// GetDiag, SetDiag.
void registerDiagnosis(RouteTable& routes, Database& db);

}  // namespace server::methods
