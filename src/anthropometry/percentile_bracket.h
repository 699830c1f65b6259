#pragma once

// Where a measured value lies among the percentile rows of a reference.

#include <QString>

namespace records {
class DataSet;
}

namespace anthropometry {

inline const QString kBelowFirstPercentile = QStringLiteral("001");
inline const QString kAboveLastPercentile = QStringLiteral("999");

struct PercentileBracket
{
    QString text;           // "P50", "Entre P50 - P75", "< P3", "> P97"; empty when none
    QString code;           // three digits, "001" below the first, "999" above the last;
                            // empty when the reference gives nothing
    QString referenceName;  // NMREFEBIBL of the row the text came from
};

// The bracket of value from what GetPercentil answered:
//   percentiles   the reference's percentile codes, lowest first (cdsPesqPer);
//   atOrBelow     the percentile with the highest value not above the value
//                 (cdsPercentilMaior), empty when every percentile lies above it;
//   atOrAbove     the percentile with the lowest value not below the value
//                 (cdsPercentilMenor), empty when every percentile lies below it.
// With a row above: its name, or "Entre <below> - <above>" when the two differ; the
// code of the row below when it has one, else of the row above. A value under the
// first percentile gives "< " + its name and "001". Otherwise with only a row below:
// its name and code, and above the last percentile "> " + its name and "999".
// Nothing at all leaves the code empty.
PercentileBracket bracketOf(const records::DataSet& percentiles, const records::DataSet& atOrBelow,
                            const records::DataSet& atOrAbove, double value);

}  // namespace anthropometry
