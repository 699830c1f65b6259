#include "method_lists.h"

#include "../model/delta_writer.h"
#include "../model/method_codes.h"

#include <algorithm>

namespace server::methods {
namespace {

const records::DataSetLayout& layoutOf(MethodList list)
{
    return list == MethodList::Energy ? records::layouts::cdsMetoAvalEnerg()
                                      : records::layouts::cdsMetoAval();
}

bool inAgeRange(const QVariant& from, const QVariant& to, double age)
{
    if (!model::isNull(from) && age < from.toDouble())
        return false;
    if (!model::isNull(to) && age > to.toDouble())
        return false;
    return true;
}

model::TableBinding binding(MethodList list)
{
    model::TableBinding b;
    b.method = list == MethodList::Energy ? QStringLiteral("SetMetoAvalEnerg")
                                          : QStringLiteral("SetMetoAval");
    b.table = QStringLiteral("metoaval");
    b.layout = &layoutOf(list);
    b.columns = {QStringLiteral("CDFILIAL"),   QStringLiteral("CDPACIENTE"),
                 QStringLiteral("DTCONSPACI"), QStringLiteral("CDTBMETOAVAL"),
                 QStringLiteral("IDTABELAAV"), QStringLiteral("CDTABELACO")};
    b.offeredRows = true;
    // The list shows a choice stored without a mark as not selected.
    b.shownValue = [](const QString& column, const QVariant& stored) -> QVariant {
        if (column == QLatin1String("IDTABELAAV") && text(stored).isEmpty())
            return QStringLiteral("N");
        return stored;
    };
    b.checkRow = [list](Transaction& tx, const model::RowValues& row) {
        const QString code = row.value(QStringLiteral("CDTBMETOAVAL")).toString();
        requireMethod(tx, code, QString());
        if (model::isEnergyMethod(code) != (list == MethodList::Energy))
            throw ApiError::badRequest(
                QStringLiteral("o método '%1' pertence à lista %2.")
                    .arg(code, list == MethodList::Energy
                                   ? QStringLiteral("de métodos antropométricos")
                                   : QStringLiteral("de métodos de energia")));
        if (row.contains(QStringLiteral("IDTABELAAV"))) {
            const QVariant mark = row.value(QStringLiteral("IDTABELAAV"));
            if (!model::isNull(mark) && mark.toString() != QLatin1String("S")
                && mark.toString() != QLatin1String("N"))
                throw ApiError::badRequest(
                    QStringLiteral("IDTABELAAV deve ser \"S\" ou \"N\", não '%1'.")
                        .arg(mark.toString()));
        }
    };
    return b;
}

}  // namespace

QJsonObject methodListPacket(Transaction& tx, const records::ConsultationKey& k, double codedAge,
                             MethodList list)
{
    const QString scope =
        list == MethodList::Energy
            ? model::energyCondition(QStringLiteral("m.CDTBMETOAVAL"))
            : QStringLiteral("NOT ") + model::energyCondition(QStringLiteral("m.CDTBMETOAVAL"));
    const QList<SqlRow> rows = tx.select(
        QStringLiteral("SELECT m.CDTBMETOAVAL, m.IDTBUTILTABE, m.NMTBMETOAVAL, m.CDTBREFMETOA, "
                       "m.NRCTMETOAVAL, m.IDSEQUMETO, m.VRIDADEINITB, m.VRIDADEFINTB, "
                       "c.CDTBMETOAVAL, c.IDTABELAAV, c.CDTABELACO, r.NMREFEBIBL "
                       "FROM tbmetoaval m "
                       "LEFT JOIN metoaval c ON c.CDTBMETOAVAL = m.CDTBMETOAVAL AND ")
            + keyCondition(QStringLiteral("c."))
            + QStringLiteral(" LEFT JOIN refebibl r ON r.CDREFEBIBL = c.CDTABELACO WHERE ") + scope,
        keyParams(k));

    struct Offered
    {
        QString order;
        const SqlRow* row;
    };
    QList<Offered> offered;
    for (const SqlRow& r : rows) {
        const bool stored = !model::isNull(r[8]);
        if (stored || inAgeRange(r[6], r[7], codedAge))
            offered.append({catalogueOrder(r[5], r[0]), &r});
    }
    std::sort(offered.begin(), offered.end(),
              [](const Offered& a, const Offered& b) { return a.order < b.order; });

    model::PacketBuilder packet(layoutOf(list));
    const QString date = model::dateKey(k.date);
    for (const Offered& o : offered) {
        const SqlRow& r = *o.row;
        const QString mark = text(r[9]);
        packet.row()
            .set(QStringLiteral("CDFILIAL"), k.branch)
            .set(QStringLiteral("CDPACIENTE"), k.patient)
            .set(QStringLiteral("DTCONSPACI"), date)
            .set(QStringLiteral("IDTABELAAV"), mark.isEmpty() ? QStringLiteral("N") : mark)
            .set(QStringLiteral("CDTABELACO"), r[10])
            .set(QStringLiteral("CDTBMETOAVAL"), r[0])
            .set(QStringLiteral("IDTBUTILTABE"), r[1])
            .set(QStringLiteral("NMTBMETOAVAL"), r[2])
            .set(QStringLiteral("CDTBREFMETOA"), r[3])
            .set(QStringLiteral("NMREFEBIBL"), r[11])
            .set(QStringLiteral("NRCTMETOAVAL"), r[4]);
    }
    return packet.json();
}

void registerMethodLists(RouteTable& routes, Database& db)
{
    for (MethodList list : {MethodList::Anthropometric, MethodList::Energy})
        addDeltaMethod(routes, db, binding(list));

    routes.add(QStringLiteral("GetExistMetoAval"),
               api::arg::key() + api::Signature{api::arg::text(QStringLiteral("método"))},
               [&db](const Params& p) -> QJsonValue {
                   const records::ConsultationKey k = p.key();
                   const QString method = p.code(3, 2);
                   return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                       const QList<SqlRow> rows =
                           tx.select(QStringLiteral("SELECT CDPACIENTE FROM metoaval WHERE ")
                                         + keyCondition() + QStringLiteral(" AND CDTBMETOAVAL = ?"),
                                     keyParams(k, {method}));
                       return QJsonValue(model::PacketBuilder(records::layouts::cdsExistInfoAval())
                                             .rows(rows, {QStringLiteral("CDPACIENTE")})
                                             .json());
                   });
               });
}

}  // namespace server::methods
