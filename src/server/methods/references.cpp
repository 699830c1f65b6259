#include "references.h"

namespace server::methods {
namespace {

// The weight and bone-frame lists have no owning method: an empty (not null) text, as
// stored.
const QString kNoOwner = QStringLiteral("");

QJsonValue referenceList(Database& db, const records::DataSetLayout& layout, const QString& list,
                         const QString& owner, const QString& code)
{
    return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) -> QJsonValue {
        QString sql = QStringLiteral("SELECT r.CDREFEBIBL, r.NMREFEBIBL FROM refelista l "
                                     "JOIN refebibl r ON r.CDREFEBIBL = l.CDREFEBIBL "
                                     "WHERE l.CDLISTA = ? AND l.CDDONO = ?");
        QVariantList params{list, owner};
        if (!code.isEmpty()) {
            sql += QStringLiteral(" AND r.CDREFEBIBL = ?");
            params.append(code);
        }
        sql += QStringLiteral(" ORDER BY r.CDREFEBIBL");
        return model::PacketBuilder(layout)
            .rows(tx.select(sql, params),
                  {QStringLiteral("CDREFEBIBL"), QStringLiteral("NMREFEBIBL")})
            .json();
    });
}

}  // namespace

void registerReferences(RouteTable& routes, Database& db)
{
    routes.add(
        QStringLiteral("GetRefeMeto"),
        {api::arg::text(QStringLiteral("referência")), api::arg::text(QStringLiteral("método"))},
        [&db](const Params& p) -> QJsonValue {
            return referenceList(db, records::layouts::cdsRefeMeto(), QStringLiteral("METO"),
                                 p.code(1, 2), p.code(0, 2));
        });
    routes.add(QStringLiteral("GetRefePeso"), {api::arg::text(QStringLiteral("referência"))},
               [&db](const Params& p) -> QJsonValue {
                   return referenceList(db, records::layouts::cdsRefePeso(), QStringLiteral("PESO"),
                                        kNoOwner, p.code(0, 2));
               });
    routes.add(QStringLiteral("GetRefeOssa"), {api::arg::text(QStringLiteral("referência"))},
               [&db](const Params& p) -> QJsonValue {
                   return referenceList(db, records::layouts::cdsRefeOssa(), QStringLiteral("OSSA"),
                                        kNoOwner, p.code(0, 2));
               });
}

}  // namespace server::methods
