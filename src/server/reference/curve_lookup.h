#pragma once

#include "../storage/database.h"

#include <QString>

#include <optional>

namespace server::reference {

// The value of a reference curve (refecurva) at x: the point at x, or the straight line
// between the nearest points below and above it. std::nullopt when x lies outside the
// curve's first and last points, or the curve has no points for that sex and series.
// x is taken to six decimals, as the points are stored, so a height computed in metres
// times 100 meets its row.
std::optional<double> curveValueAt(storage::Transaction& tx, const QString& reference,
                                   const QString& curve, const QString& sex, const QString& series,
                                   double x);

// x rounded to the six decimals the curves keep their axis in.
double curveAxis(double x);

}  // namespace server::reference
