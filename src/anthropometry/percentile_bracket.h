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
    QString referenceCode;  // CDREFEBIBL of that row
    // The second code: CDPERCENTIL of the row at or above the value when the row at or below
    // it has a code, else empty ("99" above the last percentile where the rules say so).
    QString secondCode;
};

// The small differences some methods make to the bracket. The defaults are the bracket
// every method uses unless its family says otherwise.
struct BracketRules
{
    // The text when both rows are there and their names differ.
    enum class Between
    {
        Entre,             // "Entre <at or below> - <at or above>"
        AboveNameOverP95,  // as Entre, but the name at or above when its code is over "095"
        AtOrBelowName,     // the name at or below, never "Entre"
    };
    // When the value counts as under the first percentile ("< " and "001").
    enum class UnderFirst
    {
        FirstCodeAndNoneAtOrBelow,  // the code is the first one, its row lies above the
                                    // value and no percentile lies at or below it
        FirstCodeAndNamesAgree,     // the code is the first one, its row lies above the value
                                    // and the row at or below has no other name
        NoCodeAtOrBelow,            // the row at or below has no code (nothing compared)
    };
    Between between = Between::Entre;
    UnderFirst underFirst = UnderFirst::FirstCodeAndNoneAtOrBelow;
    bool aboveLast = true;                 // "> " and "999" over the last percentile
    bool secondCodeAboveLastIs99 = false;  // the second code is then "99"
};

// The bracket of the shared evaluation step.
inline constexpr BracketRules kPercentileBracket{};
// Arm muscle area: between two rows the name of the row at or above the value alone when its
// code is over "095"; "99" as second code above the last.
inline constexpr BracketRules kArmMuscleAreaBracket{
    BracketRules::Between::AboveNameOverP95, BracketRules::UnderFirst::FirstCodeAndNoneAtOrBelow,
    true, true};
// Arm fat area: under the first percentile only when the two names agree.
inline constexpr BracketRules kArmFatAreaBracket{
    BracketRules::Between::Entre, BracketRules::UnderFirst::FirstCodeAndNamesAgree, true, false};
// Corrected arm muscle area: one name (the row at or below the value), under the first
// whenever that row has no code, nothing above the last.
inline constexpr BracketRules kCorrectedArmMuscleAreaBracket{
    BracketRules::Between::AtOrBelowName, BracketRules::UnderFirst::NoCodeAtOrBelow, false, false};

// Head circumference: the same reading, the percentile at or below the value alone, "< " under
// the first and nothing over the last.
inline constexpr BracketRules kHeadCircumferenceBracket = kCorrectedArmMuscleAreaBracket;

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
// Nothing at all leaves the code empty. The rules change this as they say.
PercentileBracket bracketOf(const records::DataSet& percentiles, const records::DataSet& atOrBelow,
                            const records::DataSet& atOrAbove, double value,
                            const BracketRules& rules = kPercentileBracket);

}  // namespace anthropometry
