#include "fhir_export.h"

#include "patient_period.h"

#include "../fhir/fhir_bundle.h"

namespace server::methods {
namespace {

using fhir::BundleRecords;

fhir::PatientRecord patientOf(Transaction& tx, const PatientPeriod& q)
{
    fhir::PatientRecord p{q.branch, q.patient};
    const QList<SqlRow> rows =
        tx.select(QStringLiteral("SELECT NMPACIENTE, CDSEXO, DTNASC, IDOBITO FROM paciente "
                                 "WHERE CDFILIAL = ? AND CDPACIENTE = ?"),
                  {q.branch, q.patient});
    if (rows.isEmpty())
        return p;
    const SqlRow& r = rows.first();
    p.registered = true;
    p.name = text(r[0]);
    p.sexCode = text(r[1]);
    p.birth = QDate::fromString(text(r[2]).left(10), Qt::ISODate);
    p.deceased = text(r[3]) == u"S";
    return p;
}

QList<fhir::RecordedValue> valuesOf(Transaction& tx, const PatientPeriod& q)
{
    QList<fhir::RecordedValue> out;
    const QList<SqlRow> rows =
        tx.select(QStringLiteral("SELECT i.DTCONSPACI, i.CDTBMETOAVAL, i.CDTIPODADO, t.NMTIPODADO, "
                                 "i.DSINFOAVAL FROM infoaval i "
                                 "LEFT JOIN tipodado t ON t.CDTIPODADO = i.CDTIPODADO WHERE ")
                      + q.condition(QStringLiteral("i."))
                      + QStringLiteral(" AND i.DSINFOAVAL IS NOT NULL AND i.DSINFOAVAL <> '' "
                                       "ORDER BY i.DTCONSPACI, i.CDTIPODADO, i.CDTBMETOAVAL"),
                  q.params());
    for (const SqlRow& r : rows)
        out.append({text(r[0]), text(r[1]), text(r[2]), text(r[3]), text(r[4])});
    return out;
}

// The lines of both tabs, by consultation, the catalogue's order of methods and line.
QList<fhir::ResultLine> linesOf(Transaction& tx, const PatientPeriod& q)
{
    QList<std::pair<QString, fhir::ResultLine>> ordered;
    for (const QString& table : {QStringLiteral("resuaval"), QStringLiteral("resuavalenerg")}) {
        for (const SqlRow& r : periodResultLines(tx, q, table)) {
            const fhir::ResultLine line{text(r[0]), text(r[1]), text(r[2]),
                                        text(r[3]), text(r[4]), text(r[5])};
            ordered.append({line.date + u'|' + catalogueOrder(r[6], r[1]) + u'|'
                                + line.line.rightJustified(4, u'0'),
                            line});
        }
    }
    std::sort(ordered.begin(), ordered.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<fhir::ResultLine> out;
    for (const auto& [order, line] : ordered)
        out.append(line);
    return out;
}

QList<fhir::DiagnosisText> diagnosesOf(Transaction& tx, const PatientPeriod& q)
{
    QList<fhir::DiagnosisText> out;
    for (const SqlRow& r :
         tx.select(QStringLiteral("SELECT DTCONSPACI, DSHISTAVALNUT FROM diagnutri WHERE ")
                       + q.condition(QString()) + QStringLiteral(" ORDER BY DTCONSPACI"),
                   q.params()))
        if (!model::isNull(r[1]))
            out.append({text(r[0]), r[1].toByteArray()});
    return out;
}

}  // namespace

void registerFhirExport(RouteTable& routes, Database& db)
{
    routes.add(QStringLiteral("GetFhirBundle"),
               {api::arg::text(QStringLiteral("filial")),
                api::arg::text(QStringLiteral("paciente")),
                api::arg::date(QStringLiteral("data inicial")),
                api::arg::date(QStringLiteral("data final"))},
               [&db](const Params& p) -> QJsonValue {
                   PatientPeriod q;
                   q.branch = p.code(0, 4);
                   q.patient = p.code(1, 12);
                   if (q.branch.isEmpty())
                       p.fail(0, QStringLiteral("está vazio"));
                   if (q.patient.isEmpty())
                       p.fail(1, QStringLiteral("está vazio"));
                   // An empty text leaves that end of the period open.
                   std::optional<QDate> from, to;
                   if (!p.text(2).isEmpty())
                       from = p.date(2).date();
                   if (!p.text(3).isEmpty())
                       to = p.date(3).date();
                   if (from && to && *from > *to)
                       p.fail(3, QStringLiteral("a data final é anterior à data inicial"));
                   if (from)
                       q.startOn(*from);
                   if (to)
                       q.endOn(*to);
                   return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                       BundleRecords records;
                       records.patient = patientOf(tx, q);
                       records.values = valuesOf(tx, q);
                       records.lines = linesOf(tx, q);
                       records.diagnoses = diagnosesOf(tx, q);
                       return QJsonValue(fhir::buildBundle(records));
                   });
               });
}

}  // namespace server::methods
