#include "basal_rate_family.h"

#include "energy_messages.h"
#include "factor_tables.h"

#include "anthropometry/evaluation.h"
#include "anthropometry/number_texts.h"
#include "hostfw/numbers.h"
#include "hostfw/text.h"
#include "records/dataset.h"
#include "records/method_codes.h"
#include "workspace/assessment_form.h"

#include <optional>

namespace energy {

namespace {

// A result in kcal as the lines show it: worked out as on paper (no binary noise in the
// last digits), three decimals.
QString threeDecimals(double value)
{
    return anthropometry::threeDecimals(anthropometry::settled(value));
}

using anthropometry::Evaluation;
using namespace records::data_type;
namespace M = records::method;

// The text of the data type on the tab's data grid; nothing when no row has it.
std::optional<QString> gridText(Evaluation& ev, QLatin1String dataType)
{
    const records::DataSet& grid = anthropometry::pageDataSetsOf(ev.form(), ev.method()).dataEntry;
    for (int row = 0; row < grid.recordCount(); ++row) {
        if (grid.asStringAt(row, QStringLiteral("CDTIPODADO")) == dataType)
            return grid.asStringAt(row, QStringLiteral("DSINFOAVAL"));
    }
    return std::nullopt;
}

// A measure that must be positive: nothing when it is on the grid but empty, or is not
// above 0 (one not on the grid counts as 0). A text that is not a number throws
// hostfw::ConversionError.
std::optional<double> positive(Evaluation& ev, QLatin1String dataType)
{
    const std::optional<QString> text = gridText(ev, dataType);
    if (!text)
        return std::nullopt;
    if (hostfw::EmptyString(*text))
        return std::nullopt;
    const double value = hostfw::StrToFloat(*text, QStringLiteral("Valor"));
    if (value <= 0)
        return std::nullopt;
    return value;
}

// The first character of a code on the grid (activity level, trimester, lactation
// period); nothing when the row is missing or its text is empty.
std::optional<QString> codeOf(Evaluation& ev, QLatin1String dataType)
{
    const std::optional<QString> text = gridText(ev, dataType);
    if (!text || hostfw::EmptyString(*text))
        return std::nullopt;
    return text->left(1);
}

QString kcalPerDay(double value)
{
    return threeDecimals(value) + QStringLiteral(" ")
           + msgEnergia().Msg(QStringLiteral("Kcal_dia"));
}

// The EER of a woman (the pregnancy and lactation equations start from it).
double womanEer(int years, double pa, double weight, double height)
{
    return 354 - 6.91 * years + pa * (9.36 * weight + 726 * height);
}

const anthropometry::DispatchEntry kDispatch[] = {
    {M::kTmbHb1919, &Calcula_TMB_HB1919}, {M::kTmbFao, &Calcula_TMB_FAO}, {M::kEer, &Calcula_EER},
    {M::kEerGest, &Calcula_EERGest},      {M::kEerLac, &Calcula_EERLac},
};

}  // namespace

// Harris-Benedict (1919) basal metabolic rate.
void Calcula_TMB_HB1919(Evaluation& ev)
{
    const std::optional<double> weight = positive(ev, kPeso);
    const std::optional<double> height = positive(ev, kAltura);
    if (!weight || !height || !ev.maleOrFemaleElseNoClassification())
        return;
    const double cm = *height * 100;
    const int years = ev.ageYears();
    const double rate = ev.sexLetter() == u"M" ? 66.47 + 13.75 * *weight + 5 * cm - 6.76 * years
                                               : 655.1 + 9.56 * *weight + 1.85 * cm - 4.68 * years;
    ev.writeResultLine(1, QString(), threeDecimals(rate));
}

// FAO basal metabolic rate by the age band of the coded age; each band ends at its age
// (3,00 is still the first band, 3,01 the second).
void Calcula_TMB_FAO(Evaluation& ev)
{
    const std::optional<double> weight = positive(ev, kPeso);
    if (!weight || !ev.maleOrFemaleElseNoClassification())
        return;
    const double age = ev.codedAge();
    double rate = 0;
    if (age >= 0) {
        const int band = age <= 3    ? 0
                         : age <= 10 ? 1
                         : age <= 18 ? 2
                         : age <= 30 ? 3
                         : age <= 60 ? 4
                                     : 5;
        rate = bandBasal(band, ev.sexLetter() == u"M", *weight);
    }
    ev.writeResultLine(1, QString(), threeDecimals(rate));
}

// Estimated energy requirement of an adult by the physical activity level.
void Calcula_EER(Evaluation& ev)
{
    const std::optional<double> weight = positive(ev, kPeso);
    const std::optional<double> height = positive(ev, kAltura);
    const std::optional<QString> naf = codeOf(ev, kNaf);
    if (!weight || !height || !naf || !ev.maleOrFemaleElseNoClassification())
        return;
    const double pa = nafCoefficient(*naf);
    const int years = ev.ageYears();
    const double eer = ev.sexLetter() == u"M"
                           ? 662 - 9.53 * years + pa * (15.91 * *weight + 539.6 * *height)
                           : womanEer(years, pa, *weight, *height);
    ev.writeResultLine(1, QString(), kcalPerDay(eer));
}

// The woman's EER plus the addition of the pregnancy trimester.
void Calcula_EERGest(Evaluation& ev)
{
    const std::optional<double> weight = positive(ev, kPeso);
    const std::optional<double> height = positive(ev, kAltura);
    const std::optional<QString> trimester = codeOf(ev, kTrimestreGravidez);
    const std::optional<QString> naf = codeOf(ev, kNaf);
    if (!weight || !height || !trimester || !naf)
        return;
    ev.writeResultLine(1, QString(),
                       kcalPerDay(womanEer(ev.ageYears(), nafCoefficient(*naf), *weight, *height)
                                  + pregnancyAddition(*trimester)));
}

// The woman's EER plus the addition of the lactation period.
void Calcula_EERLac(Evaluation& ev)
{
    const std::optional<double> weight = positive(ev, kPeso);
    const std::optional<double> height = positive(ev, kAltura);
    const std::optional<QString> naf = codeOf(ev, kNaf);
    const std::optional<QString> period = codeOf(ev, kTrimestreLactacao);
    if (!weight || !height || !naf || !period)
        return;
    ev.writeResultLine(1, QString(),
                       kcalPerDay(womanEer(ev.ageYears(), nafCoefficient(*naf), *weight, *height)
                                  + lactationAddition(*period)));
}

std::span<const anthropometry::DispatchEntry> assessmentTabDispatch()
{
    return kDispatch;
}

}  // namespace energy
