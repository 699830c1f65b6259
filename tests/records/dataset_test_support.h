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

// A recorded value of the consultation used throughout: method, data type and text.
inline QVariantMap infoRow(const char* method, const char* type, const char* value)
{
    return {{"CDFILIAL", "0001"},
            {"CDPACIENTE", "000000000042"},
            {"DTCONSPACI", consultationDate()},
            {"CDTBMETOAVAL", method},
            {"CDTIPODADO", type},
            {"DSINFOAVAL", value}};
}

inline int col(const DataSet& ds, const char* name)
{
    return ds.fieldIndex(QString::fromLatin1(name));
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
