#include "results.h"

#include "../model/delta_writer.h"

#include <algorithm>

namespace server::methods {
namespace {

// One table of result lines and its three remote methods.
struct ResultTable
{
    QString getMethod;
    QString deleteMethod;
    QString setMethod;
    QString table;
    const records::DataSetLayout* layout;
};

QList<ResultTable> resultTables()
{
    return {{QStringLiteral("GetResuAval"), QStringLiteral("DelResuAval"),
             QStringLiteral("SetResuAval"), QStringLiteral("resuaval"),
             &records::layouts::cdsResuAval()},
            {QStringLiteral("GetResuAvalEnerg"), QStringLiteral("DelResuAvalEnerg"),
             QStringLiteral("SetResuAvalEnerg"), QStringLiteral("resuavalenerg"),
             &records::layouts::cdsResuAvalEnerg()}};
}

// The stored lines in the order of the method list, then by line number, joined with
// the method's name and control number.
QJsonValue resultLines(Transaction& tx, const ResultTable& t, const records::ConsultationKey& k)
{
    const QList<SqlRow> rows =
        tx.select(QStringLiteral("SELECT r.CDFILIAL, r.CDPACIENTE, r.DTCONSPACI, r.CDTBMETOAVAL, "
                                 "r.CDSEQUAVAL, r.DSRESUAVAL, r.DSCONTRESU, m.NMTBMETOAVAL, "
                                 "m.NRCTMETOAVAL, m.IDSEQUMETO FROM %1 r "
                                 "LEFT JOIN tbmetoaval m ON m.CDTBMETOAVAL = r.CDTBMETOAVAL WHERE ")
                          .arg(t.table)
                      + keyCondition(QStringLiteral("r.")),
                  keyParams(k));
    QList<const SqlRow*> ordered;
    for (const SqlRow& r : rows)
        ordered.append(&r);
    auto order = [](const SqlRow* r) {
        return catalogueOrder((*r)[9], (*r)[3]) + QLatin1Char('|') + text((*r)[4]);
    };
    std::sort(ordered.begin(), ordered.end(),
              [&](const SqlRow* a, const SqlRow* b) { return order(a) < order(b); });
    QList<SqlRow> sorted;
    for (const SqlRow* r : ordered)
        sorted.append(r->mid(0, 9));
    return model::PacketBuilder(*t.layout)
        .rows(sorted, {QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                       QStringLiteral("DTCONSPACI"), QStringLiteral("CDTBMETOAVAL"),
                       QStringLiteral("CDSEQUAVAL"), QStringLiteral("DSRESUAVAL"),
                       QStringLiteral("DSCONTRESU"), QStringLiteral("NMTBMETOAVAL"),
                       QStringLiteral("NRCTMETOAVAL")})
        .json();
}

model::TableBinding binding(const ResultTable& t)
{
    model::TableBinding b;
    b.method = t.setMethod;
    b.table = t.table;
    b.layout = t.layout;
    b.columns = {QStringLiteral("CDFILIAL"),   QStringLiteral("CDPACIENTE"),
                 QStringLiteral("DTCONSPACI"), QStringLiteral("CDTBMETOAVAL"),
                 QStringLiteral("CDSEQUAVAL"), QStringLiteral("DSRESUAVAL"),
                 QStringLiteral("DSCONTRESU")};
    b.checkRow = [](Transaction& tx, const model::RowValues& row) {
        requireMethod(tx, row.value(QStringLiteral("CDTBMETOAVAL")).toString(), QString());
    };
    return b;
}

}  // namespace

void registerResults(RouteTable& routes, Database& db)
{
    for (const ResultTable& t : resultTables()) {
        routes.add(t.getMethod, api::arg::key(), [&db, t](const Params& p) -> QJsonValue {
            const records::ConsultationKey k = p.key();
            return storage::inTransaction(db, Access::ReadOnly,
                                          [&](Transaction& tx) { return resultLines(tx, t, k); });
        });
        // Answers the number of lines deleted.
        routes.add(t.deleteMethod, api::arg::key(), [&db, t](const Params& p) -> QJsonValue {
            const records::ConsultationKey k = p.key();
            return storage::inTransaction(db, Access::ReadWrite, [&](Transaction& tx) {
                return QJsonValue(static_cast<qint64>(tx.execute(
                    QStringLiteral("DELETE FROM %1 WHERE ").arg(t.table) + keyCondition(),
                    keyParams(k))));
            });
        });
        addDeltaMethod(routes, db, binding(t));
    }
}

}  // namespace server::methods
