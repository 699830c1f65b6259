#include "nutrients.h"

#include "../model/delta_writer.h"

namespace server::methods {

QJsonObject recommendationsPacket(Transaction& tx, const records::ConsultationKey& k)
{
    const QList<SqlRow> rows = tx.select(
        QStringLiteral("SELECT g.CDRFNUTRECOM, r.DSRFNUTRECOM, g.CDGRUPNUTR, p.NMGRUPNUTR, "
                       "g.IDTPCOMPACI FROM (SELECT CDRFNUTRECOM, CDGRUPNUTR, "
                       "MAX(IDTPCOMPACI) AS IDTPCOMPACI FROM nutrepaci WHERE ")
            + keyCondition()
            + QStringLiteral(" GROUP BY CDRFNUTRECOM, CDGRUPNUTR) g "
                             "LEFT JOIN refenutr r ON r.CDRFNUTRECOM = g.CDRFNUTRECOM "
                             "LEFT JOIN grupnutr p ON p.CDGRUPNUTR = g.CDGRUPNUTR "
                             "ORDER BY g.CDRFNUTRECOM, g.CDGRUPNUTR"),
        keyParams(k));
    model::PacketBuilder packet(records::layouts::cdsNutrRefe());
    const QString date = model::dateKey(k.date);
    for (const SqlRow& r : rows) {
        packet.row()
            .set(QStringLiteral("CDFILIAL"), k.branch)
            .set(QStringLiteral("CDPACIENTE"), k.patient)
            .set(QStringLiteral("DTCONSPACI"), date)
            .set(QStringLiteral("CDRFNUTRECOM"), r[0])
            .set(QStringLiteral("DSRFNUTRECOM"), r[1])
            .set(QStringLiteral("CDGRUPNUTR"), r[2])
            .set(QStringLiteral("NMGRUPNUTR"), r[3])
            .set(QStringLiteral("IDTPCOMPACI"), r[4]);
    }
    return packet.json();
}

QJsonObject nutrientAmountsPacket(Transaction& tx, const records::ConsultationKey& k)
{
    const QList<SqlRow> rows =
        tx.select(QStringLiteral("SELECT n.CDFILIAL, n.CDPACIENTE, n.DTCONSPACI, n.CDRFNUTRECOM, "
                                 "n.CDNUTRIENTE, n.CDGRUPNUTR, u.NMNUTRIENTE, n.IDTPCOMPACI, "
                                 "n.DSNUTPEATUAL, n.DSPESOIDEAL, n.DSNUTPEIDEAL, n.DSPESOADEQU, "
                                 "n.DSNUTPEADEQU, u.SGUNIDADE FROM nutrepaci n "
                                 "LEFT JOIN nutriente u ON u.CDNUTRIENTE = n.CDNUTRIENTE WHERE ")
                      + keyCondition(QStringLiteral("n."))
                      + QStringLiteral(" ORDER BY n.CDRFNUTRECOM, n.CDGRUPNUTR, n.CDNUTRIENTE"),
                  keyParams(k));
    return model::PacketBuilder(records::layouts::cdsNutrePaci())
        .rows(rows, {QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                     QStringLiteral("DTCONSPACI"), QStringLiteral("CDRFNUTRECOM"),
                     QStringLiteral("CDNUTRIENTE"), QStringLiteral("CDGRUPNUTR"),
                     QStringLiteral("NMNUTRIENTE"), QStringLiteral("IDTPCOMPACI"),
                     QStringLiteral("DSNUTPEATUAL"), QStringLiteral("DSPESOIDEAL"),
                     QStringLiteral("DSNUTPEIDEAL"), QStringLiteral("DSPESOADEQU"),
                     QStringLiteral("DSNUTPEADEQU"), QStringLiteral("SGUNIDADE")})
        .json();
}

void registerNutrients(RouteTable& routes, Database& db)
{
    model::TableBinding b;
    b.method = QStringLiteral("SetNutrePaci");
    b.table = QStringLiteral("nutrepaci");
    b.layout = &records::layouts::cdsNutrePaci();
    // The nutrient's name and unit come from the nutrient catalogue, not from the rows.
    b.columns = {QStringLiteral("CDFILIAL"),    QStringLiteral("CDPACIENTE"),
                 QStringLiteral("DTCONSPACI"),  QStringLiteral("CDRFNUTRECOM"),
                 QStringLiteral("CDNUTRIENTE"), QStringLiteral("CDGRUPNUTR"),
                 QStringLiteral("IDTPCOMPACI"), QStringLiteral("DSNUTPEATUAL"),
                 QStringLiteral("DSPESOIDEAL"), QStringLiteral("DSNUTPEIDEAL"),
                 QStringLiteral("DSPESOADEQU"), QStringLiteral("DSNUTPEADEQU")};
    // A row belongs to a reference and a group of the catalogue and names a nutrient of that
    // group: a row outside it would make a recommendation with no description, no group name
    // and no nutrient name. The patient type is the item index of the module's list.
    b.checkRow = [](Transaction& tx, const model::RowValues& row) {
        const QString reference = row.value(QStringLiteral("CDRFNUTRECOM")).toString();
        const QString group = row.value(QStringLiteral("CDGRUPNUTR")).toString();
        const QString code = row.value(QStringLiteral("CDNUTRIENTE")).toString();
        if (!tx.exists(QStringLiteral("SELECT 1 FROM refenutr WHERE CDRFNUTRECOM = ?"),
                       {reference}))
            throw ApiError::badRequest(
                QStringLiteral("a referência '%1' não está cadastrada.").arg(reference));
        if (!tx.exists(QStringLiteral("SELECT 1 FROM grupnutr WHERE CDGRUPNUTR = ?"), {group}))
            throw ApiError::badRequest(
                QStringLiteral("o grupo de nutriente '%1' não está cadastrado.").arg(group));
        if (!tx.exists(QStringLiteral("SELECT 1 FROM nutriente WHERE CDNUTRIENTE = ? AND "
                                      "CDGRUPNUTR = ?"),
                       {code, group}))
            throw ApiError::badRequest(
                QStringLiteral("o nutriente '%1' não é do grupo '%2'.").arg(code, group));
        const QString type = text(row.value(QStringLiteral("IDTPCOMPACI")));
        if (!type.isEmpty()
            && (type.size() != 1 || type < QLatin1String("0") || type > QLatin1String("3")))
            throw ApiError::badRequest(
                QStringLiteral("'%1' não é um tipo de paciente (\"0\" a \"3\").").arg(type));
    };
    addDeltaMethod(routes, db, b);

    // Answers the number of nutrient rows deleted.
    routes.add(QStringLiteral("DelNutrePaci"),
               api::arg::key()
                   + api::Signature{api::arg::text(QStringLiteral("referência")),
                                    api::arg::text(QStringLiteral("grupo"))},
               [&db](const Params& p) -> QJsonValue {
                   const records::ConsultationKey k = p.key();
                   const QString reference = p.code(3, 2);
                   const QString group = p.code(4, 2);
                   return storage::inTransaction(db, Access::ReadWrite, [&](Transaction& tx) {
                       return QJsonValue(static_cast<qint64>(tx.execute(
                           QStringLiteral("DELETE FROM nutrepaci WHERE ") + keyCondition()
                               + QStringLiteral(" AND CDRFNUTRECOM = ? AND CDGRUPNUTR = ?"),
                           keyParams(k, {reference, group}))));
                   });
               });
}

}  // namespace server::methods
