#pragma once

#include "../storage/database.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace server::reference::growth {

// One percentile a growth reference lists, in the order of the percentiles: its code,
// the text that names it in a band ("0,1", "3", "97") and its normal quantile.
struct ListedPercentile
{
    QString code;   // "0.1", "001", "003" … "097", "099", "99.9": text order is numeric order
    QString label;  // "0,1", "1", "3" … "97", "99", "99,9"
    double z = 0;
};

// The percentiles of the WHO 2006 standards' published centile tables: 0.1, 1, 3, 5, 10,
// 15, 25, 50, 75, 85, 90, 95, 97, 99 and 99.9.
const QList<ListedPercentile>& whoPercentiles();
// The percentiles of the NCHS 1977 tables, 5 to 95, with the 3rd and the 97th derived from
// them (growth_references.h).
const QList<ListedPercentile>& nchsPercentiles();
// The listed percentile with the code ("0,1" is read as "0.1"); nullptr when none.
const ListedPercentile* findListed(const QString& code);

// A measure's value at one percentile.
struct GrowthPercentile
{
    QString code;
    QString label;
    double value = 0;
};

// One growth curve of a reference for one sex, as stored in refecurva: along its axis
// (months of age, or centimetres), either the series "L", "M" and "S" of an LMS reference,
// whose percentiles are computed (Cole's method, to the three decimals of WHO's
// published tables), or one series per percentile code. Between two stored points every
// series is read on the straight line between them.
class GrowthCurve
{
public:
    static GrowthCurve load(storage::Transaction& tx, const QString& reference,
                            const QString& curve, const QString& sex);
    // Only the points around x (the nearest at or below it and at or above it): enough
    // for at(x) and valueAt(x, code).
    static GrowthCurve loadAround(storage::Transaction& tx, const QString& reference,
                                  const QString& curve, const QString& sex, double x);

    bool isEmpty() const { return m_points.isEmpty(); }
    // The percentiles at x, lowest first; std::nullopt outside the curve's first and last
    // points.
    std::optional<QList<GrowthPercentile>> at(double x) const;
    // The value of one percentile at x; std::nullopt outside the curve or for a code the
    // reference does not list.
    std::optional<double> valueAt(double x, const QString& code) const;
    // The axis points, in order.
    QList<double> axis() const { return m_points.keys(); }

private:
    QMap<double, QMap<QString, double>> m_points;  // axis -> series -> value
};

// Where a measured value stands among the percentiles of one age or height: the three
// texts answered by GetPesIdAlt and GetPesoAlt.
//   V: the code of the lowest listed percentile at or above the value; when the value lies
//      above every listed percentile, the code of the highest.
//   flag: "S" when the value lies strictly below V, "" when it equals V, "A" when it lies
//      above V (above the highest listed percentile).
//   text: "Percentil 50" at a percentile, "Percentil 25 - 50" between two, "Percentil < 0,1"
//      below the lowest and "Percentil > 99,9" above the highest.
struct Band
{
    QString v;
    QString flag;
    QString text;
};
Band bandOf(const QList<GrowthPercentile>& percentiles, double value);

// The weight age on a weight-for-age curve at the percentile code: the first completed
// month whose value at the middle of the month is at or below the weight while that of
// the next month is above it. std::nullopt when the weight lies below the curve's first
// month or not below its last one (the age lies outside the table).
std::optional<int> weightAgeMonths(const GrowthCurve& weightForAge, const QString& code,
                                   double weight);

// The axis of the age tables at a patient's age: the middle of the completed month.
inline double monthMiddle(int months)
{
    return months + 0.5;
}
// A height in cm settled to the millimetre it was measured to: 1.16 m × 100 is
// 115.99999999999999 in binary, and must read the row of 116.0 cm.
double settleHeight(double cm);
// A weight in kg settled to the gram.
double settleWeight(double kg);

}  // namespace server::reference::growth
