#include "ideal_weight.h"

#include "../model/method_codes.h"

#include <QRegularExpression>

namespace server::methods {
namespace {

const QString kIdealWeightType = records::data_type::kPesoIdeal;

bool isWeightText(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\d{1,4}([.,]\\d+)?$"));
    return number.match(text.trimmed()).hasMatch();
}

}  // namespace

QJsonObject idealWeightMethodsPacket(Transaction& tx)
{
    const QList<SqlRow> rows =
        tx.select(QStringLiteral("SELECT CDTBMETOAVAL, NMTBMETOAVAL, CDTBREFMETOA FROM tbmetoaval "
                                 "WHERE CDTBMETOAVAL IN ('20', '22', '23') ORDER BY CDTBMETOAVAL"));
    return model::PacketBuilder(records::layouts::cdsInfPesoIdeal())
        .rows(rows, {QStringLiteral("CDTBMETOAVAL"), QStringLiteral("NMTBMETOAVAL"),
                     QStringLiteral("CDTBREFMETOA")})
        .json();
}

void registerIdealWeight(RouteTable& routes, Database& db)
{
    routes.add(
        QStringLiteral("SetAtuPesIde"),
        api::arg::key()
            + api::Signature{api::arg::text(QStringLiteral("descrição")),
                             api::arg::text(QStringLiteral("peso ideal"))},
        [&db](const Params& p) -> QJsonValue {
            const records::ConsultationKey k = p.key();
            const QString description = p.code(3, 100).trimmed();
            const QString weight = p.code(4, 30).trimmed();
            if (description.isEmpty())
                p.fail(3, QStringLiteral("está vazio"));
            if (!isWeightText(weight))
                p.fail(4, QStringLiteral("não é um peso: '%1'").arg(weight));
            storage::inTransaction(db, Access::ReadWrite, [&](Transaction& tx) {
                tx.execute(
                    QStringLiteral("INSERT INTO pesoideal (CDFILIAL, CDPACIENTE, DTCONSPACI, "
                                   "DSPESOIDEAL, VRPESOIDEAL) VALUES (?, ?, ?, ?, ?) "
                                   "ON CONFLICT (CDFILIAL, CDPACIENTE, DTCONSPACI) DO UPDATE "
                                   "SET DSPESOIDEAL = excluded.DSPESOIDEAL, "
                                   "VRPESOIDEAL = excluded.VRPESOIDEAL"),
                    keyParams(k, {description, weight}));
                const QList<SqlRow> methods =
                    tx.select(QStringLiteral(
                                  "SELECT CDTBMETOAVAL FROM dadoaval WHERE CDTIPODADO = ? AND NOT ")
                                  + model::energyCondition(QStringLiteral("CDTBMETOAVAL"))
                                  + QStringLiteral(" ORDER BY CDTBMETOAVAL"),
                              {kIdealWeightType});
                for (const SqlRow& m : methods) {
                    tx.execute(QStringLiteral("INSERT INTO infoaval (CDFILIAL, CDPACIENTE, "
                                              "DTCONSPACI, CDTBMETOAVAL, CDTIPODADO, DSINFOAVAL) "
                                              "VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (CDFILIAL, "
                                              "CDPACIENTE, DTCONSPACI, CDTBMETOAVAL, CDTIPODADO) "
                                              "DO UPDATE SET DSINFOAVAL = excluded.DSINFOAVAL"),
                               keyParams(k, {m[0], kIdealWeightType, weight}));
                }
            });
            return QString();
        });
}

}  // namespace server::methods
