#include "growth_references.h"

#include "reference_percentiles.h"

#include "../reference/coded_age.h"
#include "../reference/growth_references.h"

#include <records/growth_methods.h>

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace server::methods {
namespace {

namespace growth = reference::growth;

double positive(const Params& p, int index)
{
    const double v = p.number(index);
    if (!(v > 0))
        p.fail(index, QStringLiteral("deve ser maior que zero: %1").arg(v));
    return v;
}

double rounded3(double v)
{
    return std::round(v * 1000) / 1000;
}

QJsonValue bandReply(const growth::Band& band)
{
    return QJsonArray{band.v, band.flag, band.text};
}

// The band of a measured value on a curve at x; empty texts outside the curve, for the sex
// letters "D" and "I", and for a reference without the curve.
QJsonValue bandOnCurve(Database& db, const QString& ref, const QString& curve,
                       const std::optional<QString>& sex, double x, double value)
{
    if (!sex)
        return bandReply({});
    return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
        const auto percentiles = growth::GrowthCurve::loadAround(tx, ref, curve, *sex, x).at(x);
        return bandReply(percentiles ? growth::bandOf(*percentiles, value) : growth::Band{});
    });
}

// "X" (the measured axis) or "T" (the axis looked up in the table).
bool measured(const Params& p, int index)
{
    const QString letter = p.text(index);
    if (letter == QLatin1String("X"))
        return true;
    if (letter == QLatin1String("T"))
        return false;
    p.fail(index,
           QStringLiteral("deve ser \"X\" (medido) ou \"T\" (da tabela), não '%1'").arg(letter));
}

// The stored curve of a growth index (refecurva.CDCURVA); head circumference keeps its
// percentiles by month in refepercentil instead.
QString curveOf(records::GrowthIndex index)
{
    switch (index) {
    case records::GrowthIndex::WeightForAge:
        return growth::kWeightForAge;
    case records::GrowthIndex::HeightForAge:
        return growth::kHeightForAge;
    case records::GrowthIndex::WeightForLength:
        return growth::kWeightForLength;
    case records::GrowthIndex::WeightForHeight:
        return growth::kWeightForHeight;
    case records::GrowthIndex::HeadCircumferenceForAge:
        break;
    }
    return QString();
}

// The percentile curves of a growth method over its range: every stored point of the
// method's curve, with the percentiles the reference lists there (an LMS reference's
// computed as GetPesIdAlt computes them), lowest first.
void addCurvePoints(Transaction& tx, const QString& ref, const records::GrowthMethod& method,
                    const QString& sex, model::PacketBuilder& packet)
{
    const auto inRange = [&](double x) { return x >= method.from && x <= method.to; };
    const auto add = [&](double x, const QString& code, const QString& label, double value) {
        packet.row()
            .set(QStringLiteral("VREIXO"), x)
            .set(QStringLiteral("CDPERCENTIL"), code)
            .set(QStringLiteral("NMPERCENTIL"), label)
            .set(QStringLiteral("VRPERCENTIL"), value);
    };
    if (method.index == records::GrowthIndex::HeadCircumferenceForAge) {
        // One band per completed month, its value that of the middle of the month.
        const QList<SqlRow> rows = tx.select(
            QStringLiteral("SELECT NRIDADEINI, NRIDADEFIN, CDPERCENTIL, NMPERCENTIL, VRPERCENTIL "
                           "FROM refepercentil WHERE CDREFEBIBL = ? AND CDTBMETOAVAL = ? AND "
                           "CDSEXO = ? ORDER BY NRIDADEINI, CDPERCENTIL"),
            {ref, QString(method.code), sex});
        for (const SqlRow& r : rows) {
            const double x = (r[0].toDouble() + r[1].toDouble() + 1) / 2;
            const growth::ListedPercentile* listed = growth::findListed(r[2].toString());
            if (inRange(x))
                add(x, r[2].toString(), listed ? listed->label : r[3].toString(), r[4].toDouble());
        }
        return;
    }
    const growth::GrowthCurve curve =
        growth::GrowthCurve::load(tx, ref, curveOf(method.index), sex);
    for (const double x : curve.axis()) {
        if (!inRange(x))
            continue;
        if (const auto percentiles = curve.at(x))
            for (const growth::GrowthPercentile& p : *percentiles)
                add(x, p.code, p.label, p.value);
    }
}

}  // namespace

void registerGrowthReferences(RouteTable& routes, Database& db)
{
    routes.add(
        QStringLiteral("GetPesCalcAltura"),
        {api::arg::text(QStringLiteral("sexo")), api::arg::text(QStringLiteral("referência")),
         api::arg::text(QStringLiteral("percentil")), api::arg::number(QStringLiteral("altura")),
         api::arg::number(QStringLiteral("anos")), api::arg::number(QStringLiteral("meses"))},
        [&db](const Params& p) -> QJsonValue {
            const std::optional<QString> sex = tableSex(p, 0);
            const QString ref = p.code(1, 2);
            const QString asked = p.text(2);
            const growth::ListedPercentile* listed =
                growth::findListed(asked.isEmpty() ? QStringLiteral("050") : asked);
            if (!listed)
                p.fail(2, QStringLiteral("não é um percentil (\"0.1\", \"001\" … \"099\", "
                                         "\"99.9\"; vazio é a mediana): '%1'")
                              .arg(asked));
            const double height = p.number(3);
            if (height < 0)
                p.fail(3, QStringLiteral("não pode ser negativa: %1").arg(height));
            const int months = wholeAgeMonths(p, 4, 5);
            std::optional<double> forHeight, weightForAge, heightForAge;
            if (sex)
                storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                    const auto read = [&](const QString& curve, double x) {
                        return growth::GrowthCurve::loadAround(tx, ref, curve, *sex, x)
                            .valueAt(x, listed->code);
                    };
                    const double age = growth::monthMiddle(months);
                    weightForAge = read(growth::kWeightForAge, age);
                    heightForAge = read(growth::kHeightForAge, age);
                    if (height > 0)
                        forHeight =
                            read(months < growth::kStandingFromMonths ? growth::kWeightForLength
                                                                      : growth::kWeightForHeight,
                                 growth::settleHeight(height));
                });
            model::PacketBuilder byHeight(records::layouts::cdsPesoIdealAltura());
            if (forHeight)
                byHeight.row().set(QStringLiteral("VRPESO"), rounded3(*forHeight));
            model::PacketBuilder byAge(records::layouts::cdsCalcAn());
            if (weightForAge || heightForAge) {
                byAge.row();
                if (weightForAge)
                    byAge.set(QStringLiteral("VRPESOTABE"), rounded3(*weightForAge));
                if (heightForAge)
                    byAge.set(QStringLiteral("VRALTUTABE"), rounded3(*heightForAge));
            }
            return QJsonArray{byHeight.json(), byAge.json()};
        });

    routes.add(
        QStringLiteral("GetPesIdAlt"),
        {api::arg::text(QStringLiteral("referência")), api::arg::number(QStringLiteral("peso")),
         api::arg::text(QStringLiteral("eixo do peso")), api::arg::number(QStringLiteral("altura")),
         api::arg::text(QStringLiteral("eixo da altura")), api::arg::number(QStringLiteral("anos")),
         api::arg::number(QStringLiteral("meses")), api::arg::text(QStringLiteral("sexo"))},
        [&db](const Params& p) -> QJsonValue {
            const QString ref = p.code(0, 2);
            const bool weightMeasured = measured(p, 2);
            if (weightMeasured == measured(p, 4))
                p.fail(4, QStringLiteral("um só dos eixos (peso ou altura) deve ser \"X\""));
            const int measuredIndex = weightMeasured ? 1 : 3;
            const int tableIndex = weightMeasured ? 3 : 1;
            const double value = positive(p, measuredIndex);
            if (p.number(tableIndex) != 0)
                p.fail(tableIndex,
                       QStringLiteral("deve ser 0 no eixo \"T\": %1").arg(p.number(tableIndex)));
            const int months = wholeAgeMonths(p, 5, 6);
            const std::optional<QString> sex = tableSex(p, 7);
            return weightMeasured
                       ? bandOnCurve(db, ref, growth::kWeightForAge, sex,
                                     growth::monthMiddle(months), growth::settleWeight(value))
                       : bandOnCurve(db, ref, growth::kHeightForAge, sex,
                                     growth::monthMiddle(months), growth::settleHeight(value));
        });

    routes.add(QStringLiteral("GetPesoAlt"),
               {api::arg::text(QStringLiteral("referência")),
                api::arg::number(QStringLiteral("peso")),
                api::arg::number(QStringLiteral("altura")), api::arg::text(QStringLiteral("sexo"))},
               [&db](const Params& p) -> QJsonValue {
                   const QString ref = p.code(0, 2);
                   const double weight = growth::settleWeight(positive(p, 1));
                   const double height = growth::settleHeight(positive(p, 2));
                   const std::optional<QString> sex = tableSex(p, 3);
                   return bandOnCurve(db, ref,
                                      height < growth::kStandingFromCm ? growth::kWeightForLength
                                                                       : growth::kWeightForHeight,
                                      sex, height, weight);
               });

    routes.add(
        QStringLiteral("GetNutRecCatchUp"),
        {api::arg::text(QStringLiteral("referência de nutrientes")),
         api::arg::text(QStringLiteral("sexo")), api::arg::number(QStringLiteral("idade do peso"))},
        [&db](const Params& p) -> QJsonValue {
            const QString ref = p.code(0, 2);
            const std::optional<QString> sex = tableSex(p, 1);
            const int months = ageInMonths(p, 2);
            model::PacketBuilder packet(records::layouts::cdsNutRecCatchUp());
            if (!sex)
                return packet.json();
            const QList<SqlRow> rows =
                storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                    return tx.select(QStringLiteral("SELECT QTENERPESO, QTPROTPESO FROM recopeso "
                                                    "WHERE CDRFNUTRECOM = ? AND CDSEXO = ? AND "
                                                    "NRIDADEINI <= ? AND NRIDADEFIN >= ?"),
                                     {ref, *sex, months, months});
                });
            if (!rows.isEmpty())
                packet.row()
                    .set(QStringLiteral("QTNUTRINIC"), rows[0][0])
                    .set(QStringLiteral("QTPROTPESO"), rows[0][1]);
            return packet.json();
        });

    routes.add(QStringLiteral("GetCurvaCrescimento"),
               {api::arg::text(QStringLiteral("referência")),
                api::arg::text(QStringLiteral("método")), api::arg::text(QStringLiteral("sexo"))},
               [&db](const Params& p) -> QJsonValue {
                   const QString ref = p.code(0, 2);
                   const records::GrowthMethod* method = records::findGrowthMethod(p.text(1));
                   if (!method)
                       p.fail(1, QStringLiteral("não é um método de crescimento (\"15\", \"37\" "
                                                "a \"47\"): '%1'")
                                     .arg(p.text(1)));
                   const std::optional<QString> sex = tableSex(p, 2);
                   model::PacketBuilder packet(records::layouts::cdsCurvaCresc());
                   if (sex)
                       storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                           addCurvePoints(tx, ref, *method, *sex, packet);
                       });
                   return packet.json();
               });
}

}  // namespace server::methods
