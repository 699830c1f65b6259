#pragma once

#include "common.h"

#include <QJsonObject>

namespace server::methods {

enum class MethodList
{
    Anthropometric,
    Energy
};

// The consultation's method list (GetDados elements 0 and 1): one row per catalogue
// method of the list offered at the coded age (VRIDADEINITB <= age <= VRIDADEFINTB, an
// empty bound being open) or already stored for the consultation, joined with the stored
// choice ("N" and no reference when none), in catalogue order.
QJsonObject methodListPacket(Transaction& tx, const records::ConsultationKey& k, double codedAge,
                             MethodList list);

// SetMetoAval, SetMetoAvalEnerg, GetExistMetoAval.
void registerMethodLists(RouteTable& routes, Database& db);

}  // namespace server::methods
