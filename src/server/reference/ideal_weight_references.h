#pragma once

#include "arm_references.h"
#include "bmi_references.h"
#include "csv_table.h"
#include "percentile_table.h"

#include "records/method_codes.h"

namespace server::reference::ideal {

// Bibliographic reference codes of the ideal weight family. WHO 2006 is the reference the
// arm family already seeds ("06"); Must 1991 that of the body mass index family ("01").
inline const QString kMust1991 = bmi::kMust1991;
inline const QString kWho2006 = arm::kWho2006;
inline const QString kNchs1977 = QStringLiteral("07");
inline const QString kMetLife1983 = QStringLiteral("08");
// The reference body mass indexes of Burr and Phillips and of Frisancho have no public
// table in the collection: references without tables, so that methods "10" and "14" can be
// given one and the server answers them no index.
inline const QString kBurrPhillips = QStringLiteral("09");
inline const QString kFrisanchoBmi = QStringLiteral("10");

// The curves (refecurva.CDCURVA) of the family.
// Ideal weight in kg for the barefoot height in cm; series: the frame code "0" (small),
// "1" (medium), "2" (large).
inline const QString kFrameCurve = QStringLiteral("OSSATURA");
// Weight in kg for the age in months (WHO 2006: days / 30.4375); series: the percentile.
inline const QString kWeightForAgeCurve = QStringLiteral("PESOIDADE");
// Weight in kg for the recumbent length in cm (under 24 months) and for the standing
// height in cm (24 months on); series: the percentile.
inline const QString kWeightForLengthCurve = QStringLiteral("PESOCOMPRIMENTO");
inline const QString kWeightForHeightCurve = QStringLiteral("PESOALTURA");
inline const QString kMedian = QStringLiteral("050");

// The age from which weight for height uses the standing-height table, in months.
constexpr int kStandingFromMonths = 24;

// WHO's days per month (365.25 / 12).
constexpr double kDaysPerMonth = 30.4375;

// The allowances the MetLife 1983 table includes: shoes with 1-inch heels, and indoor
// clothing of 5 lb (men) or 3 lb (women).
constexpr double kHeelInches = 1.0;
constexpr double kClothingPoundsMen = 5.0;
constexpr double kClothingPoundsWomen = 3.0;
constexpr double kCmPerInch = 2.54;
constexpr double kKgPerPound = 0.45359237;

// MetLife 1983 by sex and frame: one point per tabulated height, at the height without
// the heels in cm, worth the middle of the frame's weight range without the clothing, in kg.
QList<CurvePoint> metLife1983Points(const CsvTable& table);

// The P50 column of an NCHS 1977 table (sex, axis column, p5 … p95) as a curve.
QList<CurvePoint> nchs1977MedianPoints(const CsvTable& table, const QString& curve,
                                       const QString& axisColumn);

// The median M of a WHO 2006 LMS table as a curve; the axis is the axis column divided
// by axisDivisor (days to months: kDaysPerMonth; centimetres: 1).
QList<CurvePoint> who2006MedianPoints(const CsvTable& lms, const QString& curve,
                                      const QString& axisColumn, double axisDivisor);

// The references of the family, read from the tables compiled into the server, their
// lists and the default references of methods "06", "09", "10", "14", "19", "24" and
// "25".
ReferenceSet idealWeightReferenceSet();

}  // namespace server::reference::ideal
