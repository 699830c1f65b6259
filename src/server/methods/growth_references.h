#pragma once

#include "common.h"

namespace server::methods {

// The growth indices (reference/growth_references.h), ages in whole years and months read
// at the middle of the completed month, heights settled to the millimetre:
// GetPesCalcAltura (sex letter, reference, percentile code, height in cm, years, months):
// the weight for the height at the percentile ("" is the median), then the weight and the
// height for the age at it. GetPesIdAlt (reference, weight, "X"/"T", height, "X"/"T",
// years, months, sex letter) and GetPesoAlt (reference, weight, height, sex letter): the
// measured value's band among the reference's percentiles, three texts (growth::Band).
// GetNutRecCatchUp (nutrient reference, sex letter, weight age coded as years and two
// digits of months): the energy and protein per kg for that age. GetCurvaCrescimento
// (reference, growth method, sex letter): the percentile curves of the method over its
// range (records/growth_methods.h), cdsCurvaCresc.
void registerGrowthReferences(RouteTable& routes, Database& db);

}  // namespace server::methods
