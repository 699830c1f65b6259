#include "diagnosis.h"

#include "../model/delta_writer.h"

namespace server::methods {

void registerDiagnosis(RouteTable& routes, Database& db)
{
    routes.add(QStringLiteral("GetDiag"), api::arg::key(), [&db](const Params& p) -> QJsonValue {
        const records::ConsultationKey k = p.key();
        return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) -> QJsonValue {
            const QList<SqlRow> rows =
                tx.select(QStringLiteral("SELECT CDFILIAL, CDPACIENTE, DTCONSPACI, DSHISTAVALNUT "
                                         "FROM diagnutri WHERE ")
                              + keyCondition(),
                          keyParams(k));
            return model::PacketBuilder(records::layouts::cdsDiagNutri())
                .rows(rows, {QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                             QStringLiteral("DTCONSPACI"), QStringLiteral("DSHISTAVALNUT")})
                .json();
        });
    });

    model::TableBinding b;
    b.method = QStringLiteral("SetDiag");
    b.table = QStringLiteral("diagnutri");
    b.layout = &records::layouts::cdsDiagNutri();
    b.columns = {QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                 QStringLiteral("DTCONSPACI"), QStringLiteral("DSHISTAVALNUT")};
    addDeltaMethod(routes, db, b);
}

}  // namespace server::methods
