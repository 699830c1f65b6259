// The energy methods of the assessment tab: their line for measures worked out on paper,
// the FAO age bands at their limits, the sex test and the inputs that write nothing.

#include "routine_fixture.h"

#include "anthropometry/assessment_pass.h"
#include "energy/basal_rate_family.h"

using namespace anthropometrytest;
using namespace energy;

namespace {

using Routine = void (*)(anthropometry::Evaluation&);

struct Case
{
    const char* sexCode;  // "0" M, "1" F, "2" D, "3" I
    int years;
    int months;
    const char* method;
    Routine routine;
    QList<std::pair<QString, QString>> grid;
    QList<ResultLine> expected;  // line "01", when written
};

const QString kNoClass = QStringLiteral("Sem classificação");
ResultLine value(const char* text)
{
    return {QString(), QString::fromUtf8(text)};
}
const QList<std::pair<QString, QString>> kMan70 = {{"01", "70"}, {"02", "1,75"}};
const QList<std::pair<QString, QString>> kWoman60 = {{"01", "60"}, {"02", "1,60"}};

// clang-format off
const Case kCases[] = {
    // Harris-Benedict 1919: 66,47 + 962,5 + 875 - 202,8; 655,1 + 573,6 + 296 - 140,4
    {"0", 30, 0, "61", Calcula_TMB_HB1919, kMan70, {value("1.701,170")}},
    {"1", 30, 0, "61", Calcula_TMB_HB1919, kWoman60, {value("1.384,300")}},
    {"3", 30, 0, "61", Calcula_TMB_HB1919, kWoman60, {{kNoClass, ""}}},
    {"0", 30, 0, "61", Calcula_TMB_HB1919, {{"01", "70"}, {"02", ""}}, {}},  // height on the grid but empty
    {"0", 30, 0, "61", Calcula_TMB_HB1919, {{"01", "70"}}, {}},              // no height: 0
    // FAO: each band ends at its coded age (men, 20 kg)
    {"0", 3, 0, "62", Calcula_TMB_FAO, {{"01", "20"}}, {value("1.164,000")}},  // 60,9 x 20 - 54
    {"0", 3, 1, "62", Calcula_TMB_FAO, {{"01", "20"}}, {value("949,000")}},    // 22,7 x 20 + 495
    {"0", 18, 0, "62", Calcula_TMB_FAO, {{"01", "20"}}, {value("1.001,000")}},  // 17,5 x 20 + 651
    {"0", 30, 0, "62", Calcula_TMB_FAO, {{"01", "20"}}, {value("985,000")}},    // 15,3 x 20 + 679
    {"0", 60, 0, "62", Calcula_TMB_FAO, {{"01", "20"}}, {value("1.111,000")}},  // 11,6 x 20 + 879
    {"0", 60, 1, "62", Calcula_TMB_FAO, {{"01", "20"}}, {value("757,000")}},    // 13,5 x 20 + 487
    {"1", 30, 0, "62", Calcula_TMB_FAO, {{"01", "60"}}, {value("1.378,000")}},  // 14,7 x 60 + 496
    {"2", 30, 0, "62", Calcula_TMB_FAO, {{"01", "60"}}, {{kNoClass, ""}}},
    {"0", 30, 0, "62", Calcula_TMB_FAO, {{"01", "0"}}, {}},
    // EER: 662 - 285,9 + 1,11 x (1113,7 + 944,3)
    {"0", 30, 0, "64", Calcula_EER, kMan70 + QList<std::pair<QString, QString>>{{"51", "3"}}, {value("2.660,480  Kcal/dia")}},
    {"1", 30, 0, "64", Calcula_EER, kWoman60 + QList<std::pair<QString, QString>>{{"51", "4"}}, {value("1.869,900  Kcal/dia")}},  // 354 - 207,3 + 561,6 + 1161,6
    {"0", 30, 0, "64", Calcula_EER, kMan70 + QList<std::pair<QString, QString>>{{"51", "9"}}, {value("376,100  Kcal/dia")}},  // no such level: PA 0
    {"3", 30, 0, "64", Calcula_EER, kMan70 + QList<std::pair<QString, QString>>{{"51", "3"}}, {{kNoClass, ""}}},
    {"0", 30, 0, "64", Calcula_EER, kMan70, {}},  // no activity level recorded
    // pregnancy and lactation: the woman's EER plus the addition, whatever the sex letter
    {"3", 30, 0, "65", Calcula_EERGest, kWoman60 + QList<std::pair<QString, QString>>{{"26", "2"}, {"51", "4"}}, {value("2.209,900  Kcal/dia")}},
    {"1", 30, 0, "65", Calcula_EERGest, kWoman60 + QList<std::pair<QString, QString>>{{"26", ""}, {"51", "4"}}, {}},
    {"1", 30, 0, "66", Calcula_EERLac, kWoman60 + QList<std::pair<QString, QString>>{{"52", "1"}, {"51", "4"}}, {value("2.199,900  Kcal/dia")}},
    {"1", 30, 0, "66", Calcula_EERLac, kWoman60 + QList<std::pair<QString, QString>>{{"51", "4"}}, {}},  // no lactation period recorded
};
// clang-format on

class BasalRateFamily : public RoutineTest, public ::testing::WithParamInterface<Case>
{
};

TEST_P(BasalRateFamily, WritesItsLine)
{
    const Case& c = GetParam();
    patient(c.sexCode, c.years, c.months);
    grid(c.grid);
    anthropometry::Evaluation ev = evaluation(c.method);
    c.routine(ev);
    const QMap<QString, ResultLine> written = lines(c.method);
    EXPECT_EQ(written.values(), c.expected);
    if (!written.isEmpty()) {
        EXPECT_EQ(written.firstKey(), "01");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, BasalRateFamily, ::testing::ValuesIn(kCases));

TEST(BasalRateDispatch, TheAssessmentPassRunsThemOnceAdded)
{
    anthropometry::AssessmentPass pass;
    EXPECT_EQ(pass.routineOf("64"), nullptr);
    pass.addRoutines(assessmentTabDispatch());
    EXPECT_EQ(pass.routineOf("64"), &Calcula_EER);
    EXPECT_EQ(pass.routineOf("00"), anthropometry::anthropometricRoutine("00"));
    EXPECT_EQ(pass.routineOf("30"), nullptr);  // an energy tab method
}

}  // namespace
