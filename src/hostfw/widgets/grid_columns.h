#pragma once

#include <QString>

class QAbstractItemView;

namespace hostfw {

// The index of the grid's column bound to the field (matched without regard to case),
// or -1 when the grid does not show a dataset or does not show that field.
int IndiceCol(const QAbstractItemView* grid, const QString& fieldName);

}  // namespace hostfw
