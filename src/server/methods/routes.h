#pragma once

#include "../api/route_table.h"
#include "../storage/database.h"

namespace server::methods {

// Every remote method of the server, bound to the database.
void registerAll(api::RouteTable& routes, storage::Database& db);

}  // namespace server::methods
