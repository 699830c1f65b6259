#pragma once

#include "records/dataset.h"
#include "records/packet.h"

#include <QDateTime>
#include <QVariantMap>

#include <initializer_list>

namespace records::testing {

// A packet of the given fields, each row given by field name (missing names are null).
inline Packet packetOf(const FieldList& fields, std::initializer_list<QVariantMap> rows)
{
    Packet p;
    p.fields = fields;
    for (const QVariantMap& r : rows) {
        QVariantList values;
        for (const FieldDef& f : fields)
            values.append(r.value(f.name));
        p.rows.append(values);
    }
    return p;
}

inline QDateTime consultationDate()
{
    return QDateTime(QDate(2026, 3, 10), QTime(0, 0), Qt::UTC);
}

// The values of one field over the visible rows, in order (the cursor is not moved).
inline QStringList column(const DataSet& ds, const QString& field)
{
    QStringList out;
    for (int r = 0; r < ds.recordCount(); ++r)
        out.append(ds.asStringAt(r, field));
    return out;
}

}  // namespace records::testing
