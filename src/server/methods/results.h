#pragma once

#include "common.h"

namespace server::methods {

// GetResuAval, GetResuAvalEnerg, DelResuAval, DelResuAvalEnerg, SetResuAval,
// SetResuAvalEnerg.
void registerResults(RouteTable& routes, Database& db);

}  // namespace server::methods
