// The child growth family through the dispatch table against a recording fake server:
// lines worked out on paper from the reference values the fake answers, the band edges of
// each classification, what is asked of the server, and catch-up growth on the energy tab.

#include "routine_fixture.h"

#include "anthropometry/dispatch.h"
#include "anthropometry/growth_family.h"
#include "hostfw/errors.h"
#include "records/layouts.h"
#include "records/packet_codec.h"

#include <optional>

using namespace anthropometry;
using namespace anthropometrytest;

namespace {

namespace L = records::layouts;

struct Line
{
    const char* sequence;
    const char* label;
    const char* value;
};

QMap<QString, ResultLine> expectedLines(const QList<Line>& lines)
{
    QMap<QString, ResultLine> out;
    for (const Line& l : lines)
        out.insert(l.sequence, {QString::fromUtf8(l.label), QString::fromUtf8(l.value)});
    return out;
}

// A packet of the layout with one row, or none when values is empty.
QJsonValue packet(const records::DataSetLayout& layout, const QVariantList& values)
{
    return records::encodePacket(
        packetOf(layout, values.isEmpty() ? QList<QVariantList>{} : QList<QVariantList>{values}));
}

class GrowthFamily : public RoutineTest
{
protected:
    void SetUp() override
    {
        RoutineTest::SetUp();
        server.answer = [this](const QString& method, const QJsonArray& args) {
            if (method == u"GetInfoAval") {
                QList<QVariantList> rows;
                for (const auto& [type, text] : recorded)
                    if (args.at(3).toString() == type)
                        rows.append({"0001", "900000000100", {}, recordedMethod, type, text});
                return records::Reply::success(
                    records::encodePacket(packetOf(L::cdsInfoAval(), rows)));
            }
            const auto reply = answers.constFind(method);
            return records::Reply::success(reply != answers.cend() ? *reply : QJsonValue());
        };
    }

    void run(const QString& method, const QString& reference = QStringLiteral("07"))
    {
        Evaluation ev = evaluation(method, reference);
        anthropometricRoutine(method)(ev);
    }

    QList<std::pair<QString, QString>> recorded;  // GetInfoAval: data type and text
    QString recordedMethod;
    QMap<QString, QJsonValue> answers;  // reference queries, by remote method
};

// --- Gomez and Waterlow ---------------------------------------------------------------

struct ReferenceCase
{
    const char* method;
    const char* weight;  // "" absent
    const char* height;
    QVariantList forAge;     // cdsCalcAn: VRPESOTABE, VRALTUTABE (empty: no row)
    QVariantList forHeight;  // cdsPesoIdealAltura: VRPESO
    QList<Line> expected;
};

const char* const kGomez = "Peso/Idade Resultado";
const char* const kGomezClass = "Peso/Idade Classificação";
const char* const kWaterlow = "Altura/Idade e Peso/Altura Resultado";
const char* const kWaterlowClass = "Altura/Idade e Peso/Altura Classificação";

// clang-format off
const ReferenceCase kReferenceCases[] = {
    // Gomez: W x 100 / reference weight for the age; 90 % belongs to the band up to 90
    {"12", "9", "", {10.0, 80.0}, {}, {{"01", kGomez, "90,000%"}, {"02", kGomezClass, "Desnutrição Leve"}}},
    {"12", "9,001", "", {10.0, 80.0}, {}, {{"01", kGomez, "90,010%"}, {"02", kGomezClass, "Eutrofia"}}},
    {"12", "7,5", "", {10.0, 80.0}, {}, {{"01", kGomez, "75,000%"}, {"02", kGomezClass, "Desnutrição Moderada"}}},
    {"12", "7,501", "", {10.0, 80.0}, {}, {{"01", kGomez, "75,010%"}, {"02", kGomezClass, "Desnutrição Leve"}}},
    {"12", "6", "", {10.0, 80.0}, {}, {{"01", kGomez, "60,000%"}, {"02", kGomezClass, "Desnutrição Grave"}}},
    {"12", "6,01", "", {10.0, 80.0}, {}, {{"01", kGomez, "60,100%"}, {"02", kGomezClass, "Desnutrição Moderada"}}},
    {"12", "9", "", {}, {}, {{"01", kGomez, "0,000%"}, {"02", kGomezClass, ""}}},
    {"12", "9", "", {QVariant(), 80.0}, {}, {{"01", kGomez, "0,000%"}, {"02", kGomezClass, ""}}},
    {"12", "", "", {10.0, 80.0}, {}, {{"01", kGomez, "0,000%"}, {"02", kGomezClass, ""}}},
    // Waterlow: AI = H x 10000 / reference height, PA = W x 100 / weight for the height
    {"13", "8,5", "0,95", {9.0, 100.0}, {10.0}, {{"01", kWaterlow, "95,00%  -  85,00%"}, {"02", kWaterlowClass, "Desnutrição Crônica"}}},
    {"13", "9", "0,96", {9.0, 100.0}, {10.0}, {{"01", kWaterlow, "96,00%  -  90,00%"}, {"02", kWaterlowClass, "Desnutrição Aguda"}}},
    {"13", "9,5", "0,9", {9.0, 100.0}, {10.0}, {{"01", kWaterlow, "90,00%  -  95,00%"}, {"02", kWaterlowClass, "Desnutrição Pregressa"}}},
    // both well: X = (W / H) / (reference weight / reference height), 11,5 / 0,1 = 115
    {"13", "11,04", "0,96", {10.0, 100.0}, {11.04}, {{"01", kWaterlow, "96,00%  -  100,00%"}, {"02", kWaterlowClass, "Sobrepeso"}}},
    {"13", "12", "1", {10.0, 100.0}, {12.0}, {{"01", kWaterlow, "100,00%  -  100,00%"}, {"02", kWaterlowClass, "Sobrepeso"}}},  // X 120
    {"13", "12,1", "1", {10.0, 100.0}, {12.1}, {{"01", kWaterlow, "100,00%  -  100,00%"}, {"02", kWaterlowClass, "Obesidade"}}},
    {"13", "11", "1", {10.0, 100.0}, {11.0}, {{"01", kWaterlow, "100,00%  -  100,00%"}, {"02", kWaterlowClass, "Eutrofia"}}},  // X 110
    {"13", "9,1", "1", {10.0, 100.0}, {9.1}, {{"01", kWaterlow, "100,00%  -  100,00%"}, {"02", kWaterlowClass, "Eutrofia"}}},
    {"13", "9", "1", {10.0, 100.0}, {9.5}, {{"01", kWaterlow, "100,00%  -  94,74%"}, {"02", kWaterlowClass, ""}}},  // X 90
    {"13", "9,1", "1", {QVariant(), 100.0}, {9.1}, {{"01", kWaterlow, "100,00%  -  100,00%"}, {"02", kWaterlowClass, ""}}},
    {"13", "9", "0,96", {}, {10.0}, {{"01", kWaterlow, "0,00%  -  90,00%"}, {"02", kWaterlowClass, ""}}},
    {"13", "9", "0,96", {9.0, 100.0}, {}, {{"01", kWaterlow, "96,00%  -  0,00%"}, {"02", kWaterlowClass, ""}}},
};
// clang-format on

TEST_F(GrowthFamily, GomezAndWaterlowAgainstTheReferenceForTheAge)
{
    patient("0", 2, 8);
    for (const ReferenceCase& c : kReferenceCases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - kReferenceCases);
        QList<std::pair<QString, QString>> values;
        if (*c.weight)
            values.append({"01", QString::fromUtf8(c.weight)});
        if (*c.height)
            values.append({"02", QString::fromUtf8(c.height)});
        grid(values);
        answers["GetPesCalcAltura"] = QJsonArray{packet(L::cdsPesoIdealAltura(), c.forHeight),
                                                 packet(L::cdsCalcAn(), c.forAge)};
        form->cdsResuAval.clear();
        run(c.method);
        EXPECT_EQ(lines(c.method), expectedLines(c.expected));
    }
}

TEST_F(GrowthFamily, GomezAndWaterlowAskForTheMedianAtTheAge)
{
    patient("1", 2, 8);
    answers["GetPesCalcAltura"] =
        QJsonArray{packet(L::cdsPesoIdealAltura(), {10.0}), packet(L::cdsCalcAn(), {10.0, 90.0})};
    grid({{"01", "10"}, {"02", "1,16"}});
    run("12");
    EXPECT_EQ(lastArgs("GetPesCalcAltura"), (QJsonArray{"F", "07", "", 0, 2, 8}));
    run("13", "06");
    EXPECT_EQ(lastArgs("GetPesCalcAltura"), (QJsonArray{"F", "06", "050", 116, 2, 8}));
}

// --- head circumference -----------------------------------------------------------------

const QList<PercentileRow> kHeadPercentiles = {{"003", "P3", 40},
                                               {"005", "P5", 41},
                                               {"050", "P50", 45},
                                               {"095", "P95", 49},
                                               {"097", "P97", 50}};

struct HeadCase
{
    const char* circumference;  // "" absent
    QList<PercentileRow> reference;
    QList<Line> expected;
};

const char* const kHead = "Perímetro Cefálico Percentil";
const char* const kHeadClass = "Perímetro Cefálico Classificação";

// clang-format off
const HeadCase kHeadCases[] = {
    {"39", kHeadPercentiles, {{"01", kHead, "< P3"}, {"02", kHeadClass, "Desnutrição Energética Protéica"}}},
    {"40", kHeadPercentiles, {{"01", kHead, "P3"}, {"02", kHeadClass, "Desnutrição Energética Protéica"}}},
    {"41", kHeadPercentiles, {{"01", kHead, "P5"}, {"02", kHeadClass, "Adequado"}}},
    {"49,5", kHeadPercentiles, {{"01", kHead, "P95"}, {"02", kHeadClass, "Adequado"}}},
    {"50", kHeadPercentiles, {{"01", kHead, "P97"}, {"02", kHeadClass, "Aumentado"}}},
    {"52", kHeadPercentiles, {{"01", kHead, "P97"}, {"02", kHeadClass, "Aumentado"}}},  // nothing over the last
    {"45", {}, {{"01", "Sem classificação na referência informada.", ""}}},
    {"", kHeadPercentiles, {}},
};
// clang-format on

TEST_F(GrowthFamily, HeadCircumferenceByItsPercentile)
{
    patient("0", 1, 2);
    for (const HeadCase& c : kHeadCases) {
        SCOPED_TRACE(::testing::Message() << "circumference " << c.circumference);
        grid(*c.circumference ? QList<std::pair<QString, QString>>{{"22", c.circumference}}
                              : QList<std::pair<QString, QString>>{});
        answers["GetPercentil"] = percentilePayload(
            c.reference, QString::fromUtf8(c.circumference).replace(',', '.').toDouble());
        form->cdsResuAval.clear();
        run("15", "06");
        EXPECT_EQ(lines("15"), expectedLines(c.expected));
    }
    EXPECT_EQ(lastArgs("GetPercentil"), (QJsonArray{"06", "15", 1.02, "M", "06", 45}));
}

// --- chest to head circumference --------------------------------------------------------

struct ChestCase
{
    int years, months;
    const char* chest;
    const char* head;
    QList<Line> expected;
};

const char* const kRatio = "PT / PC - Resultado";
const char* const kRatioClass = "PT / PC - Classificação";

// clang-format off
const ChestCase kChestCases[] = {
    {0, 6, "40", "40", {{"01", kRatio, "1,00"}, {"02", kRatioClass, "Normal"}}},
    {0, 6, "42", "40", {{"01", kRatio, "1,05"}, {"02", kRatioClass, "Desnutrição"}}},
    {0, 7, "40", "40", {{"01", kRatio, "1,00"}, {"02", kRatioClass, "Desnutrição"}}},
    {0, 7, "42", "40", {{"01", kRatio, "1,05"}, {"02", kRatioClass, "Normal"}}},
    {5, 11, "49,5", "49,5", {{"01", kRatio, "1,00"}, {"02", kRatioClass, "Desnutrição"}}},
    {5, 11, "50", "49,5", {{"01", kRatio, "1,01"}, {"02", kRatioClass, "Normal"}}},
    {6, 0, "52", "50", {{"01", kRatio, "1,04"}, {"02", kRatioClass, ""}}},
    {3, 0, "48", "", {}},
    {3, 0, "0", "48", {}},
};
// clang-format on

TEST_F(GrowthFamily, ChestToHeadCircumferenceByAge)
{
    for (const ChestCase& c : kChestCases) {
        SCOPED_TRACE(::testing::Message()
                     << c.years << " y " << c.months << " m, " << c.chest << " / " << c.head);
        patient("1", c.years, c.months);
        QList<std::pair<QString, QString>> values{{"20", c.chest}};
        if (*c.head)
            values.emplaceBack("22", c.head);
        grid(values);
        form->cdsResuAval.clear();
        run("21");
        EXPECT_EQ(lines("21"), expectedLines(c.expected));
    }
}

// --- weight and height against the growth references --------------------------------------

struct BandCase
{
    const char* reached;  // V
    const char* flag;
    const char* band;  // N
    const char* description;
    const char* classification;
};

// clang-format off
const BandCase kBandCases[] = {
    {"0.05", "", "Percentil 0,05", "Percentil < 0,1", "Peso muito baixo para a Idade"},
    {"0.1", "S", "Percentil < 0,1", "Percentil < 0,1", "Peso muito baixo para a Idade"},
    {"0,1", "S", "Percentil < 0,1", "Percentil < 0,1", "Peso muito baixo para a Idade"},
    {"0.1", "", "Percentil 0,1", "Percentil 0,1", "Peso baixo para a Idade"},
    {"001", "S", "Percentil 0,1 - 1", "Percentil 0,1 - 1", "Peso baixo para a Idade"},
    {"001", "", "Percentil 1", "Percentil 1", "Peso baixo para a Idade"},
    {"003", "S", "Percentil 1 - 3", "Percentil <  3", "Peso baixo para a Idade"},
    {"003", "", "Percentil 3", "Percentil 3", "Risco Nutricional"},
    {"005", "S", "Percentil 3 - 5", "Percentil 3 - 5", "Risco Nutricional"},
    {"010", "S", "Percentil 5 - 10", "Percentil <  10", "Risco Nutricional"},
    {"010", "", "Percentil 10", "Percentil 10", "Adequado ou Eutrófico"},
    {"095", "S", "Percentil 90 - 95", "Percentil 90 - 95", "Adequado ou Eutrófico"},
    {"097", "S", "Percentil 95 - 97", "Percentil <  97", "Adequado ou Eutrófico"},
    {"097", "", "Percentil 97", "Percentil >=  97", "Risco de sobrepeso"},
    {"099", "S", "Percentil 97 - 99", "Percentil >=  97", "Risco de sobrepeso"},
    {"99.9", "A", "Percentil > 99,9", "Percentil >=  97", "Risco de sobrepeso"},
    {"", "", "", "Sem classificação na referência informada.", ""},
};
// clang-format on

TEST_F(GrowthFamily, GrowthReferenceBandsByThePercentileReached)
{
    patient("0", 2, 8);
    grid({{"01", "13,4"}, {"02", "0,92"}});
    for (const char* method : {"43", "39", "47"}) {
        for (const BandCase& c : kBandCases) {
            SCOPED_TRACE(::testing::Message()
                         << "method " << method << " V " << c.reached << " flag " << c.flag);
            const QJsonArray reply{c.reached, c.flag, QString::fromUtf8(c.band)};
            answers["GetPesIdAlt"] = reply;
            answers["GetPesoAlt"] = reply;
            form->cdsResuAval.clear();
            run(method);
            EXPECT_EQ(lines(method), expectedLines({{"01", c.description, c.classification}}));
        }
    }
}

struct AxisCase
{
    const char* method;
    QList<std::pair<QString, QString>> values;
    const char* remote;  // nullptr: nothing asked, nothing written
    QJsonArray args;
};

// clang-format off
const AxisCase kAxisCases[] = {
    {"37", {{"01", "13,4"}, {"02", "0,92"}}, "GetPesIdAlt", {"07", 13.4, "X", 0, "T", 2, 8, "M"}},
    {"38", {{"01", "13,4"}}, "GetPesIdAlt", {"07", 13.4, "X", 0, "T", 2, 8, "M"}},
    {"43", {{"02", "0,92"}}, nullptr, {}},
    {"43", {{"01", "0"}}, nullptr, {}},
    {"39", {{"01", "13,4"}, {"02", "0,92"}}, "GetPesIdAlt", {"07", 0, "T", 92, "X", 2, 8, "M"}},
    {"45", {{"02", "1,16"}}, "GetPesIdAlt", {"07", 0, "T", 116, "X", 2, 8, "M"}},
    {"40", {{"01", "13,4"}}, nullptr, {}},
    {"44", {{"02", ""}}, nullptr, {}},
    {"41", {{"01", "13,4"}, {"02", "0,92"}}, "GetPesoAlt", {"07", 13.4, 92, "M"}},
    {"46", {{"01", "13,4"}, {"02", "1,16"}}, "GetPesoAlt", {"07", 13.4, 116, "M"}},
    {"42", {{"01", "13,4"}}, nullptr, {}},
    {"47", {{"02", "0,92"}}, nullptr, {}},
};
// clang-format on

TEST_F(GrowthFamily, GrowthReferenceMethodsAskByTheirAxis)
{
    patient("0", 2, 8);
    answers["GetPesIdAlt"] = answers["GetPesoAlt"] = QJsonArray{"050", "", "Percentil 50"};
    for (const AxisCase& c : kAxisCases) {
        SCOPED_TRACE(::testing::Message() << "method " << c.method);
        grid(c.values);
        server.calls.clear();
        form->cdsResuAval.clear();
        run(c.method);
        if (!c.remote) {
            EXPECT_TRUE(server.calls.isEmpty());
            EXPECT_TRUE(lines(c.method).isEmpty());
            continue;
        }
        EXPECT_EQ(lastArgs(c.remote), c.args);
        EXPECT_EQ(lines(c.method),
                  expectedLines({{"01", "Percentil 50", "Adequado ou Eutrófico"}}));
    }
}

TEST_F(GrowthFamily, GrowthReferenceMethodsClassifyOnlyBoysAndGirls)
{
    patient("3", 2, 8);
    grid({{"01", "13,4"}, {"02", "0,92"}});
    run("43");
    EXPECT_EQ(lines("43"), expectedLines({{"01", "Sem classificação", ""}}));
    EXPECT_EQ(callsOf("GetPesIdAlt"), 0);
}

TEST_F(GrowthFamily, GrowthReferenceReplyWithoutItsThreeTextsFails)
{
    patient("0", 2, 8);
    grid({{"01", "13,4"}});
    answers["GetPesIdAlt"] = QJsonArray{"050"};
    EXPECT_THROW(run("43"), records::Error);
    EXPECT_TRUE(lines("43").isEmpty());
}

// --- sexual maturation --------------------------------------------------------------------

struct MaturationCase
{
    const char* sexCode;
    int years, months;
    const char* stages;  // "" none recorded
    const char* pubic;
    const char* other;  // breast or genital
};

const char* const kAhead = "Desenvolvimento acima da faixa etária.";
const char* const kWithin = "Desenvolvimento dentro da faixa etária.";
const char* const kBehind = "Desenvolvimento abaixo da faixa etária.";

// clang-format off
const MaturationCase kMaturationCases[] = {
    {"0", 12, 0, "G2-P1", kBehind, kWithin},  // P1 ends at 10 y 11 m
    {"0", 9, 5, "G1-P1", kWithin, kWithin},
    {"0", 9, 6, "G1-P1", kWithin, kBehind},
    {"0", 10, 11, "G3-P2", kAhead, kWithin},  // P2 from 11 y, G3 from 10 y 6 m
    {"0", 17, 11, "G5-P5", kWithin, kWithin},
    {"0", 18, 0, "G5-P5", kBehind, kBehind},
    {"0", 12, 0, "M2-P7", "", ""},  // no stage of a boy
    {"1", 16, 6, "M5-P5", kWithin, kWithin},  // P5 ends at 16 y 6 m
    {"1", 16, 7, "M5-P5", kBehind, kWithin},
    {"1", 17, 0, "M5", "Não avaliado", kWithin},
    {"1", 19, 0, "M5", "Não avaliado", kBehind},
    {"1", 7, 11, "M2-P1", kWithin, kAhead},
    {"1", 14, 7, "M3-P3", kBehind, kWithin},
    {"1", 12, 0, "G2-P2", kWithin, ""},
    {"3", 12, 0, "M2-P2", "", ""},
};
// clang-format on

TEST_F(GrowthFamily, MaturationStagesAgainstTheirAgeBands)
{
    for (const MaturationCase& c : kMaturationCases) {
        SCOPED_TRACE(::testing::Message() << "sex " << c.sexCode << ", " << c.years << " y "
                                          << c.months << " m, " << c.stages);
        patient(c.sexCode, c.years, c.months);
        recorded = {{"37", c.stages}};
        recordedMethod = "28";
        form->cdsResuAval.clear();
        run("28");
        const char* label = QString(c.sexCode) == "0" ? "Maturação Sexual - Avaliação genitália"
                                                      : "Maturação Sexual - Avaliação mamas";
        EXPECT_EQ(lines("28"),
                  expectedLines({{"01", "Maturação Sexual - Avaliação pelos pubianos", c.pubic},
                                 {"02", label, c.other}}));
    }
}

TEST_F(GrowthFamily, MaturationNeedsTheStagesOfThisMethodAndAWholeAge)
{
    patient("0", 12);
    recorded = {{"37", "G2-P2"}};
    recordedMethod = "29";  // recorded for another method only
    run("28");
    recorded = {{"37", ""}};
    recordedMethod = "28";
    run("28");
    EXPECT_TRUE(lines("28").isEmpty());

    recorded = {{"37", "G2-P2"}};
    form->edtMes = "1,5";
    EXPECT_THROW(run("28"), hostfw::ConversionError);
    EXPECT_TRUE(lines("28").isEmpty());
}

// --- catch-up growth ----------------------------------------------------------------------

struct CatchUpCase
{
    const char* weight;                    // recorded "01" ("": none)
    const char* recommendation;            // recorded "33"
    QVariantList median;                   // cdsPesoIdealIdade: VRPESO
    QVariantList weightAge;                // cdsPesoIdade: NRIDADEINI, NRIDADEFIN, VRPESO
    QVariantList needs;                    // cdsNutRecCatchUp: QTNUTRINIC
    std::optional<double> askedWeightAge;  // GetNutRecCatchUp's weight age, when asked
    QList<Line> expected;
};

const char* const kEnergy = "VCT - Catch-up";
const char* const kEnergyDay = "VCT Catch-up p/ peso atual";
const char* const kProtein = "Proteína - Catch-up";
const char* const kProteinDay = "Proteína - Catch-up p/ peso atual";

// clang-format off
const CatchUpCase kCatchUpCases[] = {
    // E = Q x PI / W, ED = Q x PI, P = 0,08 x E / 4, PD = P x W
    {"10", "01", {12.0}, {1.0, 6.0, 10.0}, {100.0}, 1.06,
     {{"01", kEnergy, "120,000 Kcal/kg/dia"}, {"02", kEnergyDay, "1.200,000 Kcal/dia"},
      {"03", kProtein, "2,400 g/kg/dia"}, {"04", kProteinDay, "24,000 g/dia"}}},
    {"8,5", "01", {13.2}, {0.0, 11.0, 8.5}, {94.4}, 0.11,
     {{"01", kEnergy, "146,598 Kcal/kg/dia"}, {"02", kEnergyDay, "1.246,080 Kcal/dia"},
      {"03", kProtein, "2,932 g/kg/dia"}, {"04", kProteinDay, "24,922 g/dia"}}},
    {"12", "01", {14.0}, {2.0, 0.0, 12.0}, {100.0}, 2.0,
     {{"01", kEnergy, "116,667 Kcal/kg/dia"}, {"02", kEnergyDay, "1.400,000 Kcal/dia"},
      {"03", kProtein, "2,333 g/kg/dia"}, {"04", kProteinDay, "28,000 g/dia"}}},
    {"10", "", {12.0}, {1.0, 6.0, 10.0}, {100.0}, std::nullopt, {}},      // no recommendation
    {"10", "02", {12.0}, {1.0, 6.0, 10.0}, {}, 1.06, {}},                // none for the weight age
    {"10", "01", {12.0}, {}, {100.0}, std::nullopt, {}},                  // no weight age
    {"10", "01", {}, {1.0, 6.0, 10.0}, {100.0}, std::nullopt, {}},        // no median for the age
    {"", "01", {12.0}, {1.0, 6.0, 10.0}, {100.0}, std::nullopt, {}},      // no weight
    {"0", "01", {12.0}, {1.0, 6.0, 10.0}, {100.0}, std::nullopt, {}},
};
// clang-format on

TEST_F(GrowthFamily, CatchUpGrowthForTheWeightAge)
{
    patient("0", 2, 8);
    recordedMethod = "35";
    for (const CatchUpCase& c : kCatchUpCases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - kCatchUpCases);
        recorded.clear();
        if (*c.weight)
            recorded.emplaceBack("01", c.weight);
        if (*c.recommendation)
            recorded.emplaceBack("33", c.recommendation);
        answers["GetPesoIdade"] = QJsonArray{packet(L::cdsPesoIdealIdade(), c.median),
                                             packet(L::cdsPesoIdade(), c.weightAge)};
        answers["GetNutRecCatchUp"] = packet(L::cdsNutRecCatchUp(), c.needs);
        server.calls.clear();
        form->cdsResuAvalEnerg.clear();
        Evaluation ev = evaluation("35", "07");
        Calcula_Catch_up(ev);
        EXPECT_EQ(lines("35", &form->cdsResuAvalEnerg), expectedLines(c.expected));
        EXPECT_TRUE(lines("35").isEmpty());  // nothing on the assessment tab
        ASSERT_EQ(callsOf("GetNutRecCatchUp"), c.askedWeightAge ? 1 : 0);
        if (c.askedWeightAge) {
            EXPECT_EQ(lastArgs("GetNutRecCatchUp"),
                      (QJsonArray{c.recommendation, "M", *c.askedWeightAge}));
        }
        if (*c.weight && QString(c.weight) != "0") {
            EXPECT_EQ(lastArgs("GetPesoIdade"),
                      (QJsonArray{"M", "07", "050", 2, 8,
                                  QString(c.weight).replace(',', '.').toDouble()}));
        } else {
            EXPECT_EQ(callsOf("GetPesoIdade"), 0);
        }
    }
}

TEST_F(GrowthFamily, CatchUpGrowthTakesTheReferenceOfItsEnergyRow)
{
    patient("1", 1, 3);
    form->cdsMetoAvalEnerg.loadPacket(packetOf(
        L::cdsMetoAvalEnerg(), {{"0001", "900000000100", {}, "30", "S", "Harris", "01"},
                                {"0001", "900000000100", {}, "35", "S", "Catch-up", "06"}}));
    recordedMethod = "35";
    recorded = {{"01", "9"}, {"33", "01"}};
    answers["GetPesoIdade"] = QJsonArray{packet(L::cdsPesoIdealIdade(), {9.5}),
                                         packet(L::cdsPesoIdade(), {1.0, 0.0, 9.0})};
    answers["GetNutRecCatchUp"] = packet(L::cdsNutRecCatchUp(), {90.0});
    Calcula_Catch_up(*form);
    EXPECT_EQ(lastArgs("GetPesoIdade").at(1), "06");
}

}  // namespace
