#pragma once

namespace workspace {

// The age-band test of the method routines: -1 when the age (years, months) is below
// the band, 0 within it (both ends included), 1 above it. Years are compared first,
// months only when the years are equal. For an inverted band an age that is both
// below and above counts as above.
int FaixaIdade(int years, int months, int lowerYears, int lowerMonths, int upperYears,
               int upperMonths);

}  // namespace workspace
