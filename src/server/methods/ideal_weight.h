#pragma once

#include "common.h"

#include <QJsonObject>

namespace server::methods {

// The ideal-weight methods offered to the energy and recommendation pages (GetDados
// element 5): Lorenz, BMI range and Weech, the three the module
// computes an ideal weight with, in code order.
QJsonObject idealWeightMethodsPacket(Transaction& tx);

// SetAtuPesIde: keeps the consultation's ideal weight (description and weight text) and
// records the weight as the value of the data type Peso Ideal for every anthropometric
// method that needs it (the adequacy and adjusted weights), so that selecting one of
// them later finds it.
void registerIdealWeight(RouteTable& routes, Database& db);

}  // namespace server::methods
