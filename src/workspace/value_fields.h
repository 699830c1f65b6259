#pragma once

// The fields of a recorded value, named alike in the data grid (cdsDadosAval), the
// recorded values (cdsInfoAval) and the refresh of them (cdsAtualizaDados).

#include <QString>

namespace workspace::value_fields {

inline const QString kType = QStringLiteral("CDTIPODADO");
inline const QString kValue = QStringLiteral("DSINFOAVAL");
inline const QString kUnit = QStringLiteral("DSUNIDDADO");
inline const QString kObservation = QStringLiteral("DSOBSERAVAL");

}  // namespace workspace::value_fields
