#pragma once

#include "common.h"

namespace server::methods {

// GetDados: the consultation packet of eight elements, read in one transaction.
void registerConsultation(RouteTable& routes, Database& db);

}  // namespace server::methods
