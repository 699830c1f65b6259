// The body mass index family against a recording fake server: the lines each routine
// writes for measures as a dietitian types them, worked out on paper with exact decimals
// (many land exactly on a band limit or a half of the last digit shown, where binary
// floating point would put the quotient on the wrong side: 64 / 1,60² is
// 24,999999999999996 in a double), the reference queries and the paths that write
// nothing.

#include "routine_fixture.h"

#include "anthropometry/bmi_family.h"
#include "hostfw/errors.h"
#include "records/layouts.h"
#include "records/method_codes.h"
#include "records/packet_codec.h"

using namespace anthropometry;
using namespace anthropometrytest;
using namespace records::data_type;

namespace {

const char* const kAdequado = "Adequado ou Eutrófico";

using Grid = QList<std::pair<QString, QString>>;
using Routine = void (*)(Evaluation&);

Grid measures(const QString& weight, const QString& height, const Grid& more = {})
{
    return Grid{{kPeso, weight}, {kAltura, height}} + more;
}

// One expected line: its number, its description (nullptr: not checked) and its value.
struct Expected
{
    const char* line;
    const char* label;
    const char* value;
};

struct Case
{
    const char* method;
    Routine routine;
    Grid grid;
    QList<Expected> expected;
    int lineCount = -1;  // how many lines the method writes; -1: not checked
};

class BmiFamily : public RoutineTest
{
protected:
    QMap<QString, ResultLine> run(Routine routine, const QString& method, const Grid& values,
                                  const QString& reference = {})
    {
        form->cdsResuAval.clear();
        grid(values);
        Evaluation ev = evaluation(method, reference);
        routine(ev);
        return lines(method);
    }

    void check(const Case& c, const QString& reference = {})
    {
        QStringList typed;
        for (const auto& [type, text] : c.grid)
            typed << type + '=' + text;
        SCOPED_TRACE(QString("%1 %2").arg(c.method, typed.join(' ')).toStdString());
        const auto l = run(c.routine, c.method, c.grid, reference);
        if (c.lineCount >= 0) {
            EXPECT_EQ(l.size(), c.lineCount);
        }
        for (const Expected& e : c.expected) {
            ASSERT_TRUE(l.contains(e.line)) << e.line;
            if (e.label) {
                EXPECT_EQ(l[e.line].label, QString::fromUtf8(e.label)) << e.line;
            }
            EXPECT_EQ(l[e.line].value, QString::fromUtf8(e.value)) << e.line;
        }
    }

    // GetImcPesoTeorico answers one row: middle, minimum, maximum (the layout's order),
    // or none.
    void theoreticalBmis(QList<QVariantList> rows)
    {
        server.answer = [rows](const QString& method, const QJsonArray&) {
            if (method == "GetImcPesoTeorico")
                return records::Reply::success(
                    records::encodePacket(packetOf(records::layouts::cdsImcPesoTeorico(), rows)));
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

// The methods that need no reference table, case by case.
// clang-format off
const Case kCases[] = {
    // Calcula_IMC: five lines; the theoretical weights from the fixed BMIs 18,5, 21,7, 24,9.
    // 1,60 m: 2,56 x 18,5 = 47,36; x 21,7 = 55,552; x 24,9 = 63,744; 64 / 2,56 = 25
    {"00", Calcula_IMC, measures("64", "1,60"),
      {{"01", "IMC Resultado", "25,000"}, {"02", "IMC Classificação", "Sobrepeso"}, {"05", "IMC Peso teórico mínimo", "47,36 Kg"}, {"06", "IMC Peso teórico médio", "55,55 Kg"}, {"07", "IMC Peso teórico máximo", "63,74 Kg"}}, 5},
    // a height alone: BMI 0 and no class, the weights still written
    {"00", Calcula_IMC, {{kAltura, "1,60"}}, {{"01", nullptr, "0,000"}, {"02", nullptr, ""}, {"05", nullptr, "47,36 Kg"}}, 5},
    // nothing typed: five lines of zeros
    {"00", Calcula_IMC, {}, {{"01", nullptr, "0,000"}, {"02", nullptr, ""}, {"07", nullptr, "0,00 Kg"}}, 5},
    // 70 / 3,0625 = 22,857142; 3,0625 x 18,5 = 56,656; x 21,7 = 66,456; x 24,9 = 76,256
    {"00", Calcula_IMC, measures("70", "1,75"),
      {{"01", nullptr, "22,857"}, {"02", nullptr, kAdequado}, {"05", nullptr, "56,66 Kg"}, {"06", nullptr, "66,46 Kg"}, {"07", nullptr, "76,26 Kg"}}},
    // 45,6 / 2,4649 = 18,499736: shown 18,500, compared unrounded; 2,4649 x 18,5 = 45,60065
    {"00", Calcula_IMC, measures("45,6", "1,57"),
      {{"01", nullptr, "18,500"}, {"02", nullptr, "Baixo Peso"}, {"05", nullptr, "45,60 Kg"}, {"06", nullptr, "53,49 Kg"}, {"07", nullptr, "61,38 Kg"}}},
    // exact limits: 47,36 / 2,56 = 18,5; 76,8 / 2,56 = 30
    {"00", Calcula_IMC, measures("47,36", "1,60"), {{"01", nullptr, "18,500"}, {"02", nullptr, kAdequado}}},
    {"00", Calcula_IMC, measures("76,8", "1,60"), {{"01", nullptr, "30,000"}, {"02", nullptr, "Obesidade"}}},
    // halves round up: 2,25 x 18,5 = 41,625; x 21,7 = 48,825; x 24,9 = 56,025
    {"00", Calcula_IMC, {{kAltura, "1,50"}}, {{"05", nullptr, "41,63 Kg"}, {"06", nullptr, "48,83 Kg"}, {"07", nullptr, "56,03 Kg"}}},
    // 2,89 x 18,5 = 53,465; x 21,7 = 62,713; x 24,9 = 71,961; 86,7 / 2,89 = 30
    {"00", Calcula_IMC, measures("86,7", "1,70"),
      {{"01", nullptr, "30,000"}, {"02", nullptr, "Obesidade"}, {"05", nullptr, "53,47 Kg"}, {"06", nullptr, "62,71 Kg"}, {"07", nullptr, "71,96 Kg"}}},
    // thousands grouped: 100 m² x 18,5 = 1850
    {"00", Calcula_IMC, measures("2500", "10"), {{"01", nullptr, "25,000"}, {"05", nullptr, "1.850,00 Kg"}, {"07", nullptr, "2.490,00 Kg"}}},
    {"00", Calcula_IMC, measures("1234,5", "1"), {{"01", nullptr, "1.234,500"}}},
    // adult bands on the unrounded BMI (height 1 m: the BMI is the weight)
    {"00", Calcula_IMC, measures("24,9996", "1"), {{"02", nullptr, kAdequado}}},
    {"00", Calcula_IMC, measures("18,4996", "1"), {{"02", nullptr, "Baixo Peso"}}},
    // Calcula_IMC_Amputado: F = 1 - (before - now) / before; BMI = weight / (height² x F)
    // F = 1 - 15 / 75 = 0,8; 60 / (2,25 x 0,8) = 33,333
    {"18", Calcula_IMC_Amputado, measures("60", "1,5", {{kPesoAntesAmputacao, "75"}}),
      {{"01", "IMC Amputado - Resultado", "33,333"}, {"02", "IMC Amputado - Classificação", "Obesidade"}}, 2},
    // 45 / (2,25 x 0,8) = 25 exactly
    {"18", Calcula_IMC_Amputado, measures("45", "1,50", {{kPesoAntesAmputacao, "56,25"}}), {{"01", nullptr, "25,000"}, {"02", nullptr, "Sobrepeso"}}},
    // 33,3 / 1,8 = 18,5
    {"18", Calcula_IMC_Amputado, measures("33,3", "1,50", {{kPesoAntesAmputacao, "41,625"}}),
      {{"01", nullptr, "18,500"}, {"02", nullptr, kAdequado}}},
    // the same weight: the plain BMI, compared unrounded (18,49974)
    {"18", Calcula_IMC_Amputado, measures("45,6", "1,57", {{kPesoAntesAmputacao, "45,6"}}),
      {{"01", nullptr, "18,500"}, {"02", nullptr, "Baixo Peso"}}},
    // a weight above the one before: F = 8/7; 80 / (3,0625 x 8/7) = 22,857
    {"18", Calcula_IMC_Amputado, measures("80", "1,75", {{kPesoAntesAmputacao, "70"}}), {{"01", nullptr, "22,857"}, {"02", nullptr, kAdequado}}},
    // any missing or zero value writes nothing
    {"18", Calcula_IMC_Amputado, measures("60", "1,5"), {}, 0},
    {"18", Calcula_IMC_Amputado, measures("60", "1,5", {{kPesoAntesAmputacao, ""}}), {}, 0},
    {"18", Calcula_IMC_Amputado, measures("60", "1,5", {{kPesoAntesAmputacao, "0"}}), {}, 0},
    {"18", Calcula_IMC_Amputado, {{kAltura, "1,5"}, {kPesoAntesAmputacao, "75"}}, {}, 0},
    {"18", Calcula_IMC_Amputado, {{kPeso, "60"}, {kPesoAntesAmputacao, "75"}}, {}, 0},
    // Calcula_IMCOms98: one line, the class on the BMI rounded to three decimals
    {"49", Calcula_IMCOms98, measures("70", "1,75"), {{"01", kAdequado, "22,857"}}, 1},
    {"49", Calcula_IMCOms98, measures("24,9996", "1"), {{"01", "Sobrepeso", "25,000"}}, 1},
    {"49", Calcula_IMCOms98, measures("18,4996", "1"), {{"01", kAdequado, "18,500"}}, 1},
    {"49", Calcula_IMCOms98, measures("45,6", "1,57"), {{"01", kAdequado, "18,500"}}, 1},
    {"49", Calcula_IMCOms98, measures("64", "1,60"), {{"01", "Sobrepeso", "25,000"}}, 1},
    {"49", Calcula_IMCOms98, measures("76,8", "1,60"), {{"01", "Obesidade", "30,000"}}, 1},
    {"49", Calcula_IMCOms98, measures("84", "1,60"), {{"01", "Obesidade", "32,813"}}, 1},
    {"49", Calcula_IMCOms98, measures("70", "1,65"), {{"01", "Sobrepeso", "25,712"}}, 1},
    {"49", Calcula_IMCOms98, {{kAltura, "1,75"}}, {}, 0},
    {"49", Calcula_IMCOms98, measures("70", "0"), {}, 0},
    {"49", Calcula_IMCOms98, measures("-70", "1,75"), {}, 0},
    // Calcula_IMCIdoso: rounded BMI up to 22 low; unrounded under 27 adequate
    {"67", Calcula_IMCIdoso, measures("21,9", "1"), {{"01", "Baixo Peso", "21,900"}}, 1},
    {"67", Calcula_IMCIdoso, measures("22,0004", "1"), {{"01", "Baixo Peso", "22,000"}}, 1},
    {"67", Calcula_IMCIdoso, measures("22,0005", "1"), {{"01", kAdequado, "22,001"}}, 1},
    {"67", Calcula_IMCIdoso, measures("26,9996", "1"), {{"01", kAdequado, "27,000"}}, 1},
    {"67", Calcula_IMCIdoso, measures("27", "1"), {{"01", "Sobrepeso", "27,000"}}, 1},
    {"67", Calcula_IMCIdoso, measures("56,32", "1,60"), {{"01", "Baixo Peso", "22,000"}}, 1},
    {"67", Calcula_IMCIdoso, measures("47,54", "1,47"), {{"01", "Baixo Peso", "22,000"}}, 1},
    {"67", Calcula_IMCIdoso, measures("74,4", "1,66"), {{"01", kAdequado, "27,000"}}, 1},
    {"67", Calcula_IMCIdoso, measures("69,12", "1,60"), {{"01", "Sobrepeso", "27,000"}}, 1},
    {"67", Calcula_IMCIdoso, {{kPeso, "70"}}, {}, 0},
    // Calcula_IMCGestante: the bands of the week on the BMI rounded to three decimals
    {"68", Calcula_IMCGestante, measures("19,9", "1", {{kSemanaGestacional, "6"}}), {{"01", "Baixo Peso", "19,900"}}, 1},
    {"68", Calcula_IMCGestante, measures("19,95", "1", {{kSemanaGestacional, "6"}}), {{"01", "", "19,950"}}, 1},
    {"68", Calcula_IMCGestante, measures("19,9996", "1", {{kSemanaGestacional, "6"}}), {{"01", "Adequado", "20,000"}}, 1},
    {"68", Calcula_IMCGestante, measures("20", "1", {{kSemanaGestacional, "6"}}), {{"01", "Adequado", "20,000"}}, 1},
    {"68", Calcula_IMCGestante, measures("24,9", "1", {{kSemanaGestacional, "6"}}), {{"01", "Adequado", "24,900"}}, 1},
    {"68", Calcula_IMCGestante, measures("30", "1", {{kSemanaGestacional, "6"}}), {{"01", "Sobrepeso", "30,000"}}, 1},
    {"68", Calcula_IMCGestante, measures("25", "1", {{kSemanaGestacional, "40"}}), {{"01", "Adequado", "25,000"}}, 1},
    {"68", Calcula_IMCGestante, measures("30,4", "1", {{kSemanaGestacional, "12"}}), {{"01", "Obesidade", "30,400"}}, 1},
    {"68", Calcula_IMCGestante, measures("24,95", "1", {{kSemanaGestacional, "6"}}), {{"01", "", "24,950"}}, 1},
    {"68", Calcula_IMCGestante, measures("25", "1", {{kSemanaGestacional, "6"}}), {{"01", "Sobrepeso", "25,000"}}, 1},
    {"68", Calcula_IMCGestante, measures("30,05", "1", {{kSemanaGestacional, "6"}}), {{"01", "", "30,050"}}, 1},
    {"68", Calcula_IMCGestante, measures("30,1", "1", {{kSemanaGestacional, "6"}}), {{"01", "Obesidade", "30,100"}}, 1},
    // week 7 takes the bands of week 6, week 9 those of week 8
    {"68", Calcula_IMCGestante, measures("20", "1", {{kSemanaGestacional, "7"}}), {{"01", "Adequado", "20,000"}}, 1},
    {"68", Calcula_IMCGestante, measures("20", "1", {{kSemanaGestacional, "8"}}), {{"01", "Baixo Peso", "20,000"}}, 1},
    {"68", Calcula_IMCGestante, measures("20,15", "1", {{kSemanaGestacional, "9"}}), {{"01", "", "20,150"}}, 1},
    {"68", Calcula_IMCGestante, measures("30,35", "1", {{kSemanaGestacional, "12"}}), {{"01", "", "30,350"}}, 1},
    {"68", Calcula_IMCGestante, measures("25", "1", {{kSemanaGestacional, "42"}}), {{"01", "Baixo Peso", "25,000"}}, 1},
    {"68", Calcula_IMCGestante, measures("33,3", "1", {{kSemanaGestacional, "42"}}), {{"01", "Obesidade", "33,300"}}, 1},
    // height 1,60 m: 52,74 / 2,56 = 20,6015625, between 20,6 and 20,7 in week 13
    {"68", Calcula_IMCGestante, measures("52,74", "1,60", {{kSemanaGestacional, "13"}}), {{"01", "", "20,602"}}, 1},
    {"68", Calcula_IMCGestante, measures("52,736", "1,60", {{kSemanaGestacional, "13"}}), {{"01", "Baixo Peso", "20,600"}}, 1},
    {"68", Calcula_IMCGestante, measures("51,456", "1,60", {{kSemanaGestacional, "08"}}), {{"01", "Baixo Peso", "20,100"}}, 1},
    {"68", Calcula_IMCGestante, measures("80,64", "1,60", {{kSemanaGestacional, "24"}}), {{"01", "Sobrepeso", "31,500"}}, 1},
    {"68", Calcula_IMCGestante, measures("71,5", "1,60", {{kSemanaGestacional, "30"}}), {{"01", "Sobrepeso", "27,930"}}, 1},
    {"68", Calcula_IMCGestante, measures("62", "1,58", {{kSemanaGestacional, "20"}}), {{"01", "Adequado", "24,836"}}, 1},
    // weeks outside the table: no classification
    {"68", Calcula_IMCGestante, measures("60", "1,60", {{kSemanaGestacional, "5"}}), {{"01", "Sem classificação", ""}}, 1},
    {"68", Calcula_IMCGestante, measures("60", "1,60", {{kSemanaGestacional, "43"}}), {{"01", "Sem classificação", ""}}, 1},
    {"68", Calcula_IMCGestante, measures("60", "1,60", {{kSemanaGestacional, "0"}}), {{"01", "Sem classificação", ""}}, 1},
    // missing measures come before the week range; no week writes nothing
    {"68", Calcula_IMCGestante, {{kAltura, "1,60"}, {kSemanaGestacional, "43"}}, {}, 0},
    {"68", Calcula_IMCGestante, measures("60", "0", {{kSemanaGestacional, "43"}}), {}, 0},
    {"68", Calcula_IMCGestante, measures("60", "1,60"), {}, 0},
    {"68", Calcula_IMCGestante, measures("60", "1,60", {{kSemanaGestacional, ""}}), {}, 0},
};
// clang-format on

}  // namespace

TEST_F(BmiFamily, LinesOfTheMethodsWithoutReferenceTables)
{
    for (const Case& c : kCases)
        check(c);
}

// Every method that uses the adult bands, at their limits (height 1 m).
TEST_F(BmiFamily, AdultBandsAtTheirLimitsInEveryMethodThatUsesThem)
{
    theoreticalBmis({{21.7, 18.5, 24.9}});
    const std::pair<const char*, const char*> limits[] = {
        {"18,4994", "Baixo Peso"}, {"18,5", kAdequado},    {"24,99", kAdequado},
        {"25", "Sobrepeso"},       {"29,99", "Sobrepeso"}, {"30", "Obesidade"},
    };
    for (const auto& [weight, expected] : limits) {
        const Grid g = measures(weight, "1", {{kPesoAntesAmputacao, weight}});
        check({"00", Calcula_IMC, g, {{"02", nullptr, expected}}});
        check({"01", Calcula_IMC_Must, g, {{"02", nullptr, expected}}});
        check({"18", Calcula_IMC_Amputado, g, {{"02", nullptr, expected}}});
        EXPECT_EQ(run(Calcula_IMCOms98, "49", g)["01"].label, QString::fromUtf8(expected));
    }
}

TEST_F(BmiFamily, AValueThatIsNotANumberFailsAndWritesNothing)
{
    grid(measures("7x", "1,75"));
    Evaluation imc = evaluation("00");
    EXPECT_THROW(Calcula_IMC(imc), hostfw::ConversionError);
    for (const char* week : {"20,5", "vinte"}) {
        grid(measures("60", "1,60", {{kSemanaGestacional, week}}));
        Evaluation ev = evaluation("68");
        EXPECT_THROW(Calcula_IMCGestante(ev), hostfw::ConversionError) << week;
    }
    EXPECT_EQ(callsOf("SetResuAval"), 0);
}

// ------------------------------------------------ theoretical weights from a reference

TEST_F(BmiFamily, ImcMust_ReferenceBmisTimesTheSquaredHeight)
{
    // a man of 45 years 10 months; P15 21,72, P50 25,55, P85 29,39 x 2,56 =
    // 55,6032, 65,408, 75,2384; 64 / 2,56 = 25
    patient("0", 45, 10);
    theoreticalBmis({{25.55, 21.72, 29.39}});
    check({"01",
           Calcula_IMC_Must,
           measures("64", "1,60"),
           {{"01", "IMC Resultado", "25,000"},
            {"02", "IMC Classificação", "Sobrepeso"},
            {"05", "IMC Peso teórico mínimo", "55,60 Kg"},
            {"06", "IMC Peso teórico médio", "65,41 Kg"},
            {"07", "IMC Peso teórico máximo", "75,24 Kg"}},
           5},
          "03");
    ASSERT_EQ(callsOf("GetImcPesoTeorico"), 1);
    EXPECT_EQ(lastArgs("GetImcPesoTeorico"), (QJsonArray{"03", 45.10, "M"}));
    EXPECT_EQ(callsOf("SetResuAval"), 5);  // each line written through
}

TEST_F(BmiFamily, ImcMust_NoHeightAsksNothingAndAReferenceWithoutRowGivesZeroWeights)
{
    theoreticalBmis({});
    check({"01",
           Calcula_IMC_Must,
           {{kPeso, "80"}},
           {{"01", nullptr, "0,000"}, {"05", nullptr, "0,00 Kg"}}},
          "03");
    EXPECT_EQ(callsOf("GetImcPesoTeorico"), 0);

    // an undetermined sex is passed as it is; the reference has no row for it
    patient("3", 52);
    check({"01",
           Calcula_IMC_Must,
           measures("47,36", "1,60"),
           {{"01", nullptr, "18,500"},
            {"02", nullptr, kAdequado},
            {"05", nullptr, "0,00 Kg"},
            {"06", nullptr, "0,00 Kg"},
            {"07", nullptr, "0,00 Kg"}}},
          "01");
    EXPECT_EQ(lastArgs("GetImcPesoTeorico").at(2).toString(), "I");
}

TEST_F(BmiFamily, ImcMust_FailedReferenceQueryEndsWithTheServersError)
{
    server.answer = [](const QString& method, const QJsonArray&) {
        if (method == "GetImcPesoTeorico")
            return records::Reply::failure("Tabela de peso teórico indisponível");
        return records::Reply::success(QJsonValue());
    };
    grid(measures("80", "1,80"));
    Evaluation ev = evaluation("01", "03");
    try {
        Calcula_IMC_Must(ev);
        FAIL() << "a failed reply went unnoticed";
    } catch (const hostfw::ServerError& e) {
        EXPECT_EQ(e.message(), "Tabela de peso teórico indisponível");
    }
    EXPECT_TRUE(lines("01").isEmpty());
}

// ------------------------------------------------------------ adolescents by percentile

TEST_F(BmiFamily, ImcAdolescente_ClassifiesByThePercentileAtOrBelow)
{
    // A boy of 10 against a reference starting at P3 (CDC 2000), height 1,40 m (1,96 m²)
    patient("0", 10);
    percentiles({{"003", "P3", 13.96673109},
                 {"005", "P5", 14.21865508},
                 {"010", "P10", 14.64260311},
                 {"050", "P50", 16.64613844},
                 {"085", "P85", 19.3904113},
                 {"097", "P97", 23.72696086}});
    // P3 to P85, and the blanks of "Percentil Entre  5 - 85", on the server's own
    // tables: calculation_run_test
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"27", "Percentil < 5", "Baixo Peso"},  // 13,7755: under P3
        {"47", "Percentil > 85", "Sobrepeso"},  // 23,9796: over P97
    };
    for (const auto& [weight, label, value] : cases)
        check({"48", Calcula_IMCAdolescente, measures(weight, "1,40"), {{"01", label, value}}, 1},
              "03");

    // a BMI on a percentile's value takes that percentile: 64 / 2,56 = 25 = P85
    patient("1", 12, 11);
    percentiles({{"005", "P5", 15.0},
                 {"015", "P15", 16.5},
                 {"050", "P50", 19.0},
                 {"085", "P85", 25.0},
                 {"095", "P95", 28.0}});
    check({"48",
           Calcula_IMCAdolescente,
           measures("64", "1,60"),
           {{"01", "Percentil > 85", "Sobrepeso"}}},
          "01");
    EXPECT_EQ(lastArgs("GetPercentil").at(3).toString(), "F");
    EXPECT_EQ(lastArgs("GetPercentil").at(5).toDouble(), 25.0);  // the BMI itself, exactly
    check({"48", Calcula_IMCAdolescente, measures("15", "1"), {{"01", "Percentil 5", kAdequado}}},
          "01");
}

TEST_F(BmiFamily, ImcAdolescente_NoClassificationAndNothingWritten)
{
    percentiles({});
    // an empty reference: no classification in the reference
    check({"48",
           Calcula_IMCAdolescente,
           measures("45", "1,60"),
           {{"01", "Sem classificação na referência informada.", ""}}},
          "09");
    // missing or zero measures: nothing written, nothing asked
    server.calls.clear();
    for (const Grid& g :
         {Grid{{kAltura, "1,60"}}, Grid{{kPeso, "45"}}, measures("0", "1,60"), measures("45", "")})
        check({"48", Calcula_IMCAdolescente, g, {}, 0}, "02");
    EXPECT_EQ(callsOf("GetPercentil"), 0);
    // an undetermined sex ("D", "I"): no classification, no query
    for (const char* sexCode : {"2", "3"}) {
        patient(sexCode, 14);
        check({"48",
               Calcula_IMCAdolescente,
               measures("45", "1,60"),
               {{"01", "Sem classificação", ""}}},
              "02");
    }
    EXPECT_EQ(callsOf("GetPercentil"), 0);
}
