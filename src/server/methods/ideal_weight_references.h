#pragma once

#include "common.h"

namespace server::methods {

// The reference tables of the ideal weight family (reference/ideal_weight_references.h):
// GetCalcOssatura (reference, sex letter, frame code, height in cm): the ideal weight for
// the height and frame. GetImcPesoIdeal (sex letter, reference, coded age): the reference
// BMI, the 50th percentile of the reference's table of "01". GetPesoIdade (sex letter,
// reference, percentile code, years, months, weight): the weight for the age at that
// percentile, and the weight age (growth::weightAgeMonths) with the weight there.
// GetPesoIdealAltura (reference, years, months, height in cm, sex letter): the median weight for
// the height, then the median weight for the age. Ages are read at the middle of the completed
// month; a point outside a table, the sex letters "D" and "I" and a reference without the table
// give empty packets.
void registerIdealWeightReferences(RouteTable& routes, Database& db);

}  // namespace server::methods
