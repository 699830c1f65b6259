#pragma once

// The growth methods drawn on a reference's percentile curves: what each measures, along
// which axis, and over which range its name gives. The assessment routine of "37" to "47",
// the server's curve method and the growth chart all read this one table.

#include "method_codes.h"

#include <QAnyStringView>

#include <span>

namespace records {

enum class GrowthIndex
{
    WeightForAge,             // weight (kg) along the age in months
    HeightForAge,             // length or height (cm) along the age in months
    WeightForLength,          // weight (kg) along the recumbent length (cm)
    WeightForHeight,          // weight (kg) along the standing height (cm)
    HeadCircumferenceForAge,  // head circumference (cm) along the age in months
};

struct GrowthMethod
{
    QLatin1String code;
    GrowthIndex index;
    // The range of the method's axis: months of age, or centimetres.
    double from;
    double to;

    bool alongAge() const
    {
        return index != GrowthIndex::WeightForLength && index != GrowthIndex::WeightForHeight;
    }
};

inline constexpr GrowthMethod kGrowthMethods[] = {
    {method::kPerCefalico, GrowthIndex::HeadCircumferenceForAge, 0, 60},
    {method::kPesoIdade036Nchs, GrowthIndex::WeightForAge, 0, 36},
    {method::kPesoIdade210Nchs, GrowthIndex::WeightForAge, 24, 120},
    {method::kAlturaIdade036Nchs, GrowthIndex::HeightForAge, 0, 36},
    {method::kAlturaIdade210Nchs, GrowthIndex::HeightForAge, 24, 120},
    {method::kPesoAltura49103Nchs, GrowthIndex::WeightForLength, 49, 103},
    {method::kPesoAltura55145Nchs, GrowthIndex::WeightForHeight, 55, 145},
    {method::kPesoIdade060Oms, GrowthIndex::WeightForAge, 0, 60},
    {method::kAlturaIdade024Oms, GrowthIndex::HeightForAge, 0, 24},
    {method::kAlturaIdade2460Oms, GrowthIndex::HeightForAge, 24, 60},
    {method::kPesoAltura45110Oms, GrowthIndex::WeightForLength, 45, 110},
    {method::kPesoAltura65120Oms, GrowthIndex::WeightForHeight, 65, 120},
};

inline std::span<const GrowthMethod> growthMethods()
{
    return kGrowthMethods;
}

// The growth method of a code; nullptr for any other code.
inline const GrowthMethod* findGrowthMethod(QAnyStringView code)
{
    for (const GrowthMethod& m : kGrowthMethods) {
        if (QAnyStringView::compare(code, m.code) == 0)
            return &m;
    }
    return nullptr;
}

}  // namespace records
