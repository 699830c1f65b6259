#pragma once

#include "arm_references.h"
#include "csv_table.h"
#include "energy_references.h"
#include "growth_lookup.h"
#include "ideal_weight_references.h"
#include "percentile_table.h"

namespace server::reference::growth {

// The growth references: WHO 2006 (the code the arm family seeds) and NCHS 1977 (the
// ideal weight family's), and the nutrient reference RDA 1989 of the energy family.
inline const QString kWho2006 = arm::kWho2006;
inline const QString kNchs1977 = ideal::kNchs1977;
inline const QString kRda1989 = energy::kRda1989;
// Method "28" (Maturação Sexual) reads no table, but its catalogue entry asks for a
// reference from its list: Tanner 1962, whose stages the dialog records, stands there
// without a table.
inline const QString kTanner1962 = QStringLiteral("13");

// The curves (refecurva.CDCURVA) of the growth indices, by sex. Age curves run along the
// age in months: NCHS 1977 at its tabulated whole months, WHO 2006 at the middle of each
// completed month (m + 0.5), read from the day table at the nearest day,
// (m + 0.5) × 30.4375 rounded. Height curves run along the length or height in cm: NCHS
// 1977 by whole centimetre, WHO 2006 by millimetre. NCHS 1977 curves hold one series per
// percentile code; WHO 2006 curves the series "L", "M" and "S".
inline const QString kWeightForAge = QStringLiteral("CRESC_PESOIDADE");
// Recumbent length under 24 months, standing height from 24 months on (NCHS 1977: one
// curve, the length table's 0-23 months then the stature table's 24-119 months).
inline const QString kHeightForAge = QStringLiteral("CRESC_ALTURAIDADE");
inline const QString kWeightForLength = QStringLiteral("CRESC_PESOCOMPR");
inline const QString kWeightForHeight = QStringLiteral("CRESC_PESOALTURA");

// With the age known, weight for height reads the length curve under 24 months and the
// height curve from 24 months; without it (GetPesoAlt), the length curve below 85 cm and
// the height curve from 85 cm, the customary cut-off when the age is not known.
constexpr int kStandingFromMonths = 24;
constexpr double kStandingFromCm = 85;

// WHO's days per month (365.25 / 12), and the day of the WHO 2006 day tables read for the
// completed month m.
constexpr double kDaysPerMonth = 30.4375;
int whoTableDay(int months);

// An NCHS 1977 percentile table (sex, axis column, p5 … p95) as curve points, with the 3rd
// and 97th percentiles the table lacks derived as the reference is customarily used: the
// standard deviation below the median is the mean of (P50 - P5) / z95, (P50 - P10) / z90
// and (P50 - P25) / z75, that above it likewise from P95, P90 and P75, and P3 and P97 lie
// z97 of them below and above the median (rounded to 0.01).
QList<CurvePoint> nchs1977Points(const CsvTable& table, const QString& curve,
                                 const QString& axisColumn);

// A WHO 2006 LMS table by day (age_days) as curve points at the middle of each completed
// month the table covers.
QList<CurvePoint> who2006MonthlyLmsPoints(const CsvTable& lms, const QString& curve);
// A WHO 2006 LMS table by length or height (axis column in cm) as curve points.
QList<CurvePoint> who2006LmsPoints(const CsvTable& lms, const QString& curve,
                                   const QString& axisColumn);

// A WHO 2006 LMS table by day as the percentile table (refepercentil) of the owner method:
// one band per completed month, read at the middle of the month; percentiles 1 to 99.
QList<PercentileRow> who2006MonthlyPercentiles(const CsvTable& lms, const QString& owner);

// The energy and protein per kg of the 1989 allowances by sex and age band ("both sexes"
// rows stored for each sex). Infant bands end before their upper age (0-0.5 years is 0 to
// 5 months); the other bands include their last year.
QList<PerKgRecommendation> rda1989PerKg(const CsvTable& table);

// The growth family: curves, the head circumference table of method "15", the per-kg
// recommendations, the reference lists and default references of methods "12", "13",
// "15", "35" and "37" to "47".
ReferenceSet growthReferenceSet();

}  // namespace server::reference::growth
