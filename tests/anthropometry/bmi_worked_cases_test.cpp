// The body mass index family on measures as a dietitian types them (heights such as
// 1,57 m, 1,60 m or 1,70 m), worked out on paper with exact decimals. Many of these land
// exactly on a band limit or on a half of the last shown digit, where binary floating
// point would put the quotient a hair's breadth on the wrong side (64 / 1,60² is
// 24,999999999999996 in a double, 1,70² x 18,5 is 53,464999999999996).

#include "routine_fixture.h"

#include "anthropometry/bmi_family.h"
#include "records/layouts.h"
#include "records/packet_codec.h"

using namespace anthropometry;
using namespace anthropometrytest;

namespace {

const QString kAdequado = QStringLiteral("Adequado ou Eutrófico");

using Grid = QList<std::pair<QString, QString>>;

class WorkedCase : public RoutineTest
{
protected:
    QMap<QString, ResultLine> run(void (*routine)(Evaluation&), const QString& method,
                                  const Grid& values, const QString& reference = {})
    {
        form->cdsResuAval.clear();
        grid(values);
        Evaluation ev = evaluation(method, reference);
        routine(ev);
        return lines(method);
    }

    // GetImcPesoTeorico answers one row: middle, minimum, maximum (the layout's order).
    void theoreticalBmis(double minimum, double middle, double maximum)
    {
        server.answer = [=](const QString& method, const QJsonArray&) {
            if (method == "GetImcPesoTeorico")
                return records::Reply::success(records::encodePacket(
                    packetOf(records::layouts::cdsImcPesoTeorico(), {{middle, minimum, maximum}})));
            return records::Reply::success(QJsonValue());
        };
    }

    // GetPercentil answers from these rows.
    void percentiles(const QList<PercentileRow>& rows)
    {
        server.answer = [rows](const QString& method, const QJsonArray& args) {
            if (method == "GetPercentil")
                return records::Reply::success(percentilePayload(rows, args.at(5).toDouble()));
            return records::Reply::success(QJsonValue());
        };
    }
};

Grid measures(const QString& weight, const QString& height)
{
    return {{kPeso, weight}, {kAltura, height}};
}

}  // namespace

// ------------------------------------------------------------------ "00" Calcula_IMC

TEST_F(WorkedCase, Imc_BandLimitsReachedWithRealHeights)
{
    // 64 / 2,56 = 25 exactly; 2,56 x 18,5 = 47,36; x 21,7 = 55,552; x 24,9 = 63,744
    auto l = run(Calcula_IMC, "00", measures("64", "1,60"));
    EXPECT_EQ(l["01"], (ResultLine{"IMC Resultado", "25,000"}));
    EXPECT_EQ(l["02"], (ResultLine{"IMC Classificação", "Sobrepeso"}));
    EXPECT_EQ(l["05"].value, "47,36 Kg");
    EXPECT_EQ(l["06"].value, "55,55 Kg");
    EXPECT_EQ(l["07"].value, "63,74 Kg");

    // 47,36 / 2,56 = 18,5 exactly
    l = run(Calcula_IMC, "00", measures("47,36", "1,60"));
    EXPECT_EQ(l["01"].value, "18,500");
    EXPECT_EQ(l["02"].value, kAdequado);

    // 76,8 / 2,56 = 30 exactly
    l = run(Calcula_IMC, "00", measures("76,8", "1,60"));
    EXPECT_EQ(l["01"].value, "30,000");
    EXPECT_EQ(l["02"].value, "Obesidade");
}

TEST_F(WorkedCase, Imc_UnroundedBmiJustUnderTheLimitIsShownRounded)
{
    // 45,6 / 1,57² = 45,6 / 2,4649 = 18,499736...: shown 18,500 but compared unrounded.
    // 2,4649 x 18,5 = 45,60065; x 21,7 = 53,48833; x 24,9 = 61,37601
    const auto l = run(Calcula_IMC, "00", measures("45,6", "1,57"));
    ASSERT_EQ(l.size(), 5);
    EXPECT_EQ(l["01"], (ResultLine{"IMC Resultado", "18,500"}));
    EXPECT_EQ(l["02"], (ResultLine{"IMC Classificação", "Baixo Peso"}));
    EXPECT_EQ(l["05"], (ResultLine{"IMC Peso teórico mínimo", "45,60 Kg"}));
    EXPECT_EQ(l["06"], (ResultLine{"IMC Peso teórico médio", "53,49 Kg"}));
    EXPECT_EQ(l["07"], (ResultLine{"IMC Peso teórico máximo", "61,38 Kg"}));
}

TEST_F(WorkedCase, Imc_TheoreticalWeightsEndingInAHalfRoundUp)
{
    // 1,50² = 2,25: x 18,5 = 41,625; x 21,7 = 48,825; x 24,9 = 56,025
    auto l = run(Calcula_IMC, "00", {{kAltura, "1,50"}});
    EXPECT_EQ(l["01"].value, "0,000");
    EXPECT_EQ(l["02"].value, "");
    EXPECT_EQ(l["05"].value, "41,63 Kg");
    EXPECT_EQ(l["06"].value, "48,83 Kg");
    EXPECT_EQ(l["07"].value, "56,03 Kg");

    // 1,70² = 2,89: x 18,5 = 53,465; x 21,7 = 62,713; x 24,9 = 71,961;
    // 86,7 / 2,89 = 30 exactly
    l = run(Calcula_IMC, "00", measures("86,7", "1,70"));
    EXPECT_EQ(l["01"].value, "30,000");
    EXPECT_EQ(l["02"].value, "Obesidade");
    EXPECT_EQ(l["05"].value, "53,47 Kg");
    EXPECT_EQ(l["06"].value, "62,71 Kg");
    EXPECT_EQ(l["07"].value, "71,96 Kg");
}

TEST_F(WorkedCase, Imc_LargeNumbersGroupThousands)
{
    // The patterns "#,##0.000" and "#,##0.00" group the thousands with a point.
    // Height 10 m (100 m²): 2500 / 100 = 25; 100 x 18,5 = 1850; x 21,7 = 2170; x 24,9 = 2490
    const auto l = run(Calcula_IMC, "00", measures("2500", "10"));
    EXPECT_EQ(l["01"].value, "25,000");
    EXPECT_EQ(l["05"].value, "1.850,00 Kg");
    EXPECT_EQ(l["06"].value, "2.170,00 Kg");
    EXPECT_EQ(l["07"].value, "2.490,00 Kg");
    const auto big = run(Calcula_IMC, "00", measures("1234,5", "1"));
    EXPECT_EQ(big["01"].value, "1.234,500");
}

// ------------------------------------------------------------- "01" Calcula_IMC_Must

TEST_F(WorkedCase, ImcMust_ReferenceBmisTimesTheSquaredHeight)
{
    // a man of 45: P15 21,72, P50 25,55, P85 29,39. 2,56 x 21,72 = 55,6032;
    // x 25,55 = 65,408; x 29,39 = 75,2384; 64 / 2,56 = 25 exactly
    patient("0", 45, 10);  // coded age 45,10
    theoreticalBmis(21.72, 25.55, 29.39);
    const auto l = run(Calcula_IMC_Must, "01", measures("64", "1,60"), "01");
    ASSERT_EQ(l.size(), 5);
    EXPECT_EQ(l["01"], (ResultLine{"IMC Resultado", "25,000"}));
    EXPECT_EQ(l["02"], (ResultLine{"IMC Classificação", "Sobrepeso"}));
    EXPECT_EQ(l["05"], (ResultLine{"IMC Peso teórico mínimo", "55,60 Kg"}));
    EXPECT_EQ(l["06"], (ResultLine{"IMC Peso teórico médio", "65,41 Kg"}));
    EXPECT_EQ(l["07"], (ResultLine{"IMC Peso teórico máximo", "75,24 Kg"}));
    const QJsonArray args = lastArgs("GetImcPesoTeorico");
    ASSERT_EQ(args.size(), 3);
    EXPECT_EQ(args.at(0).toString(), "01");
    EXPECT_DOUBLE_EQ(args.at(1).toDouble(), 45.10);
    EXPECT_EQ(args.at(2).toString(), "M");
}

TEST_F(WorkedCase, ImcMust_UndeterminedSexStillAsksAndGetsNoWeights)
{
    // The routine passes the letter as it is; the reference has no row for "I", so the
    // weights are 0 while the BMI and its class stand: 47,36 / 2,56 = 18,5
    patient("3", 52);
    server.answer = [](const QString& method, const QJsonArray&) {
        if (method == "GetImcPesoTeorico")
            return records::Reply::success(
                records::encodePacket(packetOf(records::layouts::cdsImcPesoTeorico(), {})));
        return records::Reply::success(QJsonValue());
    };
    const auto l = run(Calcula_IMC_Must, "01", measures("47,36", "1,60"), "01");
    EXPECT_EQ(lastArgs("GetImcPesoTeorico").at(2).toString(), "I");
    EXPECT_EQ(l["01"].value, "18,500");
    EXPECT_EQ(l["02"].value, kAdequado);
    EXPECT_EQ(l["05"].value, "0,00 Kg");
    EXPECT_EQ(l["06"].value, "0,00 Kg");
    EXPECT_EQ(l["07"].value, "0,00 Kg");
}

// --------------------------------------------------------- "18" Calcula_IMC_Amputado

TEST_F(WorkedCase, ImcAmputado_HandWorked)
{
    // 56,25 kg before, 45 now, 1,50 m: F = 1 - 11,25 / 56,25 = 0,8;
    // BMI = 45 / (2,25 x 0,8) = 45 / 1,8 = 25 exactly
    auto l = run(Calcula_IMC_Amputado, "18",
                 {{kPeso, "45"}, {kAltura, "1,50"}, {kPesoAntesAmputacao, "56,25"}});
    EXPECT_EQ(l["01"], (ResultLine{"IMC Amputado - Resultado", "25,000"}));
    EXPECT_EQ(l["02"], (ResultLine{"IMC Amputado - Classificação", "Sobrepeso"}));

    // 41,625 before, 33,3 now: F = 1 - 8,325 / 41,625 = 0,8; 33,3 / 1,8 = 18,5
    l = run(Calcula_IMC_Amputado, "18",
            {{kPeso, "33,3"}, {kAltura, "1,50"}, {kPesoAntesAmputacao, "41,625"}});
    EXPECT_EQ(l["01"].value, "18,500");
    EXPECT_EQ(l["02"].value, kAdequado);

    // unrounded: 45,6 / 2,4649 = 18,49974 is under 18,5 though shown 18,500
    l = run(Calcula_IMC_Amputado, "18",
            {{kPeso, "45,6"}, {kAltura, "1,57"}, {kPesoAntesAmputacao, "45,6"}});
    EXPECT_EQ(l["01"].value, "18,500");
    EXPECT_EQ(l["02"].value, "Baixo Peso");

    // a weight above the one before (F = 1 + 10 / 70 = 8/7): 80 / (3,0625 x 8/7)
    // = 70 / 3,0625 = 22,857142...
    l = run(Calcula_IMC_Amputado, "18",
            {{kPeso, "80"}, {kAltura, "1,75"}, {kPesoAntesAmputacao, "70"}});
    EXPECT_EQ(l["01"].value, "22,857");
    EXPECT_EQ(l["02"].value, kAdequado);
}

// ------------------------------------------------------ "48" Calcula_IMCAdolescente

TEST_F(WorkedCase, ImcAdolescente_BmiOnAPercentileValueTakesThatPercentile)
{
    // 64 / 2,56 = 25, the value of P85: the percentile at or below is P85 ("085")
    patient("1", 12, 11);  // a girl of 12 years 11 months: coded age 12,11
    percentiles({{"005", "P5", 15.0},
                 {"015", "P15", 16.5},
                 {"050", "P50", 19.0},
                 {"085", "P85", 25.0},
                 {"095", "P95", 28.0}});
    const auto l = run(Calcula_IMCAdolescente, "48", measures("64", "1,60"), "01");
    EXPECT_EQ(l["01"], (ResultLine{"Percentil > 85", "Sobrepeso"}));
    const QJsonArray args = lastArgs("GetPercentil");
    EXPECT_DOUBLE_EQ(args.at(2).toDouble(), 12.11);
    EXPECT_EQ(args.at(3).toString(), "F");
    EXPECT_EQ(args.at(5).toDouble(), 25.0);  // the BMI itself, exactly

    // 47,36 / 2,56 = 18,5: between P15 and P50
    EXPECT_EQ(run(Calcula_IMCAdolescente, "48", measures("47,36", "1,60"), "01")["01"],
              (ResultLine{"Percentil Entre  5 - 85", kAdequado}));
}

TEST_F(WorkedCase, ImcAdolescente_ReferenceStartingAtTheThirdPercentile)
{
    // P3 13,96673, P5 14,21866, P10 14,64260, P85 19,39041 (a boy of 10 in CDC 2000).
    // Height 1,40 m (1,96 m²).
    patient("0", 10);
    percentiles({{"003", "P3", 13.96673109},
                 {"005", "P5", 14.21865508},
                 {"010", "P10", 14.64260311},
                 {"050", "P50", 16.64613844},
                 {"085", "P85", 19.3904113},
                 {"097", "P97", 23.72696086}});
    struct Case
    {
        const char* weight;
        ResultLine expected;
    };
    const Case cases[] = {
        {"27", {"Percentil < 5", "Baixo Peso"}},         // 13,7755: under P3
        {"27,5", {"Percentil < 5", "Baixo Peso"}},       // 14,0306: P3 to P5
        {"27,9", {"Percentil 5", kAdequado}},            // 14,2347: P5 to P10
        {"38", {"Percentil Entre  5 - 85", kAdequado}},  // 19,3878: under P85
        {"38,01", {"Percentil > 85", "Sobrepeso"}},      // 19,3929: over P85
        {"47", {"Percentil > 85", "Sobrepeso"}},         // 23,9796: over P97
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(Calcula_IMCAdolescente, "48", measures(c.weight, "1,40"), "03")["01"],
                  c.expected)
            << c.weight;
}

// ------------------------------------------------------------ "49" Calcula_IMCOms98

TEST_F(WorkedCase, ImcOms98_RoundedBmiWithRealHeights)
{
    struct Case
    {
        const char* weight;
        const char* height;
        ResultLine expected;
    };
    const Case cases[] = {
        {"45,6", "1,57", {kAdequado, "18,500"}},    // 18,49974 rounds to 18,500
        {"47,36", "1,60", {kAdequado, "18,500"}},   // 18,5 exactly
        {"64", "1,60", {"Sobrepeso", "25,000"}},    // 25 exactly
        {"76,8", "1,60", {"Obesidade", "30,000"}},  // 30 exactly
        {"84", "1,60", {"Obesidade", "32,813"}},    // 32,8125 shown rounded up
        {"70", "1,65", {"Sobrepeso", "25,712"}},    // 70 / 2,7225 = 25,711662
    };
    for (const Case& c : cases) {
        const auto l = run(Calcula_IMCOms98, "49", measures(c.weight, c.height));
        ASSERT_EQ(l.size(), 1) << c.weight;
        EXPECT_EQ(l["01"], c.expected) << c.weight << " " << c.height;
    }
}

// ------------------------------------------------------------ "67" Calcula_IMCIdoso

TEST_F(WorkedCase, ImcIdoso_RealHeightsAtBothLimits)
{
    struct Case
    {
        const char* weight;
        const char* height;
        ResultLine expected;
    };
    const Case cases[] = {
        {"56,32", "1,60", {"Baixo Peso", "22,000"}},  // 22 exactly
        {"47,54", "1,47", {"Baixo Peso", "22,000"}},  // 22,000093 rounds to 22,000
        {"70", "1,65", {kAdequado, "25,712"}},        // 25,711662
        {"74,4", "1,66", {kAdequado, "27,000"}},      // 26,999565: rounds to 27, under 27
        {"69,12", "1,60", {"Sobrepeso", "27,000"}},   // 27 exactly
    };
    for (const Case& c : cases) {
        const auto l = run(Calcula_IMCIdoso, "67", measures(c.weight, c.height));
        ASSERT_EQ(l.size(), 1) << c.weight;
        EXPECT_EQ(l["01"], c.expected) << c.weight << " " << c.height;
    }
}

// --------------------------------------------------------- "68" Calcula_IMCGestante

TEST_F(WorkedCase, ImcGestante_HandWorkedWeeks)
{
    struct Case
    {
        const char* week;
        const char* weight;  // height 1,60 m: the weight over 2,56
        ResultLine expected;
    };
    const Case cases[] = {
        {"13", "52,74", {"", "20,602"}},             // 20,6015625: between 20,6 and 20,7
        {"13", "52,736", {"Baixo Peso", "20,600"}},  // 20,6 exactly: low up to 20,6
        {"08", "51,456", {"Baixo Peso", "20,100"}},  // week 8: 20,1 exactly, low
        {"24", "80,64", {"Sobrepeso", "31,500"}},    // 31,5 exactly: overweight up to 31,5
        {"30", "71,5", {"Sobrepeso", "27,930"}},     // 27,9296875 rounds to 27,930 >= 27,9
        {"36", "84", {"Obesidade", "32,813"}},       // 32,8125 >= 32,8
    };
    for (const Case& c : cases) {
        const auto l = run(Calcula_IMCGestante, "68",
                           {{kPeso, c.weight}, {kAltura, "1,60"}, {kSemanaGestacional, c.week}});
        ASSERT_EQ(l.size(), 1) << c.week << " " << c.weight;
        EXPECT_EQ(l["01"], c.expected) << c.week << " " << c.weight;
    }
}

TEST_F(WorkedCase, ImcGestante_MissingMeasuresComeBeforeTheWeekRange)
{
    // Week 43 would have no classification, but without a weight or a height nothing is
    // written at all.
    EXPECT_TRUE(
        run(Calcula_IMCGestante, "68", {{kAltura, "1,60"}, {kSemanaGestacional, "43"}}).isEmpty());
    EXPECT_TRUE(
        run(Calcula_IMCGestante, "68", {{kPeso, "60"}, {kAltura, "0"}, {kSemanaGestacional, "43"}})
            .isEmpty());
    EXPECT_EQ(callsOf("SetResuAval"), 0);
}
