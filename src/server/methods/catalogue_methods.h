#pragma once

#include "common.h"

#include <QJsonObject>

namespace server::methods {

// The server's method catalogue as GetDados elements 2, 3 and 4: methods in catalogue
// order (sequence IDSEQUMETO, then code), data types by code, links by method in the
// order they were added.
QJsonObject catalogueMethodsPacket(Transaction& tx);
QJsonObject catalogueDataTypesPacket(Transaction& tx);
QJsonObject catalogueLinksPacket(Transaction& tx);

// SetInsMetoAval, SetInsTipoDado, SetInsDadoAval: the module brings the catalogue up to
// date with these. A method or data type still used by a link or a consultation record
// cannot be deleted; a link needs its method and data type.
void registerCatalogue(RouteTable& routes, Database& db);

}  // namespace server::methods
