#pragma once

#include "field.h"

#include <QList>
#include <QVariantList>

namespace records {

// A data packet: a whole table as the server sends it and a dataset loads it.
// Each row holds one value per field, in field order; null is an invalid QVariant.
struct Packet
{
    FieldList fields;
    QList<QVariantList> rows;

    bool isEmpty() const { return rows.isEmpty(); }
    int fieldIndex(const QString& name) const { return indexOfField(fields, name); }
    // The value of the named field in row; an invalid QVariant when there is none.
    QVariant value(int row, const QString& field) const;
};

}  // namespace records
