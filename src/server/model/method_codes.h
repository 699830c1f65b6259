#pragma once

#include <QString>

namespace server::model {

// The energy methods ("30" to "36") form the energy list of a consultation; every other
// catalogue method belongs to the anthropometric list.
inline bool isEnergyMethod(const QString& code)
{
    return code.size() == 2 && code >= QLatin1String("30") && code <= QLatin1String("36");
}

// The SQL condition that selects the energy methods by a code column.
inline QString energyCondition(const QString& column)
{
    return QStringLiteral("(%1 >= '30' AND %1 <= '36')").arg(column);
}

}  // namespace server::model
