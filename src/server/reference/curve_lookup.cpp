#include "curve_lookup.h"

#include <cmath>

namespace server::reference {
namespace {

struct Point
{
    double x = 0;
    double value = 0;
};

std::optional<Point> neighbour(storage::Transaction& tx, const QVariantList& key, double x,
                               bool below)
{
    const QString sql =
        QStringLiteral("SELECT VREIXO, VRVALOR FROM refecurva WHERE CDREFEBIBL = ? AND "
                       "CDCURVA = ? AND CDSEXO = ? AND CDSERIE = ? AND VREIXO %1 ? "
                       "ORDER BY VREIXO %2 LIMIT 1")
            .arg(below ? QStringLiteral("<=") : QStringLiteral(">="),
                 below ? QStringLiteral("DESC") : QStringLiteral("ASC"));
    QVariantList params = key;
    params.append(x);
    const QList<storage::SqlRow> rows = tx.select(sql, params);
    if (rows.isEmpty())
        return std::nullopt;
    return Point{rows[0][0].toDouble(), rows[0][1].toDouble()};
}

}  // namespace

double curveAxis(double x)
{
    return std::round(x * 1e6) / 1e6;
}

std::optional<double> curveValueAt(storage::Transaction& tx, const QString& reference,
                                   const QString& curve, const QString& sex, const QString& series,
                                   double x)
{
    const double at = curveAxis(x);
    const QVariantList key{reference, curve, sex, series};
    const std::optional<Point> low = neighbour(tx, key, at, true);
    if (!low)
        return std::nullopt;
    if (low->x == at)
        return low->value;
    const std::optional<Point> high = neighbour(tx, key, at, false);
    if (!high)
        return std::nullopt;
    return low->value + (high->value - low->value) * (at - low->x) / (high->x - low->x);
}

}  // namespace server::reference
