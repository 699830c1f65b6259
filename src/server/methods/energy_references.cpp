#include "energy_references.h"

#include "reference_percentiles.h"

#include "../reference/energy_references.h"
#include "../reference/percentile_lookup.h"

namespace server::methods {
namespace {

namespace energy = reference::energy;

// The rows of a code list (the key is the first column), by code; only the row of code
// when one is given.
QJsonObject codeList(Transaction& tx, const records::DataSetLayout& layout, const QString& table,
                     const QStringList& columns, const QString& code)
{
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), table);
    QVariantList params;
    if (!code.isEmpty()) {
        sql += QStringLiteral(" WHERE %1 = ?").arg(columns.first());
        params.append(code);
    }
    sql += QStringLiteral(" ORDER BY %1").arg(columns.first());
    return model::PacketBuilder(layout).rows(tx.select(sql, params), columns).json();
}

}  // namespace

void registerEnergyReferences(RouteTable& routes, Database& db)
{
    routes.add(
        QStringLiteral("GetDuBois"),
        {api::arg::text(QStringLiteral("sexo")), api::arg::text(QStringLiteral("tabela")),
         api::arg::number(QStringLiteral("idade codificada"))},
        [&db](const Params& p) -> QJsonValue {
            const std::optional<QString> sex = tableSex(p, 0);
            const QString table = p.code(1, 2);
            const int months = ageInMonths(p, 2);
            return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                if (!tx.exists(QStringLiteral("SELECT 1 FROM refepadrao WHERE CDREFEBIBL = ? "
                                              "AND CDTBMETOAVAL = ?"),
                               {table, energy::kBmrOwner}))
                    p.fail(1, QStringLiteral("'%1' não é uma tabela de metabolismo basal por m² "
                                             "(\"%2\": Fleisch)")
                                  .arg(table, energy::kFleisch1951));
                model::PacketBuilder packet(records::layouts::cdsDuBois());
                if (!sex)
                    return packet.json();
                const QList<reference::StandardEntry> rows = reference::standardsAt(
                    tx, table, energy::kBmrOwner, energy::kBmrStandard, months);
                if (!rows.isEmpty())
                    packet.row().set(QStringLiteral("VRDIET"), *sex == QLatin1String("M")
                                                                   ? rows.first().male
                                                                   : rows.first().female);
                return packet.json();
            });
        });

    routes.add(
        QStringLiteral("GetRefFatGrup"),
        {api::arg::text(QStringLiteral("fator de injúria")),
         api::arg::text(QStringLiteral("referência")),
         api::arg::text(QStringLiteral("grupo de nutriente"))},
        [&db](const Params& p) -> QJsonValue {
            const QString factor = p.code(0, 2);
            const QString reference = p.code(1, 2);
            const QString group = p.code(2, 2);
            return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                return QJsonArray{
                    codeList(tx, records::layouts::cdsFatoInju(), QStringLiteral("fatoinju"),
                             {QStringLiteral("CDFATOINJU"), QStringLiteral("NMFATOINJU"),
                              QStringLiteral("VRFATOINJU"), QStringLiteral("DSFATOINJU")},
                             factor),
                    codeList(tx, records::layouts::cdsRefeRecom(), QStringLiteral("refenutr"),
                             {QStringLiteral("CDRFNUTRECOM"), QStringLiteral("DSRFNUTRECOM")},
                             reference),
                    codeList(tx, records::layouts::cdsGrupNutr(), QStringLiteral("grupnutr"),
                             {QStringLiteral("CDGRUPNUTR"), QStringLiteral("NMGRUPNUTR")}, group),
                };
            });
        });
}

}  // namespace server::methods
