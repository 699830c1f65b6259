#pragma once

#include <records/app_server.h>
#include <records/delta.h>
#include <records/layouts.h>

namespace bench {

// A change of the consultation's recorded weight (method 00, data type 01) from one value
// to the next; from < 0: its first recording.
inline records::Delta weightChange(const records::ConsultationKey& k, int from, int to)
{
    const records::DataSetLayout& layout = records::layouts::cdsInfoAval();
    auto row = [&](int value) {
        QVariantList r;
        for (const records::FieldDef& f : layout.fields) {
            if (f.name == QLatin1String("CDFILIAL"))
                r.append(k.branch);
            else if (f.name == QLatin1String("CDPACIENTE"))
                r.append(k.patient);
            else if (f.name == QLatin1String("DTCONSPACI"))
                r.append(k.date);
            else if (f.name == QLatin1String("CDTBMETOAVAL"))
                r.append(QStringLiteral("00"));
            else if (f.name == QLatin1String("CDTIPODADO"))
                r.append(QStringLiteral("01"));
            else if (f.name == QLatin1String("DSINFOAVAL"))
                r.append(QString::number(value));
            else
                r.append(QVariant());
        }
        return r;
    };
    records::Delta d;
    d.fields = layout.fields;
    d.keyFields = layout.keyFields;
    if (from < 0)
        d.changes.append({records::DeltaChange::Kind::Insert, {}, row(to)});
    else
        d.changes.append({records::DeltaChange::Kind::Update, row(from), row(to)});
    return d;
}

}  // namespace bench
