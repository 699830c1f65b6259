#include "factor_tables.h"

#include "records/choice_lists.h"

#include <array>

namespace energy {

namespace {

namespace C = records::choice_lists;

// The row of the code in the list, or -1.
qsizetype rowOf(const records::ChoiceList& list, const QString& code)
{
    for (qsizetype row = 0; row < list.rows.size(); ++row) {
        if (list.rows[row].code == code)
            return row;
    }
    return -1;
}

// The number of the code from numbers given in the list's order; 0 for a code not listed.
template <std::size_t N>
double factorOf(const records::ChoiceList& list, const std::array<double, N>& numbers,
                const QString& code)
{
    Q_ASSERT(std::size_t(list.rows.size()) == N);
    const qsizetype row = rowOf(list, code);
    return row < 0 || std::size_t(row) >= N ? 0 : numbers[std::size_t(row)];
}

// In the order of each list.
constexpr std::array<double, 5> kThermal = {1.0, 1.1, 1.2, 1.3, 1.4};  // Normal, 38 to 41 ºC
constexpr std::array<double, 3> kHarrisActivity = {1.2, 1.25, 1.3};
constexpr std::array<double, 5> kRdaActivityMen = {1.3, 1.6, 1.7, 2.1, 2.4};
constexpr std::array<double, 5> kRdaActivityOthers = {1.3, 1.5, 1.6, 1.9, 2.2};
constexpr std::array<double, 5> kDuBoisKcal = {500, 720, 1200, 2200, 2500};
constexpr std::array<KcalPerKg, 7> kHospital = {
    {{20, 22}, {22, 25}, {25, 27}, {27, 30}, {30, 33}, {30, 35}, {35, 40}}};
constexpr std::array<double, 4> kNaf = {1.48, 1.25, 1.11, 1.0};
constexpr std::array<double, 3> kPregnancy = {0, 340, 452};
constexpr std::array<double, 2> kLactation = {330, 400};

struct Linear
{
    double slope;
    double intercept;
};
struct BandEquations
{
    Linear men;
    Linear women;
};
constexpr std::array<BandEquations, 6> kBands = {{
    {{60.9, -54}, {61, -51}},
    {{22.7, 495}, {22.5, 499}},
    {{17.5, 651}, {12.2, 746}},
    {{15.3, 679}, {14.7, 496}},
    {{11.6, 879}, {8.7, 829}},
    {{13.5, 487}, {10.5, 596}},
}};

}  // namespace

double bandBasal(int band, bool male, double weight)
{
    const BandEquations& eq = kBands.at(std::size_t(band));
    const Linear& line = male ? eq.men : eq.women;
    return line.slope * weight + line.intercept;
}

double thermalFactor(const QString& code)
{
    return factorOf(C::cdsTrabFatorTer(), kThermal, code);
}

double harrisActivityFactor(const QString& code)
{
    return factorOf(C::cdsTrabAtivHarris(), kHarrisActivity, code);
}

double rdaActivityFactor(const QString& code, const QString& sexLetter)
{
    return factorOf(C::cdsTrabAtivRda(), sexLetter == u"M" ? kRdaActivityMen : kRdaActivityOthers,
                    code);
}

double duBoisActivityKcal(const QString& code)
{
    return factorOf(C::cdsTrabAtivDuBois(), kDuBoisKcal, code);
}

std::optional<KcalPerKg> hospitalCondition(const QString& code)
{
    const records::ChoiceList& list = C::cdsTrabPaciHosp();
    Q_ASSERT(std::size_t(list.rows.size()) == kHospital.size());
    const qsizetype row = rowOf(list, code);
    if (row < 0 || std::size_t(row) >= kHospital.size())
        return std::nullopt;
    return kHospital[std::size_t(row)];
}

double nafCoefficient(const QString& code)
{
    return factorOf(C::cdsNaf(), kNaf, code);
}

double pregnancyAddition(const QString& code)
{
    return factorOf(C::cdsTrimestreGesta(), kPregnancy, code);
}

double lactationAddition(const QString& code)
{
    return factorOf(C::cdsTrimestreLac(), kLactation, code);
}

}  // namespace energy
