#pragma once

#include "csv_table.h"
#include "percentile_table.h"

#include "records/method_codes.h"

namespace server::reference::bmi {

// Bibliographic reference codes of the body mass index family.
inline const QString kMust1991 = QStringLiteral("01");
inline const QString kWho2007 = QStringLiteral("02");
inline const QString kCdc2000 = QStringLiteral("03");

// Method codes that own the tables.
inline const QString kMethodMust = records::method::kImcMust;  // IMC/Peso Teórico - Must
inline const QString kMethodAdolescent = records::method::kImcAdolescente;  // IMC de Adolescente

// WHO 2007 BMI-for-age, 5 to 19 years: one band per month from 60 (5 years) to 228
// (19 years) months, percentiles 3, 5, 15, 50, 85, 95 and 97 computed from the LMS
// parameters and rounded to 3 decimals as WHO publishes them.
QList<PercentileRow> who2007Rows(const CsvTable& lms, const QString& owner);

// CDC 2000 BMI-for-age, 2 to 20 years: its percentiles as published. CDC tabulates the
// middle of each month (24.5 stands for 24.0 to under 25 months), so the row of Agemos
// m + 0.5 is the band of m completed months (24 to 240); the exact-birthday row 24.0
// is not used.
QList<PercentileRow> cdc2000Rows(const CsvTable& table, const QString& owner);

// Must, Dallal and Dietz 1991 (NHANES I): percentiles 5, 15, 50, 85 and 95 by year of age
// (6 to 19) and by five-year band from 20; a band "20 to 24.9" years is 240 to 299
// months. Only the bands that start at or before lastBandStartYears.
QList<PercentileRow> must1991Rows(const CsvTable& table, const QString& owner,
                                  int lastBandStartYears = 200);

// The references of the family, read from the tables compiled into the server
// (:/avalnutri/reference/), their lists and the default references of both methods.
ReferenceSet bmiReferenceSet();

}  // namespace server::reference::bmi
