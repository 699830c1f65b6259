#include "nutrient_recommendation.h"

#include "reference_percentiles.h"

#include "../reference/nutrient_references.h"

#include <QRegularExpression>

namespace server::methods {
namespace {

namespace nutrient = reference::nutrient;

constexpr int kChosenCodesSize = 600;  // CODSNUTRESC

// "?, ?, ?" for count values.
QString marks(qsizetype count)
{
    return QStringList(count, QStringLiteral("?")).join(QStringLiteral(", "));
}

// The nutrients of group, only those among codes when codes is given.
QJsonObject nutrientsOfGroup(Transaction& tx, const records::DataSetLayout& layout,
                             const QString& group, const std::optional<QStringList>& codes)
{
    QString sql = QStringLiteral(
        "SELECT g.NMGRUPNUTR, n.CDNUTRIENTE, n.NMNUTRIENTE, n.SGUNIDADE, n.CDGRUPNUTR, "
        "n.NMREDUZIDO FROM nutriente n JOIN grupnutr g ON g.CDGRUPNUTR = n.CDGRUPNUTR "
        "WHERE n.CDGRUPNUTR = ?");
    QVariantList params{group};
    if (codes) {
        if (codes->isEmpty())
            return model::PacketBuilder(layout).json();
        sql += QStringLiteral(" AND n.CDNUTRIENTE IN (%1)").arg(marks(codes->size()));
        for (const QString& c : *codes)
            params.append(c);
    }
    sql += QStringLiteral(" ORDER BY n.CDNUTRIENTE");
    return model::PacketBuilder(layout)
        .rows(tx.select(sql, params), {QStringLiteral("NMGRUPNUTR"), QStringLiteral("CDNUTRIENTE"),
                                       QStringLiteral("NMNUTRIENTE"), QStringLiteral("SGUNIDADE"),
                                       QStringLiteral("CDGRUPNUTR"), QStringLiteral("NMREDUZIDO")})
        .json();
}

// The condition of the recommended ranges for the module's patient type code: "0" normal,
// "1" pregnant, "2" lactating, "3" athlete, empty when none is chosen. The references hold
// no ranges of their own for athletes, who get those of their sex and age.
QString conditionOf(const Params& p, int typeIndex, const std::optional<QString>& sex)
{
    const QString type = p.code(typeIndex, 1);
    if (type.isEmpty() || type == QLatin1String("0") || type == QLatin1String("3"))
        return nutrient::kNoCondition;
    if (type != QLatin1String("1") && type != QLatin1String("2"))
        p.fail(typeIndex, QStringLiteral("'%1' não é um tipo de paciente (\"0\" normal, \"1\" "
                                         "gestante, \"2\" nutriz, \"3\" atleta)")
                              .arg(type));
    if (sex != QLatin1String("F"))
        p.fail(typeIndex, QStringLiteral("gestante e nutriz são tipos de paciente do sexo "
                                         "feminino"));
    return type == QLatin1String("1") ? nutrient::kPregnancy : nutrient::kLactation;
}

}  // namespace

QStringList chosenNutrientCodes(const Params& p, int index)
{
    const QString text = p.text(index);
    if (text.size() > kChosenCodesSize)
        p.fail(index, QStringLiteral("o texto tem mais de %1 caracteres").arg(kChosenCodesSize));
    if (text.isEmpty() || text == QLatin1String("_"))
        return {};
    static const QRegularExpression shape(QStringLiteral("^_(?:[0-9]{3}_)+$"));
    if (!shape.match(text).hasMatch())
        p.fail(index, QStringLiteral("os códigos de nutrientes devem vir como \"_001_017_\": "
                                     "três algarismos cada, separados e terminados por \"_\""));
    QStringList codes;
    for (const QString& code : text.split(QLatin1Char('_'), Qt::SkipEmptyParts)) {
        if (!codes.contains(code))
            codes.append(code);
    }
    return codes;
}

void registerNutrientRecommendation(RouteTable& routes, Database& db)
{
    const api::Argument group = api::arg::text(QStringLiteral("grupo de nutriente"));
    const api::Argument codes = api::arg::text(QStringLiteral("códigos de nutrientes"));

    routes.add(QStringLiteral("GetPesNutrientes"), {group}, [&db](const Params& p) -> QJsonValue {
        const QString g = p.code(0, 2);
        return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
            return nutrientsOfGroup(tx, records::layouts::qryPesNutrientes(), g, std::nullopt);
        });
    });

    routes.add(QStringLiteral("GetPesqNmNutr"), {group, codes},
               [&db](const Params& p) -> QJsonValue {
                   const QString g = p.code(0, 2);
                   const QStringList chosen = chosenNutrientCodes(p, 1);
                   return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                       return nutrientsOfGroup(tx, records::layouts::qryPesqNmNutr(), g, chosen);
                   });
               });

    routes.add(
        QStringLiteral("GetPesqNutrPaci"),
        api::arg::key()
            + api::Signature{api::arg::text(QStringLiteral("referência")), group,
                             api::arg::text(QStringLiteral("sexo")),
                             api::arg::text(QStringLiteral("tipo de paciente")),
                             api::arg::number(QStringLiteral("idade codificada")), codes},
        [&db](const Params& p) -> QJsonValue {
            const records::ConsultationKey k = p.key();
            const QString reference = p.code(3, 2);
            const QString g = p.code(4, 2);
            const std::optional<QString> sex = tableSex(p, 5);
            const QString condition = conditionOf(p, 6, sex);
            const int months = ageInMonths(p, 7);
            const QStringList chosen = chosenNutrientCodes(p, 8);
            return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                const QJsonObject existing =
                    model::PacketBuilder(records::layouts::cdsPesqNutrPaci())
                        .rows(tx.select(QStringLiteral("SELECT CDFILIAL, CDPACIENTE, CDNUTRIENTE "
                                                       "FROM nutrepaci WHERE ")
                                            + keyCondition()
                                            + QStringLiteral(" AND CDRFNUTRECOM = ? AND "
                                                             "CDGRUPNUTR = ? ORDER BY CDNUTRIENTE"),
                                        keyParams(k, {reference, g})),
                              {QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                               QStringLiteral("CDNUTRIENTE")})
                        .json();
                model::PacketBuilder ranges(records::layouts::cdsNutRecom());
                if (!chosen.isEmpty()) {
                    // A range for both sexes serves every sex letter; one of a sex only that
                    // sex, never the undetermined letters.
                    QVariantList params{reference,
                                        g,
                                        condition,
                                        months,
                                        months,
                                        nutrient::kBothSexes,
                                        sex.value_or(nutrient::kBothSexes)};
                    for (const QString& c : chosen)
                        params.append(c);
                    ranges.rows(
                        tx.select(QStringLiteral(
                                      "SELECT r.CDNUTRIENTE, r.QTNUTRINIC, r.QTNUTRFINA, "
                                      "r.IDUNCALCNUTR FROM nutrrecom r JOIN nutriente n ON "
                                      "n.CDNUTRIENTE = r.CDNUTRIENTE WHERE r.CDRFNUTRECOM = ? "
                                      "AND n.CDGRUPNUTR = ? AND r.IDCONDICAO = ? AND "
                                      "r.NRIDADEINI <= ? AND r.NRIDADEFIN >= ? AND r.CDSEXO IN "
                                      "(?, ?) AND r.CDNUTRIENTE IN (%1) ORDER BY r.CDNUTRIENTE")
                                      .arg(marks(chosen.size())),
                                  params),
                        {QStringLiteral("CDNUTRIENTE"), QStringLiteral("QTNUTRINIC"),
                         QStringLiteral("QTNUTRFINA"), QStringLiteral("IDUNCALCNUTR")});
                }
                return QJsonArray{existing, ranges.json()};
            });
        });
}

}  // namespace server::methods
