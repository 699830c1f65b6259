#pragma once

#include "records/catalogue_descriptors.h"

#include <QStringList>

namespace server::model {

// The energy methods form the energy list of a consultation; every other catalogue
// method belongs to the anthropometric list.
inline bool isEnergyMethod(const QString& code)
{
    return records::isEnergyMethod(code);
}

// The SQL condition that selects the energy methods by a code column (the codes are
// the catalogue's own, never a client's text).
inline QString energyCondition(const QString& column)
{
    QStringList codes;
    for (const records::MethodDescriptor& method : records::methodDescriptors()) {
        if (method.page == records::MethodPage::Energy)
            codes << QStringLiteral("'%1'").arg(method.code);
    }
    return QStringLiteral("%1 IN (%2)").arg(column, codes.join(QStringLiteral(", ")));
}

}  // namespace server::model
