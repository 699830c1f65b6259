#include "ideal_weight_references.h"

#include "reference_percentiles.h"

#include "../reference/curve_lookup.h"
#include "../reference/growth_references.h"
#include "../reference/ideal_weight_references.h"
#include "../reference/percentile_lookup.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace server::methods {
namespace {

namespace ideal = reference::ideal;
namespace growth = reference::growth;

// Ages come as whole years and months; the tables are read at the middle of the
// completed month.
struct WholeAge
{
    int months = 0;
    double tableMonths() const { return months + 0.5; }
};

WholeAge wholeAge(const Params& p, int yearsIndex, int monthsIndex)
{
    return {wholeAgeMonths(p, yearsIndex, monthsIndex)};
}

double nonNegative(const Params& p, int index)
{
    const double v = p.number(index);
    if (v < 0)
        p.fail(index, QStringLiteral("não pode ser negativo: %1").arg(v));
    return v;
}

QString percentileCode(const Params& p, int index)
{
    const QString code = p.text(index);
    static const QRegularExpression threeDigits(QStringLiteral("^\\d{3}$"));
    if (!threeDigits.match(code).hasMatch())
        p.fail(index,
               QStringLiteral("não é um código de percentil de três dígitos: '%1'").arg(code));
    return code;
}

double rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// A packet of one field with a row holding the value, or no row.
QJsonObject valuePacket(const records::DataSetLayout& layout, const QString& field,
                        const std::optional<double>& value, int decimals)
{
    model::PacketBuilder packet(layout);
    if (value)
        packet.row().set(field, rounded(*value, decimals));
    return packet.json();
}

std::optional<double> weightForAge(Transaction& tx, const QString& ref, const QString& sex,
                                   const QString& percentile, const WholeAge& age)
{
    return reference::curveValueAt(tx, ref, ideal::kWeightForAgeCurve, sex, percentile,
                                   age.tableMonths());
}

}  // namespace

void registerIdealWeightReferences(RouteTable& routes, Database& db)
{
    routes.add(
        QStringLiteral("GetCalcOssatura"),
        {api::arg::text(QStringLiteral("referência")), api::arg::text(QStringLiteral("sexo")),
         api::arg::text(QStringLiteral("compleição")), api::arg::number(QStringLiteral("altura"))},
        [&db](const Params& p) -> QJsonValue {
            const QString ref = p.code(0, 2);
            const std::optional<QString> sex = tableSex(p, 1);
            const QString frame = p.text(2);
            if (frame != QLatin1String("0") && frame != QLatin1String("1")
                && frame != QLatin1String("2"))
                p.fail(2, QStringLiteral("deve ser \"0\", \"1\" ou \"2\", não '%1'").arg(frame));
            const double height = nonNegative(p, 3);
            std::optional<double> weight;
            if (sex)
                weight = storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                    return reference::curveValueAt(tx, ref, ideal::kFrameCurve, *sex, frame,
                                                   height);
                });
            return valuePacket(records::layouts::cdsCalcOssatura(), QStringLiteral("VRPESOOSINI"),
                               weight, 2);
        });

    routes.add(
        QStringLiteral("GetImcPesoIdeal"),
        {api::arg::text(QStringLiteral("sexo")), api::arg::text(QStringLiteral("referência")),
         api::arg::number(QStringLiteral("idade codificada"))},
        [&db](const Params& p) -> QJsonValue {
            const std::optional<QString> sex = tableSex(p, 0);
            const QString ref = p.code(1, 2);
            const int months = ageInMonths(p, 2);
            std::optional<double> bmi;
            if (sex)
                storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                    const auto median = reference::findPercentile(
                        reference::percentilesAt(tx, ref, records::method::kImcMust, *sex, months),
                        ideal::kMedian);
                    if (median)
                        bmi = median->value;
                });
            return valuePacket(records::layouts::cdsImcPesoIdeal(), QStringLiteral("VRTABEDIET"),
                               bmi, 4);
        });

    routes.add(
        QStringLiteral("GetPesoIdade"),
        {api::arg::text(QStringLiteral("sexo")), api::arg::text(QStringLiteral("referência")),
         api::arg::text(QStringLiteral("percentil")), api::arg::number(QStringLiteral("anos")),
         api::arg::number(QStringLiteral("meses")), api::arg::number(QStringLiteral("peso"))},
        [&db](const Params& p) -> QJsonValue {
            const std::optional<QString> sex = tableSex(p, 0);
            const QString ref = p.code(1, 2);
            const QString percentile = percentileCode(p, 2);
            const WholeAge age = wholeAge(p, 3, 4);
            const double patientWeight = growth::settleWeight(nonNegative(p, 5));
            std::optional<double> weight;
            std::optional<int> weightAge;
            std::optional<double> weightAtWeightAge;
            if (sex)
                storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                    weight = weightForAge(tx, ref, *sex, percentile, age);
                    const auto curve =
                        growth::GrowthCurve::load(tx, ref, growth::kWeightForAge, *sex);
                    weightAge = growth::weightAgeMonths(curve, percentile, patientWeight);
                    if (weightAge)
                        weightAtWeightAge =
                            curve.valueAt(growth::monthMiddle(*weightAge), percentile);
                });
            // Element 1: the weight age, the age in whole years and months at which the
            // reference's weight at the percentile is the patient's (catch-up growth).
            model::PacketBuilder ageRow(records::layouts::cdsPesoIdade());
            if (weightAge && weightAtWeightAge)
                ageRow.row()
                    .set(QStringLiteral("NRIDADEINI"), *weightAge / 12)
                    .set(QStringLiteral("NRIDADEFIN"), *weightAge % 12)
                    .set(QStringLiteral("VRPESO"), rounded(*weightAtWeightAge, 3));
            return QJsonArray{valuePacket(records::layouts::cdsPesoIdealIdade(),
                                          QStringLiteral("VRPESO"), weight, 3),
                              ageRow.json()};
        });

    routes.add(QStringLiteral("GetPesoIdealAltura"),
               {api::arg::text(QStringLiteral("referência")),
                api::arg::number(QStringLiteral("anos")), api::arg::number(QStringLiteral("meses")),
                api::arg::number(QStringLiteral("altura")), api::arg::text(QStringLiteral("sexo"))},
               [&db](const Params& p) -> QJsonValue {
                   const QString ref = p.code(0, 2);
                   const WholeAge age = wholeAge(p, 1, 2);
                   const double height = nonNegative(p, 3);
                   const std::optional<QString> sex = tableSex(p, 4);
                   std::optional<double> forHeight;
                   std::optional<double> forAge;
                   if (sex)
                       storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                           const QString curve = age.months < ideal::kStandingFromMonths
                                                     ? ideal::kWeightForLengthCurve
                                                     : ideal::kWeightForHeightCurve;
                           forHeight = reference::curveValueAt(tx, ref, curve, *sex, ideal::kMedian,
                                                               height);
                           forAge = weightForAge(tx, ref, *sex, ideal::kMedian, age);
                       });
                   return QJsonArray{valuePacket(records::layouts::cdsPesoIdealAlturaMF(),
                                                 QStringLiteral("VRPESO"), forHeight, 3),
                                     valuePacket(records::layouts::cdsPesoIdealAltura(),
                                                 QStringLiteral("VRPESO"), forAge, 3)};
               });
}

}  // namespace server::methods
