#pragma once

#include "common.h"

#include <QStringList>

namespace server::methods {

// The chosen-codes text of a multiple choice of nutrients at index ("_001_017_"): empty, or
// a lone "_", for none; otherwise an underscore, then three digits and an underscore, once
// per code, at most 600 characters. Answers the codes in order, each once. Anything else is
// refused: the text never reaches SQL, and a code matches only itself ("01" is no code and
// never matches "010").
QStringList chosenNutrientCodes(const Params& p, int index);

// GetPesNutrientes (group): the nutrient catalogue's nutrients of a group, by code.
// GetPesqNmNutr (group, chosen codes): those among the chosen codes.
// GetPesqNutrPaci (K, reference, group, sex letter, patient type code, coded age, chosen
// codes): the patient's nutrient rows of that reference and group, and the recommended
// range of each chosen nutrient of the group for the patient.
void registerNutrientRecommendation(RouteTable& routes, Database& db);

}  // namespace server::methods
