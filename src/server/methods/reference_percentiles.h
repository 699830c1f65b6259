#pragma once

#include "common.h"

#include <optional>

namespace server::methods {

// GetPercentil (reference, method, coded age, sex letter, reference again, measured
// value): the percentile codes of the reference's table for that method, sex and age,
// and the percentiles just at-or-below and at-or-above the value. GetImcPesoTeorico
// (reference, coded age, sex letter): the minimum, middle and maximum BMI of the
// reference's table of the body mass index with theoretical weights (its 15th, 50th and 85th
// percentiles).
void registerReferencePercentiles(RouteTable& routes, Database& db);

// The argument at index as the sex letter of a table: "M" or "F", std::nullopt for the
// undetermined letters "D" and "I" (no table covers them); any other text is refused.
std::optional<QString> tableSex(const Params& p, int index);

// The argument at index, a coded age, in completed months; refused when it is not one.
int ageInMonths(const Params& p, int index);

}  // namespace server::methods
