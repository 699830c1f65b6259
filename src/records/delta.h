#pragma once

#include "field.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

namespace records {

// One change of a dataset's change log. Values are whole rows in the delta's field
// order: an insert has only the new row, a delete only the original row, an update
// both, so the server can find the row by its original key values.
struct DeltaChange
{
    enum class Kind
    {
        Insert,
        Update,
        Delete
    };
    Kind kind = Kind::Insert;
    QVariantList oldValues;
    QVariantList newValues;

    bool operator==(const DeltaChange&) const = default;
};

QString deltaKindName(DeltaChange::Kind kind);
std::optional<DeltaChange::Kind> deltaKindFromName(const QString& name);

// Every insert, change and delete of a dataset since its last merge, in the order made.
struct Delta
{
    FieldList fields;
    QStringList keyFields;  // the fields that identify a row
    QList<DeltaChange> changes;

    bool isEmpty() const { return changes.isEmpty(); }
};

}  // namespace records
