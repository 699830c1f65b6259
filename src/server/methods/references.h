#pragma once

#include "common.h"

namespace server::methods {

// GetRefeMeto (reference code, owning method), GetRefePeso and GetRefeOssa (reference
// code): the bibliographic references of a list, all of them when the code is empty,
// else the one with that code (an empty packet when the list does not have it).
void registerReferences(RouteTable& routes, Database& db);

}  // namespace server::methods
