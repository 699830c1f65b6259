#pragma once

#include "common.h"

namespace server::methods {

// GetDuBois (sex letter, table code, coded age): the basal metabolic rate in kcal per m²
// per hour for the sex and age, one row of cdsDuBois. The table code is the bibliographic
// reference of a basal metabolic rate table ("40", Fleisch); a code without such a table is
// refused. The age reads the row of the greatest tabulated age not above the patient's
// whole years (the first row below it, the last row above it); the undetermined sex
// letters "D" and "I" answer an empty packet, so the equation writes nothing.
// GetRefFatGrup (injury-factor code, nutrient reference code, nutrient group code): three
// packets, the injury factors (cdsFatoInju), the references of recommended nutrient
// intakes (cdsRefeRecom) and the nutrient groups (cdsGrupNutr), each by code; a code
// given keeps only that row of its packet, an empty one keeps them all.
void registerEnergyReferences(RouteTable& routes, Database& db);

}  // namespace server::methods
