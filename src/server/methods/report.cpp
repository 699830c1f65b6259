#include "report.h"

#include "patient_period.h"

#include <QRegularExpression>
#include <QSet>

namespace server::methods {
namespace {

using records::DataSetLayout;
namespace layouts = records::layouts;

// The report's query: one patient, the consultations from the start date to the end
// date (whole days), and the method filter applied to what the methods recorded.
struct ReportQuery : PatientPeriod
{
    std::optional<QSet<QString>> methods;  // nothing: every method

    bool wants(const QVariant& method) const { return !methods || methods->contains(text(method)); }
};

// Rows of a select whose column methodColumn passes the method filter.
QList<SqlRow> filtered(const ReportQuery& q, QList<SqlRow> rows, int methodColumn)
{
    rows.removeIf([&](const SqlRow& r) { return !q.wants(r[methodColumn]); });
    return rows;
}

QJsonObject packet(const DataSetLayout& layout, const QList<SqlRow>& rows)
{
    QStringList columns;
    for (const records::FieldDef& f : layout.fields)
        columns.append(f.name);
    return model::PacketBuilder(layout).rows(rows, columns).json();
}

QJsonObject patientPacket(Transaction& tx, const ReportQuery& q)
{
    return packet(
        layouts::cdsRelPaciente(),
        tx.select(QStringLiteral("SELECT CDFILIAL, CDPACIENTE, NMPACIENTE, CDSEXO, DTNASC "
                                 "FROM paciente WHERE CDFILIAL = ? AND CDPACIENTE = ?"),
                  {q.branch, q.patient}));
}

// Recorded values, by consultation, then method order, then data type order.
QList<SqlRow> recordedValues(Transaction& tx, const ReportQuery& q)
{
    const QList<SqlRow> rows = tx.select(
        QStringLiteral("SELECT i.DTCONSPACI, i.CDTBMETOAVAL, m.NMTBMETOAVAL, i.CDTIPODADO, "
                       "t.NMTIPODADO, i.DSINFOAVAL, t.DSUNIDDADO, m.IDSEQUMETO, d.NRORDEM "
                       "FROM infoaval i "
                       "LEFT JOIN tbmetoaval m ON m.CDTBMETOAVAL = i.CDTBMETOAVAL "
                       "LEFT JOIN tipodado t ON t.CDTIPODADO = i.CDTIPODADO "
                       "LEFT JOIN dadoaval d ON d.CDTBMETOAVAL = i.CDTBMETOAVAL "
                       "AND d.CDTIPODADO = i.CDTIPODADO WHERE ")
            + q.condition(QStringLiteral("i."))
            + QStringLiteral(" AND i.DSINFOAVAL IS NOT NULL AND i.DSINFOAVAL <> ''"),
        q.params());
    QList<SqlRow> out = filtered(q, rows, 1);
    auto order = [](const SqlRow& r) {
        return text(r[0]) + u'|' + catalogueOrder(r[7], r[1]) + u'|'
               + text(r[8]).rightJustified(4, u'0') + u'|' + text(r[3]);
    };
    std::sort(out.begin(), out.end(),
              [&](const SqlRow& a, const SqlRow& b) { return order(a) < order(b); });
    for (SqlRow& r : out)
        r = r.mid(0, 7);
    return out;
}

// Result lines of both tabs, by consultation, tab, method order and line.
QList<SqlRow> resultLines(Transaction& tx, const ReportQuery& q)
{
    QList<SqlRow> out;
    for (const auto& [table, tab] :
         {std::pair{QStringLiteral("resuaval"), QStringLiteral("A")},
          std::pair{QStringLiteral("resuavalenerg"), QStringLiteral("E")}}) {
        for (const SqlRow& r : filtered(q, periodResultLines(tx, q, table), 1))
            out.append({r[0], tab, r[1], r[2], r[3], r[5], r[4], r[6]});
    }
    auto order = [](const SqlRow& r) {
        return text(r[0]) + u'|' + text(r[1]) + u'|' + catalogueOrder(r[7], r[2]) + u'|'
               + text(r[4]).rightJustified(4, u'0');
    };
    std::sort(out.begin(), out.end(),
              [&](const SqlRow& a, const SqlRow& b) { return order(a) < order(b); });
    for (SqlRow& r : out)
        r = r.mid(0, 7);
    return out;
}

QList<SqlRow> nutrientAmounts(Transaction& tx, const ReportQuery& q)
{
    return tx.select(
        QStringLiteral("SELECT n.DTCONSPACI, r.DSRFNUTRECOM, g.NMGRUPNUTR, u.NMNUTRIENTE, "
                       "u.SGUNIDADE, n.DSNUTPEATUAL, n.DSPESOIDEAL, n.DSNUTPEIDEAL, "
                       "n.DSPESOADEQU, n.DSNUTPEADEQU FROM nutrepaci n "
                       "LEFT JOIN refenutr r ON r.CDRFNUTRECOM = n.CDRFNUTRECOM "
                       "LEFT JOIN grupnutr g ON g.CDGRUPNUTR = n.CDGRUPNUTR "
                       "LEFT JOIN nutriente u ON u.CDNUTRIENTE = n.CDNUTRIENTE WHERE ")
            + q.condition(QStringLiteral("n."))
            + QStringLiteral(" ORDER BY n.DTCONSPACI, n.CDRFNUTRECOM, n.CDGRUPNUTR, "
                             "n.CDNUTRIENTE"),
        q.params());
}

QList<SqlRow> diagnoses(Transaction& tx, const ReportQuery& q)
{
    return tx.select(QStringLiteral("SELECT DTCONSPACI, DSHISTAVALNUT FROM diagnutri WHERE ")
                         + q.condition(QString()),
                     q.params());
}

// A consultation is in the report when it has something to show: a recorded value or a
// result line of a chosen method, nutrient amounts or a diagnosis. Its diagnosis comes
// with it.
QList<SqlRow> consultations(const QList<SqlRow>& values, const QList<SqlRow>& lines,
                            const QList<SqlRow>& nutrients, const QList<SqlRow>& diags)
{
    QMap<QString, QVariant> byDate;
    for (const QList<SqlRow>* rows : {&values, &lines, &nutrients})
        for (const SqlRow& r : *rows)
            byDate.insert(text(r[0]), QVariant());
    for (const SqlRow& d : diags)
        byDate.insert(text(d[0]), d[1]);
    QList<SqlRow> out;
    for (auto it = byDate.cbegin(); it != byDate.cend(); ++it)
        out.append({it.key(), it.value()});
    return out;
}

QJsonValue reportData(Transaction& tx, const ReportQuery& q)
{
    const QList<SqlRow> values = recordedValues(tx, q);
    const QList<SqlRow> lines = resultLines(tx, q);
    const QList<SqlRow> nutrients = nutrientAmounts(tx, q);
    const QList<SqlRow> diags = diagnoses(tx, q);
    QJsonArray out;
    out.append(patientPacket(tx, q));
    out.append(packet(layouts::cdsRelConsulta(), consultations(values, lines, nutrients, diags)));
    out.append(packet(layouts::cdsRelDadoAval(), values));
    out.append(packet(layouts::cdsRelResuAval(), lines));
    out.append(packet(layouts::cdsRelNutrePaci(), nutrients));
    return out;
}

}  // namespace

std::optional<QStringList> parseChosenMethods(const QString& text)
{
    if (text == QLatin1String("T"))
        return std::nullopt;
    static const QRegularExpression shape(QStringLiteral("^(_[0-9A-Za-z]{1,2})+_$"));
    if (!shape.match(text).hasMatch())
        throw ApiError::badRequest(
            QStringLiteral("métodos: esperado \"T\" ou códigos entre sublinhados (\"_01_17_\"), "
                           "não '%1'.")
                .arg(text.left(40)));
    const QStringList codes = text.mid(1, text.size() - 2).split(u'_');
    if (QSet<QString>(codes.cbegin(), codes.cend()).size() != codes.size())
        throw ApiError::badRequest(
            QStringLiteral("métodos: um código aparece mais de uma vez em '%1'.").arg(text));
    return codes;
}

void registerReport(RouteTable& routes, Database& db)
{
    routes.add(QStringLiteral("GetRelatorio"), {}, [&db](const Params&) -> QJsonValue {
        return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) -> QJsonValue {
            QList<SqlRow> rows = tx.select(QStringLiteral(
                "SELECT 'N', CDTBMETOAVAL, NMTBMETOAVAL, IDSEQUMETO FROM tbmetoaval"));
            std::sort(rows.begin(), rows.end(), [](const SqlRow& a, const SqlRow& b) {
                return catalogueOrder(a[3], a[1]) < catalogueOrder(b[3], b[1]);
            });
            for (SqlRow& r : rows)
                r = r.mid(0, 3);
            return packet(layouts::cdsMetodo(), rows);
        });
    });

    routes.add(
        QStringLiteral("GetDadosRelatorio"),
        {api::arg::text(QStringLiteral("filial")), api::arg::text(QStringLiteral("paciente")),
         api::arg::date(QStringLiteral("data inicial")),
         api::arg::date(QStringLiteral("data final")), api::arg::text(QStringLiteral("métodos"))},
        [&db](const Params& p) -> QJsonValue {
            ReportQuery q;
            q.branch = p.code(0, 4);
            q.patient = p.code(1, 12);
            const QDateTime from = p.date(2);
            const QDateTime to = p.date(3);
            if (from.date() > to.date())
                p.fail(3, QStringLiteral("a data final é anterior à data inicial"));
            q.startOn(from.date());
            q.endOn(to.date());
            const std::optional<QStringList> chosen = parseChosenMethods(p.text(4));
            return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                if (chosen) {
                    for (const QString& code : *chosen)
                        requireMethod(tx, code, QStringLiteral("métodos"));
                    q.methods = QSet<QString>(chosen->cbegin(), chosen->cend());
                }
                return reportData(tx, q);
            });
        });
}

}  // namespace server::methods
