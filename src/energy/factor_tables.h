#pragma once

// The numbers behind the fixed choice lists of the energy data types: what each code the
// user picks (records/choice_lists.h gives the codes and the names shown) means to the
// equations. A code that is not in its list has no factor: 0, or no condition.

#include <QString>

#include <optional>

namespace energy {

// Thermal factor of Long (cdsTrabFatorTer, data type "23"): "4" normal 1.0 to "3" 41 ºC 1.4.
double thermalFactor(const QString& code);
// Activity factor of Long (cdsTrabAtivHarris, data type "24" of "30").
double harrisActivityFactor(const QString& code);
// Activity factor of the RDA (cdsTrabAtivRda, data type "24" of "32"): men ("M") have
// their own column, every other sex letter the women's.
double rdaActivityFactor(const QString& code, const QString& sexLetter);
// Activity allowance in kcal of Escudero (cdsTrabAtivDuBois, data type "24" of "33").
double duBoisActivityKcal(const QString& code);

// Kcal per kg of body weight per day of a hospital-patient condition of Ogawa
// (cdsTrabPaciHosp, data type "34"), its VRFATOR range.
struct KcalPerKg
{
    double low = 0;
    double high = 0;
};
std::optional<KcalPerKg> hospitalCondition(const QString& code);

// The physical activity coefficient PA of the estimated energy requirement (cdsNaf, data
// type "51"), the same for both sexes.
double nafCoefficient(const QString& code);
// Kcal added in pregnancy by trimester (cdsTrimestreGesta, data type "26") and in
// lactation by period (cdsTrimestreLac, data type "52").
double pregnancyAddition(const QString& code);
double lactationAddition(const QString& code);

// Basal expenditure in kcal per day of the RDA and FAO age bands (0 under 3 years, 1 from
// 3 to 10, 2 from 10 to 18, 3 from 18 to 30, 4 from 30 to 60, 5 from 60), linear in the
// weight: the men's equation or the women's.
double bandBasal(int band, bool male, double weight);

}  // namespace energy
