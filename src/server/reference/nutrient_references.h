#pragma once

#include "csv_table.h"
#include "percentile_table.h"

namespace server::reference::nutrient {

// Conditions of a recommended range (nutrrecom.IDCONDICAO) and the sex code of a range given
// for both sexes.
inline const QString kNoCondition = QStringLiteral("0");
inline const QString kPregnancy = QStringLiteral("1");
inline const QString kLactation = QStringLiteral("2");
inline const QString kBothSexes = QStringLiteral("A");

// The nutrient catalogue: energy and the nutrients of the DRI tables of recommended intakes,
// codes "001" to "037" in group order (macronutrients "01", vitamins "02", minerals "03").
QList<Nutrient> nutrientCatalogue();

// The DRI of the IOM (reference "02"), one range per nutrient, sex, condition and life-stage
// group: the RDA, or the AI where the tables give no RDA, as both ends of the range, per
// day. Cells not determined (ND) give no range. Throws std::runtime_error for a nutrient the
// catalogue lacks, a unit that is not the catalogue's, an unknown life stage or a repeated
// row.
QList<NutrientRange> driRanges(const CsvTable& table);

// The 1989 Recommended Dietary Allowances (reference "01"): energy (kcal) and protein (g)
// per kilogram of body weight by age group, each tabulated band running to the month before
// the next one of the same sex, the last to 200 years.
QList<NutrientRange> rda1989Ranges(const CsvTable& table);

// Throws std::runtime_error when two ranges of one reference, nutrient and condition overlap
// in age for a sex (a range for both sexes overlaps those of each sex), or a range is empty
// or reversed: a patient would get two answers.
void checkNutrientRanges(const QList<NutrientRange>& ranges);

// The nutrient recommendation family: the nutrient catalogue and the ranges of both
// references of recommended intakes.
ReferenceSet nutrientReferenceSet();

}  // namespace server::reference::nutrient
