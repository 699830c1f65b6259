// The equations of the energy tab against a fake server: their lines for measures worked
// out on paper, by sex letter, age band and mode, the recorded values they read and the
// messages of Ireton-Jones.

#include "energy_fixture.h"

#include "energy/energy_tab_family.h"
#include "energy/factor_tables.h"
#include "hostfw/error_display.h"
#include "hostfw/errors.h"
#include "records/choice_lists.h"
#include "workspace/energy_page.h"

using namespace energy;
using namespace energytest;

namespace {

using Equation = void (*)(workspace::AssessmentForm&, double, Mode);

struct Recorded
{
    const char* type;
    const char* text;
};

struct Case
{
    const char* sexCode;  // "0" M, "1" F, "2" D, "3" I
    int years;
    Equation equation;
    const char* method;
    double weight;
    const char* height;  // medAltura
    QList<Recorded> recorded;
    QList<const char*> expected;  // results of "01", "02"
};

// clang-format off
const Case kCases[] = {
    // Harris: 66,473 + 13,751 x 70 + 5,003 x 175 - 6,755 x 30 = 1701,918; x 1,25 x 1,2 x 1,0
    {"0", 30, Calcula_Harris, "30", 70, "1,75", {{"24", "1"}, {"25", "1,2"}, {"23", "4"}}, {"1.701,918 Kcal", "2.552,877 Kcal"}},
    // "D" and "I" take the women's equation: 655,09 + 573,78 + 295,84 - 140,25; no injury factor: total 0
    {"2", 30, Calcula_Harris, "30", 60, "1,60", {{"24", "1"}, {"23", "4"}}, {"1.384,460 Kcal", "0,000 Kcal"}},
    {"3", 30, Calcula_Harris, "30", 60, "1,60", {{"24", "1"}, {"25", "1,2"}, {"23", "0"}}, {"1.384,460 Kcal", "2.284,359 Kcal"}},  // x 1,25 x 1,2 x 1,1
    // RDA: each band starts at its age (men, 20 kg, "Moderada" 1,7)
    {"0", 2, Calcula_RDA, "32", 20, "", {{"24", "2"}}, {"1.164,000 Kcal", "1.978,800 Kcal"}},
    {"0", 3, Calcula_RDA, "32", 20, "", {{"24", "2"}}, {"949,000 Kcal", "1.613,300 Kcal"}},
    {"0", 10, Calcula_RDA, "32", 20, "", {{"24", "2"}}, {"1.001,000 Kcal", "1.701,700 Kcal"}},
    {"0", 18, Calcula_RDA, "32", 20, "", {{"24", "2"}}, {"985,000 Kcal", "1.674,500 Kcal"}},
    {"0", 30, Calcula_RDA, "32", 20, "", {{"24", "2"}}, {"1.111,000 Kcal", "1.888,700 Kcal"}},
    {"0", 60, Calcula_RDA, "32", 20, "", {{"24", "2"}}, {"757,000 Kcal", "1.286,900 Kcal"}},
    // "I" takes the other column: 8,7 x 20 + 829 = 1003, "Moderada" 1,6; an unknown code is factor 0
    {"3", 30, Calcula_RDA, "32", 20, "", {{"24", "2"}}, {"1.003,000 Kcal", "1.604,800 Kcal"}},
    {"0", 30, Calcula_RDA, "32", 20, "", {{"24", "7"}}, {"1.111,000 Kcal", "0,000 Kcal"}},
    // Du Bois: S = 71,84 x 175^0,725 x 70^0,425 / 10000 = 1,848143; 39,5 x 24 x S; + 720 + 10 %
    {"0", 30, Calcula_DuBois, "33", 70, "1.75", {{"24", "1"}}, {"1.752,040 Kcal", "2.647,244 Kcal"}},
    {"0", 30, Calcula_DuBois, "33", 70, "1,75", {}, {"1.752,040 Kcal", "1.927,244 Kcal"}},  // no allowance
    // Ireton-Jones breathing spontaneously, obese: 629 - 440 + 2500 - 609
    {"1", 40, Calcula_IretonJones, "34", 100, "", {{"30", "1"}, {"31", "0"}, {"32", "0"}, {"29", "0"}}, {"2.080,000 Kcal"}},
    // on a ventilator, a man with trauma: 1925 - 400 + 400 + 281 + 292
    {"0", 40, Calcula_IretonJones, "34", 80, "", {{"30", "0"}, {"31", "1"}, {"32", "0"}, {"29", "1"}}, {"2.498,000 Kcal"}},
    {"0", 40, Calcula_IretonJones, "34", 80, "", {{"30", "0"}, {"31", "1"}, {"32", "0"}}, {}},  // no ventilator record
};
// clang-format on

class EnergyTab : public EnergyTest, public ::testing::WithParamInterface<Case>
{
};

TEST_P(EnergyTab, WritesTheCurrentWeightLines)
{
    const Case& c = GetParam();
    patient(c.sexCode, c.years);
    form->energyPage().medAltura = c.height;
    for (const Recorded& r : c.recorded)
        record(c.method, r.type, r.text);
    duBoisRate = 39.5;
    c.equation(*form, c.weight, Mode::Avaliacao);
    QStringList results;
    for (const StoredLine& s : stored) {
        EXPECT_EQ(s.method, c.method);
        results.append(s.line.value);
    }
    QStringList expected;
    for (const char* e : c.expected)
        expected.append(QString::fromUtf8(e));
    EXPECT_EQ(results, expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, EnergyTab, ::testing::ValuesIn(kCases));

TEST_F(EnergyTab, DuBoisAsksTheRateOfTheSexAndCodedAgeAndStopsWithoutOne)
{
    patient("0", 5, 3);
    form->energyPage().medAltura = "1,10";
    duBoisRate.reset();
    form->idealWeights.basalText = "x";
    Calcula_DuBois(*form, 20, Mode::PesoIdeal);
    const QJsonArray args = lastArgs("GetDuBois");
    EXPECT_EQ(args.at(0).toString(), "M");
    EXPECT_EQ(args.at(1).toString(), "40");
    EXPECT_DOUBLE_EQ(args.at(2).toDouble(), 5.03);
    EXPECT_EQ(form->idealWeights.basalText, "x");  // untouched
    Calcula_DuBois(*form, 20, Mode::Avaliacao);
    EXPECT_TRUE(stored.isEmpty());
}

TEST_F(EnergyTab, IretonJonesStopsOnAMissingFlagInOrder)
{
    struct Row
    {
        QList<Recorded> recorded;
        const char* message;
    };
    const Row rows[] = {
        {{{"31", "0"}, {"32", "0"}, {"29", "0"}}, "Obesidade deve ser informada."},
        {{{"30", "1"}, {"31", ""}, {"32", "0"}, {"29", "0"}}, "Trauma deve ser informado."},
        {{{"30", "1"}, {"31", "0"}, {"29", "0"}}, "Queimadura deve ser informada."},
    };
    for (const Row& row : rows) {
        forgetRecorded();
        for (const Recorded& r : row.recorded)
            record("34", r.type, r.text);
        hostfw::ErrorRecorder errors;
        EXPECT_THROW(Calcula_IretonJones(*form, 70, Mode::Avaliacao), hostfw::Abort);
        EXPECT_EQ(errors.messages(), QStringList{QString::fromUtf8(row.message)});
        EXPECT_TRUE(stored.isEmpty());
    }
}

TEST_F(EnergyTab, OgawaAndHalpernReadTheRecordedWeight)
{
    record("31", "01", "60");
    record("31", "34", "5");
    record("36", "01", "100");
    Calcula_PacienteHospital(*form);
    Calcula_PacienteObesos(*form);
    EXPECT_EQ(stored,
              QList<StoredLine>(
                  {{"31", "01", {"VCT Pacientes Hospitalizados", "1.800,000 - 2.100,000 Kcal/dia"}},
                   {"36", "01", {"VCT Paciente Obesos", "2.100,000 - 3.000,000"}}}));
    stored.clear();
    forgetRecorded();
    record("31", "01", "60");
    record("31", "34", "9");  // no such condition
    record("36", "01", "");
    Calcula_PacienteHospital(*form);
    Calcula_PacienteObesos(*form);
    EXPECT_TRUE(stored.isEmpty());
}

// Every code the user can pick has its number: the lists and the numbers stay aligned.
TEST(FactorTables, EveryCodeOfTheChoiceListsHasItsNumber)
{
    namespace C = records::choice_lists;
    const std::pair<const records::ChoiceList*, double (*)(const QString&)> lists[] = {
        {&C::cdsTrabFatorTer(), thermalFactor},
        {&C::cdsTrabAtivHarris(), harrisActivityFactor},
        {&C::cdsTrabAtivDuBois(), duBoisActivityKcal},
        {&C::cdsNaf(), nafCoefficient},
        {&C::cdsTrimestreLac(), lactationAddition},
        {&C::cdsTrabAtivRda(), [](const QString& c) { return rdaActivityFactor(c, "F"); }}};
    for (const auto& [list, number] : lists)
        for (const records::ChoiceRow& row : list->rows)
            EXPECT_GT(number(row.code), 0)
                << list->name.toStdString() << " " << row.code.toStdString();
    for (const records::ChoiceRow& row : C::cdsTrabPaciHosp().rows) {
        const std::optional<KcalPerKg> kcal = hospitalCondition(row.code);
        ASSERT_TRUE(kcal) << row.code.toStdString();
        EXPECT_EQ(QStringLiteral("%1-%2").arg(kcal->low).arg(kcal->high), row.value);
    }
}

}  // namespace
