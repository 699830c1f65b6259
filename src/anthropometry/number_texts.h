#pragma once

// How the method routines show and round their numbers: the pt-BR display patterns of
// the result lines and the three-decimal rounding of the classifications.

#include <QString>

namespace anthropometry {

inline const QString kThreeDecimals = QStringLiteral("#,##0.000");
inline const QString kTwoDecimals = QStringLiteral("#,##0.00");
inline const QString kKilograms = QStringLiteral(" Kg");

// value with three decimals ("22,857", "1.234,500").
QString threeDecimals(double value);
// value with two decimals, followed by unit when one is given ("47,36 Kg").
QString twoDecimals(double value, const QString& unit = {});
// value rounded to three decimals, exact halves away from zero (RoundDec).
double round3(double value);
// A computed quantity as it is worked out on paper: binary floating point leaves noise in
// the last digits of a quotient or product (64 / 1,60² gives 24,999999999999996, 1,50² x
// 21,7 gives 48,824999999999996), which would put a BMI of exactly 25 under the limit and
// round a weight of 48,825 down. Keeping ten decimals removes the noise and nothing that
// a measurement typed with a few decimals can carry.
double settled(double value);

}  // namespace anthropometry
