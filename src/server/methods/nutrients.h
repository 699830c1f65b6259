#pragma once

#include "common.h"

#include <QJsonObject>

namespace server::methods {

// The recommendations of a consultation (GetDados element 6): one row per reference and
// nutrient group among its stored nutrient amounts, with the reference's description, the
// group's name and the patient type of its rows. A recommendation whose amounts are all
// deleted is gone.
QJsonObject recommendationsPacket(Transaction& tx, const records::ConsultationKey& k);
// The nutrient amounts (element 7), with the nutrient's name and unit from the nutrient
// catalogue.
QJsonObject nutrientAmountsPacket(Transaction& tx, const records::ConsultationKey& k);

// SetNutrePaci, DelNutrePaci.
void registerNutrients(RouteTable& routes, Database& db);

}  // namespace server::methods
