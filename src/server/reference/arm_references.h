#pragma once

#include "csv_table.h"
#include "percentile_table.h"

#include "records/method_codes.h"

#include <functional>

namespace server::reference::arm {

// Bibliographic reference codes of the arm anthropometry family. "05" is the reference
// the assessment classifies with its own bands (P10 and P90, no P15 or P85): Frisancho's
// 1981 tables have the percentiles 5, 10, 25, 50, 75, 90 and 95 only.
inline const QString kJelliffe1966 = QStringLiteral("04");
inline const QString kFrisancho1981 = QStringLiteral("05");
inline const QString kWho2006 = QStringLiteral("06");

// Jelliffe's adult standards hold from 18 years on (216 completed months) to the oldest
// coded age the queries take (200 years).
constexpr int kAdultFromMonths = 18 * 12;
constexpr int kOldestMonths = 200 * 12;

// The arm muscle areas as the assessment computes them from an arm muscle circumference
// c in cm, for the sex letter "M" or "F": method "05" c² / 12.56 − 10 (men) or − 6.5
// (women), in cm²; method "60" (10·c)² / (4π) − 10 or − 6.5, π at full precision, the
// square in mm². Each rises with c (c > 0), so the area at a percentile of the
// circumference is the same percentile of the area.
double armMuscleArea(double circumferenceCm, const QString& sex);
double correctedArmMuscleArea(double circumferenceCm, const QString& sex);

// Jelliffe 1966: the triceps skinfold (method "02"), arm muscle circumference ("03") and
// arm circumference ("04") standards for adults, as the median ("050") standard.
QList<StandardRow> jelliffe1966Standards(const CsvTable& table);

// Frisancho 1981 arm muscle circumference percentiles by year of age (1 to 17) and by
// band of years (18–18.9, 19–24.9, 25–34.9 … 65–74.9), each value passed through
// measure (the circumference itself, or an area computed from it) for the sex letter.
using Measure = TabulatedValue;
QList<PercentileRow> frisancho1981Rows(const CsvTable& table, const QString& owner,
                                       const Measure& measure);

// WHO 2006 triceps skinfold-for-age, 3 to 60 months: one band per completed month n,
// from the LMS row of day round(n × 30.4375) (WHO's days per month, 365.25 / 12), the
// percentiles 3, 5, 10, 15, 25, 50, 75, 85, 90, 95 and 97 unrounded (P50 is M).
QList<PercentileRow> who2006TricepsRows(const CsvTable& lms, const QString& owner);

// The references of the family, read from the tables compiled into the server, their
// lists and the default references of methods "02", "03", "04", "05", "08" and "60".
ReferenceSet armReferenceSet();

}  // namespace server::reference::arm
