#include "growth_lookup.h"

#include "curve_lookup.h"
#include "lms.h"

#include <cmath>

namespace server::reference::growth {
namespace {

const QString kL = QStringLiteral("L");
const QString kM = QStringLiteral("M");
const QString kS = QStringLiteral("S");

// Φ⁻¹(0.999): the 99.9th percentile; the 0.1st is its negative.
constexpr double kZ999 = 3.090232306167813;

ListedPercentile whole(int percentile)
{
    return {QStringLiteral("%1").arg(percentile, 3, 10, QLatin1Char('0')),
            QString::number(percentile), percentileZ(percentile)};
}

double readAt(const QMap<QString, double>& low, const QMap<QString, double>& high, double t,
              const QString& series)
{
    const double a = low.value(series);
    return a + (high.value(series) - a) * t;
}

}  // namespace

const QList<ListedPercentile>& whoPercentiles()
{
    static const QList<ListedPercentile> list = {
        {QStringLiteral("0.1"), QStringLiteral("0,1"), -kZ999},
        whole(1),
        whole(3),
        whole(5),
        whole(10),
        whole(15),
        whole(25),
        whole(50),
        whole(75),
        whole(85),
        whole(90),
        whole(95),
        whole(97),
        whole(99),
        {QStringLiteral("99.9"), QStringLiteral("99,9"), kZ999},
    };
    return list;
}

const QList<ListedPercentile>& nchsPercentiles()
{
    static const QList<ListedPercentile> list = {whole(3),  whole(5),  whole(10),
                                                 whole(25), whole(50), whole(75),
                                                 whole(90), whole(95), whole(97)};
    return list;
}

const ListedPercentile* findListed(const QString& code)
{
    QString wanted = code;
    wanted.replace(QLatin1Char(','), QLatin1Char('.'));
    for (const ListedPercentile& p : whoPercentiles())
        if (p.code == wanted)
            return &p;
    return nullptr;
}

GrowthCurve GrowthCurve::load(storage::Transaction& tx, const QString& reference,
                              const QString& curve, const QString& sex)
{
    GrowthCurve c;
    const QList<storage::SqlRow> rows =
        tx.select(QStringLiteral("SELECT VREIXO, CDSERIE, VRVALOR FROM refecurva WHERE "
                                 "CDREFEBIBL = ? AND CDCURVA = ? AND CDSEXO = ?"),
                  {reference, curve, sex});
    for (const storage::SqlRow& r : rows)
        c.m_points[curveAxis(r[0].toDouble())].insert(r[1].toString(), r[2].toDouble());
    return c;
}

GrowthCurve GrowthCurve::loadAround(storage::Transaction& tx, const QString& reference,
                                    const QString& curve, const QString& sex, double x)
{
    GrowthCurve c;
    const QString key = QStringLiteral("CDREFEBIBL = ? AND CDCURVA = ? AND CDSEXO = ?");
    const double at = curveAxis(x);
    const QList<storage::SqlRow> rows = tx.select(
        QStringLiteral("SELECT VREIXO, CDSERIE, VRVALOR FROM refecurva WHERE %1 AND (VREIXO = "
                       "(SELECT MAX(VREIXO) FROM refecurva WHERE %1 AND VREIXO <= ?) OR VREIXO = "
                       "(SELECT MIN(VREIXO) FROM refecurva WHERE %1 AND VREIXO >= ?))")
            .arg(key),
        {reference, curve, sex, reference, curve, sex, at, reference, curve, sex, at});
    for (const storage::SqlRow& r : rows)
        c.m_points[curveAxis(r[0].toDouble())].insert(r[1].toString(), r[2].toDouble());
    return c;
}

std::optional<QList<GrowthPercentile>> GrowthCurve::at(double x) const
{
    const double at = curveAxis(x);
    auto high = m_points.lowerBound(at);
    if (high == m_points.cend())
        return std::nullopt;
    auto low = high;
    double t = 0;
    if (high.key() != at) {
        if (high == m_points.cbegin())
            return std::nullopt;
        low = std::prev(high);
        t = (at - low.key()) / (high.key() - low.key());
    }
    QList<GrowthPercentile> out;
    if (low->contains(kM)) {
        const double l = readAt(*low, *high, t, kL);
        const double m = readAt(*low, *high, t, kM);
        const double s = readAt(*low, *high, t, kS);
        for (const ListedPercentile& p : whoPercentiles())
            out.append({p.code, p.label, roundHalfEven(lmsValue(l, m, s, p.z), 3)});
        return out;
    }
    // QMap keeps the codes in text order, which is their numeric order.
    for (auto it = low->cbegin(); it != low->cend(); ++it) {
        const ListedPercentile* listed = findListed(it.key());
        if (listed && high->contains(it.key()))
            // Tables of one or two decimals read at tenths of their steps: four decimals
            // hold the value and drop the binary noise, so a value on a percentile is on it.
            out.append({listed->code, listed->label,
                        std::round(readAt(*low, *high, t, it.key()) * 1e4) / 1e4});
    }
    return out;
}

std::optional<double> GrowthCurve::valueAt(double x, const QString& code) const
{
    const std::optional<QList<GrowthPercentile>> all = at(x);
    if (!all)
        return std::nullopt;
    for (const GrowthPercentile& p : *all)
        if (p.code == code)
            return p.value;
    return std::nullopt;
}

Band bandOf(const QList<GrowthPercentile>& percentiles, double value)
{
    if (percentiles.isEmpty())
        return {};
    for (qsizetype i = 0; i < percentiles.size(); ++i) {
        const GrowthPercentile& p = percentiles[i];
        if (p.value < value)
            continue;
        const QString prefix = QStringLiteral("Percentil ");
        if (p.value == value)
            return {p.code, QString(), prefix + p.label};
        if (i == 0)
            return {p.code, QStringLiteral("S"), prefix + QStringLiteral("< ") + p.label};
        return {p.code, QStringLiteral("S"),
                prefix + percentiles[i - 1].label + QStringLiteral(" - ") + p.label};
    }
    const GrowthPercentile& top = percentiles.last();
    return {top.code, QStringLiteral("A"), QStringLiteral("Percentil > ") + top.label};
}

std::optional<int> weightAgeMonths(const GrowthCurve& weightForAge, const QString& code,
                                   double weight)
{
    std::optional<double> current = weightForAge.valueAt(monthMiddle(0), code);
    for (int month = 0; current; ++month) {
        const std::optional<double> next = weightForAge.valueAt(monthMiddle(month + 1), code);
        if (!next || *current > weight)
            return std::nullopt;
        if (*next > weight)
            return month;
        current = next;
    }
    return std::nullopt;
}

double settleHeight(double cm)
{
    return std::round(cm * 10) / 10;
}

double settleWeight(double kg)
{
    return std::round(kg * 1000) / 1000;
}

}  // namespace server::reference::growth
