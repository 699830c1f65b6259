#pragma once

#include "csv_table.h"
#include "percentile_table.h"

#include "records/method_codes.h"

namespace server::reference::energy {

// The basal metabolic rate per square metre of body surface, in kcal per m² per hour, by
// sex and age: the table of Du Bois/Escudero (method "33"). Its bibliographic reference
// code is also the table code the module sends to GetDuBois ("40"). The values match the
// standards of Fleisch 1951 as commonly quoted; the attribution is probable, not confirmed
// against the printed table.
inline const QString kFleisch1951 = QStringLiteral("40");
inline const QString kBmrOwner = QString(records::method::kDuBois);
// The table holds one standard value per sex and age, stored as the median ("050")
// standard of the fixed standards.
inline const QString kBmrStandard = QStringLiteral("050");

// The oldest age the reference queries take (200 years), in completed months.
constexpr int kOldestMonths = 200 * 12;

// The neutral injury factor (1, no injury): the module gives it to Harris-Benedict when no
// injury factor has been chosen.
inline const QString kNoInjury = QStringLiteral("29");

// References of recommended nutrient intakes and nutrient groups.
inline const QString kRda1989 = QStringLiteral("01");
inline const QString kDriIom = QStringLiteral("02");
inline const QString kMacronutrients = QStringLiteral("01");
inline const QString kVitamins = QStringLiteral("02");
inline const QString kMinerals = QStringLiteral("03");

// The basal metabolic rate table as fixed standards of method "33": one row per tabulated
// age (1, 3, 5 … 19, 20, 25 … 80) with the men's and women's values, the row covering the
// completed months from its age to the month before the next tabulated age. The first row
// also covers the ages below it, the last one (80) every older age: a patient's age reads
// the row of the greatest tabulated age not above it in whole years.
QList<StandardRow> bmrStandards(const CsvTable& table);

// Long 1979's injury factors (the rows of factor group "injury"), with Portuguese names and
// the reference, and the neutral factor kNoInjury.
QList<InjuryFactor> injuryFactors(const CsvTable& table);

// The energy family: the basal metabolic rate table, the injury factors, the references of
// recommended nutrient intakes (RDA 1989, DRI of the IOM) and the nutrient groups.
ReferenceSet energyReferenceSet();

}  // namespace server::reference::energy
