#pragma once

#include "common.h"

namespace server::methods {

// GetPCT (sex letter, reference, method, coded age): the standard of the method's measure
// for the patient, one row of cdsPCT: the reference's fixed standard when it has one
// (Jelliffe 1966), otherwise the 50th percentile of its table for the age and sex.
// GetPercentFix (reference, percentile code, method, age in whole years as text): the
// reference's fixed standards of that percentile for men and women at the age, rows of
// cdsPercentiFix with the reference's name.
void registerReferenceStandards(RouteTable& routes, Database& db);

}  // namespace server::methods
