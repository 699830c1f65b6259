#pragma once

#include "common.h"

namespace server::methods {

// GetCalcSomaPrega (sex letter, reference, age in years, sum of the four skinfolds in mm):
// the fat percentage for the sum, one row of cdsCalcSomaPrega (VRPEPREGAS, three decimals).
// The reference's density equation for the sex and the completed years of age gives the
// body density, made into fat by Siri (495 / D - 450). No row for the undetermined sex
// letters "D" and "I", an age without an equation, a reference without equations, or a sum
// so small that the equation gives no fat at all. A sex letter other than the four, an age
// outside 0 to 200 years and a sum that is not above 0 are refused.
void registerBodyFatReferences(RouteTable& routes, Database& db);

}  // namespace server::methods
