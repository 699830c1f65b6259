#pragma once

namespace server::reference {

// The measurement at z standard deviations of an LMS reference (Cole's method):
// X = M·(1 + L·S·z)^(1/L), or M·exp(S·z) when L is 0.
double lmsValue(double l, double m, double s, double z);

// The standard normal quantile of the percentiles the references tabulate, at full
// precision (Φ⁻¹(0.97) = 1.8807936...). Percentiles computed with the four-decimal
// z-scores often quoted (1.8808) differ from WHO's published tables in the third decimal.
double percentileZ(int percentile);

// Rounds to the given decimals the way WHO's published tables are rounded: to nearest,
// an exact half to the even digit (15.2605 -> 15.260, 21.3055 -> 21.306).
double roundHalfEven(double value, int decimals);

}  // namespace server::reference
