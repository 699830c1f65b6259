// The body mass index family, method by method, against a recording fake server: the
// lines each routine writes, every band limit and rounding rule, the reference queries
// and the paths that write nothing. Expected values are worked out by hand in the
// comments.

#include "routine_fixture.h"

#include "anthropometry/bmi_family.h"
#include "anthropometry/gestational_bmi_table.h"
#include "hostfw/errors.h"
#include "records/layouts.h"
#include "records/packet_codec.h"

using namespace anthropometry;
using namespace anthropometrytest;

namespace {

const QString kAdequado = QStringLiteral("Adequado ou Eutrófico");

// Weight and height texts as the grid stores them.
using Grid = QList<std::pair<QString, QString>>;
Grid weightHeight(const QString& weight, const QString& height)
{
    return {{kPeso, weight}, {kAltura, height}};
}

class ImcTest : public RoutineTest
{
protected:
    // Runs a routine for its method row and returns that method's lines.
    QMap<QString, ResultLine> run(void (*routine)(Evaluation&), const QString& method,
                                  const QString& reference = {})
    {
        Evaluation ev = evaluation(method, reference);
        routine(ev);
        return lines(method);
    }
};

}  // namespace

// ------------------------------------------------------------------ "00" Calcula_IMC

TEST_F(ImcTest, Imc_HeightWithoutWeightWritesZeroBmiAndTheTheoreticalWeights)
{
    // 1,60 m: 2,56 m² x 18,5 = 47,36; x 21,7 = 55,552; x 24,9 = 63,744
    grid({{kAltura, "1,60"}});
    const auto l = run(Calcula_IMC, "00");
    ASSERT_EQ(l.size(), 5);
    EXPECT_EQ(l["01"], (ResultLine{"IMC Resultado", "0,000"}));
    EXPECT_EQ(l["02"], (ResultLine{"IMC Classificação", ""}));
    EXPECT_EQ(l["05"], (ResultLine{"IMC Peso teórico mínimo", "47,36 Kg"}));
    EXPECT_EQ(l["06"], (ResultLine{"IMC Peso teórico médio", "55,55 Kg"}));
    EXPECT_EQ(l["07"], (ResultLine{"IMC Peso teórico máximo", "63,74 Kg"}));
    EXPECT_FALSE(l.contains("03"));
    EXPECT_FALSE(l.contains("04"));
    EXPECT_EQ(callsOf("SetResuAval"), 5);  // each line written through
}

TEST_F(ImcTest, Imc_WeightAndHeight)
{
    // 70 / 1,75² = 70 / 3,0625 = 22,857142...; 3,0625 x 18,5 = 56,656 -> 56,66;
    // x 21,7 = 66,456 -> 66,46; x 24,9 = 76,256 -> 76,26
    grid(weightHeight("70", "1,75"));
    const auto l = run(Calcula_IMC, "00");
    EXPECT_EQ(l["01"].value, "22,857");
    EXPECT_EQ(l["02"].value, kAdequado);
    EXPECT_EQ(l["05"].value, "56,66 Kg");
    EXPECT_EQ(l["06"].value, "66,46 Kg");
    EXPECT_EQ(l["07"].value, "76,26 Kg");
}

TEST_F(ImcTest, Imc_NothingTypedStillWritesFiveLinesOfZeros)
{
    grid({});
    const auto l = run(Calcula_IMC, "00");
    ASSERT_EQ(l.size(), 5);
    EXPECT_EQ(l["01"].value, "0,000");
    EXPECT_EQ(l["02"].value, "");
    EXPECT_EQ(l["05"].value, "0,00 Kg");
    EXPECT_EQ(l["07"].value, "0,00 Kg");
}

TEST_F(ImcTest, Imc_WeightThatIsNotANumberFailsTheConversion)
{
    grid(weightHeight("7x", "1,75"));
    Evaluation ev = evaluation("00");
    EXPECT_THROW(Calcula_IMC(ev), hostfw::ConversionError);
    EXPECT_TRUE(lines("00").isEmpty());
}

// The adult bands at their exact limits and just under them, for every method that
// uses them. With a height of 1 m the BMI is the weight itself.
TEST_F(ImcTest, AdultBandsAtTheirLimits)
{
    struct Case
    {
        const char* weight;
        const char* expected;
    };
    const Case cases[] = {
        {"18,4994", "Baixo Peso"},
        {"18,5", "Adequado ou Eutrófico"},
        {"24,99", "Adequado ou Eutrófico"},
        {"25", "Sobrepeso"},
        {"29,99", "Sobrepeso"},
        {"30", "Obesidade"},
        {"45", "Obesidade"},
    };
    for (const Case& c : cases) {
        // "00": line "02" carries the classification
        form->cdsResuAval.clear();
        grid(weightHeight(c.weight, "1"));
        EXPECT_EQ(run(Calcula_IMC, "00")["02"].value, c.expected) << "00 " << c.weight;

        // "01": the same table, theoretical weights from the reference
        server.answer = [](const QString& method, const QJsonArray&) {
            if (method == "GetImcPesoTeorico")
                return records::Reply::success(records::encodePacket(
                    packetOf(records::layouts::cdsImcPesoTeorico(), {{21.7, 18.5, 24.9}})));
            return records::Reply::success(QJsonValue());
        };
        EXPECT_EQ(run(Calcula_IMC_Must, "01")["02"].value, c.expected) << "01 " << c.weight;

        // "18": weight equal to the weight before amputation gives the plain BMI
        grid({{kPeso, c.weight}, {kAltura, "1"}, {kPesoAntesAmputacao, c.weight}});
        EXPECT_EQ(run(Calcula_IMC_Amputado, "18")["02"].value, c.expected) << "18 " << c.weight;

        // "49": the classification is the line's description
        grid(weightHeight(c.weight, "1"));
        EXPECT_EQ(run(Calcula_IMCOms98, "49")["01"].label, c.expected) << "49 " << c.weight;
    }
}

// "00" compares the unrounded BMI, "49" the BMI rounded to three decimals:
// 24,9996 stays under 25 for "00" but rounds to 25,000 for "49".
TEST_F(ImcTest, RoundedAndUnroundedAdultComparisons)
{
    grid(weightHeight("24,9996", "1"));
    EXPECT_EQ(run(Calcula_IMC, "00")["02"].value, kAdequado);
    const auto oms = run(Calcula_IMCOms98, "49");
    EXPECT_EQ(oms["01"], (ResultLine{"Sobrepeso", "25,000"}));

    form->cdsResuAval.clear();
    grid(weightHeight("18,4996", "1"));  // rounds to 18,500
    EXPECT_EQ(run(Calcula_IMC, "00")["02"].value, "Baixo Peso");
    form->cdsResuAval.clear();
    EXPECT_EQ(run(Calcula_IMCOms98, "49")["01"].label, kAdequado);
}

// ------------------------------------------------------------- "01" Calcula_IMC_Must

TEST_F(ImcTest, ImcMust_TheoreticalWeightsFromTheReference)
{
    patient("0", 45, 7);  // a man of 45 years 7 months: coded age 45,07
    server.answer = [](const QString& method, const QJsonArray&) {
        if (method == "GetImcPesoTeorico")  // middle, minimum, maximum
            return records::Reply::success(records::encodePacket(
                packetOf(records::layouts::cdsImcPesoTeorico(), {{22.0, 20.0, 25.0}})));
        return records::Reply::success(QJsonValue());
    };
    // 80 / 1,80² = 80 / 3,24 = 24,691358...; 3,24 x 20 = 64,80; x 22 = 71,28; x 25 = 81,00
    grid(weightHeight("80", "1,80"));
    const auto l = run(Calcula_IMC_Must, "01", "03");

    ASSERT_EQ(callsOf("GetImcPesoTeorico"), 1);
    const QJsonArray args = lastArgs("GetImcPesoTeorico");
    EXPECT_EQ(args.at(0).toString(), "03");
    EXPECT_DOUBLE_EQ(args.at(1).toDouble(), 45.07);
    EXPECT_EQ(args.at(2).toString(), "M");

    ASSERT_EQ(l.size(), 5);
    EXPECT_EQ(l["01"], (ResultLine{"IMC Resultado", "24,691"}));
    EXPECT_EQ(l["02"], (ResultLine{"IMC Classificação", kAdequado}));
    EXPECT_EQ(l["05"], (ResultLine{"IMC Peso teórico mínimo", "64,80 Kg"}));
    EXPECT_EQ(l["06"], (ResultLine{"IMC Peso teórico médio", "71,28 Kg"}));
    EXPECT_EQ(l["07"], (ResultLine{"IMC Peso teórico máximo", "81,00 Kg"}));
}

TEST_F(ImcTest, ImcMust_WithoutHeightAsksNothingAndWritesZeros)
{
    grid({{kPeso, "80"}});
    const auto l = run(Calcula_IMC_Must, "01", "03");
    EXPECT_EQ(callsOf("GetImcPesoTeorico"), 0);
    EXPECT_EQ(l["01"].value, "0,000");
    EXPECT_EQ(l["05"].value, "0,00 Kg");
}

TEST_F(ImcTest, ImcMust_ReferenceWithoutRowGivesZeroWeights)
{
    server.answer = [](const QString& method, const QJsonArray&) {
        if (method == "GetImcPesoTeorico")
            return records::Reply::success(
                records::encodePacket(packetOf(records::layouts::cdsImcPesoTeorico(), {})));
        return records::Reply::success(QJsonValue());
    };
    grid(weightHeight("80", "1,80"));
    const auto l = run(Calcula_IMC_Must, "01", "03");
    EXPECT_EQ(l["01"].value, "24,691");
    EXPECT_EQ(l["06"].value, "0,00 Kg");
}

TEST_F(ImcTest, ImcMust_FailedReferenceQueryEndsWithTheServersError)
{
    server.answer = [](const QString& method, const QJsonArray&) {
        if (method == "GetImcPesoTeorico")
            return records::Reply::failure("Tabela de peso teórico indisponível");
        return records::Reply::success(QJsonValue());
    };
    grid(weightHeight("80", "1,80"));
    Evaluation ev = evaluation("01", "03");
    try {
        Calcula_IMC_Must(ev);
        FAIL() << "a failed reply went unnoticed";
    } catch (const hostfw::ServerError& e) {
        EXPECT_EQ(e.message(), "Tabela de peso teórico indisponível");
    }
    EXPECT_TRUE(lines("01").isEmpty());
}

// --------------------------------------------------------- "18" Calcula_IMC_Amputado

TEST_F(ImcTest, ImcAmputado_CorrectsForTheWeightKept)
{
    // F = 1 - (75 - 60) / 75 = 0,8; BMI = 60 / (1,5² x 0,8) = 60 / 1,8 = 33,333...
    grid({{kPeso, "60"}, {kAltura, "1,5"}, {kPesoAntesAmputacao, "75"}});
    const auto l = run(Calcula_IMC_Amputado, "18");
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(l["01"], (ResultLine{"IMC Amputado - Resultado", "33,333"}));
    EXPECT_EQ(l["02"], (ResultLine{"IMC Amputado - Classificação", "Obesidade"}));
}

TEST_F(ImcTest, ImcAmputado_SameWeightGivesThePlainBmi)
{
    // 70 / 1,75² = 22,857
    grid({{kPeso, "70"}, {kAltura, "1,75"}, {kPesoAntesAmputacao, "70"}});
    EXPECT_EQ(run(Calcula_IMC_Amputado, "18")["01"].value, "22,857");
}

TEST_F(ImcTest, ImcAmputado_AnyMissingValueWritesNothing)
{
    const Grid grids[] = {
        {{kPeso, "60"}, {kAltura, "1,5"}},                              // no weight before
        {{kPeso, "60"}, {kAltura, "1,5"}, {kPesoAntesAmputacao, ""}},   // empty
        {{kPeso, "60"}, {kAltura, "1,5"}, {kPesoAntesAmputacao, "0"}},  // zero
        {{kAltura, "1,5"}, {kPesoAntesAmputacao, "75"}},                // no weight
        {{kPeso, "60"}, {kPesoAntesAmputacao, "75"}},                   // no height
    };
    for (const Grid& g : grids) {
        grid(g);
        EXPECT_TRUE(run(Calcula_IMC_Amputado, "18").isEmpty());
    }
    EXPECT_EQ(callsOf("SetResuAval"), 0);
}

// ------------------------------------------------------ "48" Calcula_IMCAdolescente

namespace {

// A reference of BMI percentiles for adolescents.
const QList<PercentileRow> kAdolescentReference = {
    {"005", "P5", 15.0},  {"015", "P15", 16.0}, {"050", "P50", 18.0},
    {"085", "P85", 22.0}, {"095", "P95", 25.0},
};

class ImcAdolescente : public ImcTest
{
protected:
    void SetUp() override
    {
        ImcTest::SetUp();
        patient("0", 14, 3);
        server.answer = [this](const QString& method, const QJsonArray& args) {
            if (method == "GetPercentil")
                return records::Reply::success(percentilePayload(reference, args.at(5).toDouble()));
            return records::Reply::success(QJsonValue());
        };
    }
    QList<PercentileRow> reference = kAdolescentReference;
};

}  // namespace

TEST_F(ImcAdolescente, QueriesThePercentileWithTheBmi)
{
    // 45 / 1,60² = 45 / 2,56 = 17,578125: between P15 and P50, code "015"
    grid(weightHeight("45", "1,60"));
    const auto l = run(Calcula_IMCAdolescente, "48", "02");
    const QJsonArray args = lastArgs("GetPercentil");
    ASSERT_EQ(args.size(), 6);
    EXPECT_EQ(args.at(0).toString(), "02");
    EXPECT_EQ(args.at(1).toString(), "48");
    EXPECT_DOUBLE_EQ(args.at(2).toDouble(), 14.03);
    EXPECT_EQ(args.at(3).toString(), "M");
    EXPECT_EQ(args.at(4).toString(), "02");
    EXPECT_DOUBLE_EQ(args.at(5).toDouble(), 45.0 / 2.56);
    ASSERT_EQ(l.size(), 1);
    // "Percentil", " ", "Entre " and " 5 - 85": two blanks before the 5
    EXPECT_EQ(l["01"], (ResultLine{"Percentil Entre  5 - 85", kAdequado}));
}

TEST_F(ImcAdolescente, ClassifiesByPercentileCode)
{
    struct Case
    {
        double bmi;  // the weight over a height of 1 m
        ResultLine expected;
    };
    const Case cases[] = {
        {14.0, {"Percentil < 5", "Baixo Peso"}},         // under P5: "001"
        {15.0, {"Percentil 5", kAdequado}},              // at P5: "005"
        {15.5, {"Percentil 5", kAdequado}},              // P5 to P15 carries "005"
        {16.0, {"Percentil Entre  5 - 85", kAdequado}},  // "015"
        {21.9, {"Percentil Entre  5 - 85", kAdequado}},  // "050"
        {22.0, {"Percentil > 85", "Sobrepeso"}},         // at P85: "085"
        {25.0, {"Percentil > 85", "Sobrepeso"}},         // at the last: "095"
        {30.0, {"Percentil > 85", "Sobrepeso"}},         // over the last: "999"
    };
    for (const Case& c : cases) {
        form->cdsResuAval.clear();
        grid(weightHeight(QString::number(c.bmi).replace('.', ','), "1"));
        EXPECT_EQ(run(Calcula_IMCAdolescente, "48", "02")["01"], c.expected) << c.bmi;
    }
}

TEST_F(ImcAdolescente, UndeterminedSexWritesNoClassificationAndCallsNoServer)
{
    for (const char* sexCode : {"2", "3"}) {  // "D" and "I"
        patient(sexCode, 14);
        form->cdsResuAval.clear();
        server.calls.clear();
        grid(weightHeight("45", "1,60"));
        const auto l = run(Calcula_IMCAdolescente, "48", "02");
        EXPECT_EQ(l["01"], (ResultLine{"Sem classificação", ""})) << sexCode;
        EXPECT_EQ(callsOf("GetPercentil"), 0) << sexCode;
    }
}

TEST_F(ImcAdolescente, ReferenceWithoutRowsWritesNoClassificationInReference)
{
    reference.clear();
    grid(weightHeight("45", "1,60"));
    const auto l = run(Calcula_IMCAdolescente, "48", "09");
    EXPECT_EQ(l["01"], (ResultLine{"Sem classificação na referência informada.", ""}));
}

TEST_F(ImcAdolescente, MissingOrZeroMeasuresWriteNothingAndAskNothing)
{
    for (const Grid& g : {Grid{{kAltura, "1,60"}}, Grid{{kPeso, "45"}}, weightHeight("0", "1,60"),
                          weightHeight("45", "")}) {
        grid(g);
        EXPECT_TRUE(run(Calcula_IMCAdolescente, "48", "02").isEmpty());
    }
    EXPECT_EQ(callsOf("GetPercentil"), 0);
}

// ------------------------------------------------------------ "49" Calcula_IMCOms98

TEST_F(ImcTest, ImcOms98_OneLineWithTheClassificationAsDescription)
{
    grid(weightHeight("70", "1,75"));
    const auto l = run(Calcula_IMCOms98, "49");
    ASSERT_EQ(l.size(), 1);
    EXPECT_EQ(l["01"], (ResultLine{kAdequado, "22,857"}));
}

TEST_F(ImcTest, ImcOms98_MissingOrNonPositiveMeasuresWriteNothing)
{
    for (const Grid& g :
         {Grid{{kAltura, "1,75"}}, weightHeight("70", "0"), weightHeight("-70", "1,75"), Grid{}}) {
        grid(g);
        EXPECT_TRUE(run(Calcula_IMCOms98, "49").isEmpty());
    }
}

// ------------------------------------------------------------ "67" Calcula_IMCIdoso

TEST_F(ImcTest, ImcIdoso_RoundedLowLimitUnroundedHighLimit)
{
    struct Case
    {
        const char* weight;  // over 1 m: the BMI
        const char* label;
        const char* value;
    };
    const Case cases[] = {
        {"21,9", "Baixo Peso", "21,900"},
        {"22", "Baixo Peso", "22,000"},
        {"22,0004", "Baixo Peso", "22,000"},             // rounds to 22,000
        {"22,0005", "Adequado ou Eutrófico", "22,001"},  // rounds to 22,001
        {"26,9996", "Adequado ou Eutrófico", "27,000"},  // rounds to 27,000, is under 27
        {"27", "Sobrepeso", "27,000"},
        {"35", "Sobrepeso", "35,000"},
    };
    for (const Case& c : cases) {
        form->cdsResuAval.clear();
        grid(weightHeight(c.weight, "1"));
        const auto l = run(Calcula_IMCIdoso, "67");
        ASSERT_EQ(l.size(), 1) << c.weight;
        EXPECT_EQ(l["01"], (ResultLine{c.label, c.value})) << c.weight;
    }
}

TEST_F(ImcTest, ImcIdoso_MissingMeasuresWriteNothing)
{
    grid({{kPeso, "70"}});
    EXPECT_TRUE(run(Calcula_IMCIdoso, "67").isEmpty());
}

// --------------------------------------------------------- "68" Calcula_IMCGestante

TEST_F(ImcTest, ImcGestante_WeeksOutsideTheTableHaveNoClassification)
{
    for (const char* week : {"5", "43", "0"}) {
        form->cdsResuAval.clear();
        grid({{kPeso, "60"}, {kAltura, "1,60"}, {kSemanaGestacional, week}});
        const auto l = run(Calcula_IMCGestante, "68");
        ASSERT_EQ(l.size(), 1) << week;
        EXPECT_EQ(l["01"], (ResultLine{"Sem classificação", ""})) << week;
    }
}

TEST_F(ImcTest, ImcGestante_BandsOfTheWeekOnTheRoundedBmi)
{
    struct Case
    {
        const char* week;
        const char* weight;  // over 1 m: the BMI
        const char* label;
        const char* value;  // the unrounded BMI with three decimals
    };
    const Case cases[] = {
        {"6", "19,9", "Baixo Peso", "19,900"},
        {"6", "19,95", "", "19,950"},            // between 19,9 and 20,0: no band
        {"6", "19,9996", "Adequado", "20,000"},  // rounds to 20,000
        {"6", "20", "Adequado", "20,000"},
        {"6", "24,9", "Adequado", "24,900"},
        {"6", "24,95", "", "24,950"},  // between 24,9 and 25,0: no band
        {"6", "25", "Sobrepeso", "25,000"},
        {"6", "30", "Sobrepeso", "30,000"},
        {"6", "30,05", "", "30,050"},  // between 30,0 and 30,1
        {"6", "30,1", "Obesidade", "30,100"},
        {"7", "20", "Adequado", "20,000"},  // week 7 uses week 6 (week 8: low)
        {"7", "19,95", "", "19,950"},
        {"8", "20", "Baixo Peso", "20,000"},
        {"9", "20,15", "", "20,150"},   // week 9 uses week 8: 20,1 | 20,2
        {"12", "30,35", "", "30,350"},  // 30,3 | 30,4
        {"12", "30,4", "Obesidade", "30,400"},
        {"40", "25", "Adequado", "25,000"},
        {"42", "33,3", "Obesidade", "33,300"},
        {"42", "25", "Baixo Peso", "25,000"},
    };
    for (const Case& c : cases) {
        form->cdsResuAval.clear();
        grid({{kPeso, c.weight}, {kAltura, "1"}, {kSemanaGestacional, c.week}});
        const auto l = run(Calcula_IMCGestante, "68");
        ASSERT_EQ(l.size(), 1) << c.week << " " << c.weight;
        EXPECT_EQ(l["01"], (ResultLine{c.label, c.value})) << c.week << " " << c.weight;
    }
}

TEST_F(ImcTest, ImcGestante_RealisticPatient)
{
    // 62 / 1,58² = 62 / 2,4964 = 24,835763...; rounded 24,836; week 20: 21,6 to 26,3
    grid({{kPeso, "62"}, {kAltura, "1,58"}, {kSemanaGestacional, "20"}});
    EXPECT_EQ(run(Calcula_IMCGestante, "68")["01"], (ResultLine{"Adequado", "24,836"}));
}

TEST_F(ImcTest, ImcGestante_MissingValuesWriteNothingAndBadWeeksFail)
{
    for (const Grid& g : {Grid{{kPeso, "60"}, {kAltura, "1,60"}},
                          Grid{{kPeso, "60"}, {kAltura, "1,60"}, {kSemanaGestacional, ""}},
                          Grid{{kAltura, "1,60"}, {kSemanaGestacional, "20"}},
                          Grid{{kPeso, "60"}, {kAltura, "0"}, {kSemanaGestacional, "20"}}}) {
        grid(g);
        EXPECT_TRUE(run(Calcula_IMCGestante, "68").isEmpty());
    }
    for (const char* week : {"20,5", "vinte"}) {
        grid({{kPeso, "60"}, {kAltura, "1,60"}, {kSemanaGestacional, week}});
        Evaluation ev = evaluation("68");
        EXPECT_THROW(Calcula_IMCGestante(ev), hostfw::ConversionError) << week;
    }
    EXPECT_EQ(callsOf("SetResuAval"), 0);
}

TEST(GestationalTable, ThirtySevenOrderedWeeksWithOrderedLimits)
{
    ASSERT_EQ(astImcGestante.size(), 37u);
    for (int week = kFirstGestationalWeek; week <= kLastGestationalWeek; ++week) {
        const auto bands = gestationalBands(week);
        ASSERT_TRUE(bands) << week;
        EXPECT_EQ(bands->week, week);
        // each limit one tenth above the previous band's end, bands increasing
        EXPECT_NEAR(bands->adequateFrom - bands->lowTo, 0.1, 1e-9) << week;
        EXPECT_NEAR(bands->overweightFrom - bands->adequateTo, 0.1, 1e-9) << week;
        EXPECT_NEAR(bands->obeseFrom - bands->overweightTo, 0.1, 1e-9) << week;
        EXPECT_LT(bands->adequateFrom, bands->adequateTo);
        EXPECT_LT(bands->overweightFrom, bands->overweightTo);
    }
    EXPECT_FALSE(gestationalBands(5));
    EXPECT_FALSE(gestationalBands(43));
    EXPECT_EQ(QString::fromLatin1(astImcGestante[0]), "06_19.9_20.0_24.9_25.0_30.0_30.1");
    EXPECT_EQ(QString::fromLatin1(astImcGestante[1]).mid(2),
              QString::fromLatin1(astImcGestante[0]).mid(2));
    EXPECT_EQ(QString::fromLatin1(astImcGestante[3]).mid(2),
              QString::fromLatin1(astImcGestante[2]).mid(2));
    EXPECT_THROW(parseGestationalRow("06_19.9_20.0_24.9_25.0_30.0"), records::Error);
    EXPECT_THROW(parseGestationalRow("06_19,9_20.0_24.9_25.0_30.0_30.1"), records::Error);
}
