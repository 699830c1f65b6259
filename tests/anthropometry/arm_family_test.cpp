// The arm anthropometry family against a recording fake server: the lines of each method
// for measures worked out on paper, the adequacy limits, the bracket of each method's
// percentile variation, the server calls and what writes nothing.
//
// The fake's standards: GetPCT 12,5 mm (triceps) or 25,3 cm (muscle circumference) unless a
// row says otherwise; GetPercentFix 29,3 cm men, 28,5 cm women ("Jelliffe"). Its percentile
// tables (named "NCHS") are kTables below.

#include "routine_fixture.h"

#include "anthropometry/arm_family.h"
#include "hostfw/errors.h"
#include "records/layouts.h"
#include "records/packet_codec.h"

using namespace anthropometry;
using namespace anthropometrytest;

namespace {

using Routine = void (*)(Evaluation&);
constexpr double kZero = -1;   // a standard of 0
constexpr double kNoRow = -2;  // no standard row
const char* const kNoRef = "Sem classificação na referência informada.";

struct Expected
{
    const char* line;
    const char* label;
    const char* value;
};

struct Case
{
    const char* sexCode;  // "0" M, "1" F, "2" D, "3" I
    int years;
    const char* method;
    Routine routine;
    const char* pct;           // "04" in mm; nullptr: no row
    const char* cb;            // "08" in cm
    QList<Expected> expected;  // every line written
    double standard = 0;       // GetPCT and GetPercentFix; 0: the defaults above
    const char* tableReference = "01";
};

// clang-format off
const QMap<QString, QList<PercentileRow>> kTables = {
    {"02", {{"005", "P5", 6}, {"015", "P15", 8}, {"050", "P50", 12}, {"085", "P85", 18}, {"095", "P95", 22}}},
    {"03", {{"005", "P5", 22}, {"015", "P15", 24}, {"050", "P50", 27}, {"085", "P85", 30}, {"095", "P95", 32}}},
    {"05", {{"005", "P5", 38}, {"015", "P15", 42}, {"050", "P50", 50}, {"085", "P85", 58}, {"095", "P95", 62}, {"097", "P97", 66}}},
    {"60", {{"005", "P5", 5000}, {"015", "P15", 5500}, {"050", "P50", 6000}, {"085", "P85", 6500}, {"095", "P95", 7000}}},
    {"08", {{"005", "P5", 8}, {"015", "P15", 10}, {"050", "P50", 15}, {"075", "P75", 18}, {"085", "P85", 22}, {"095", "P95", 28}}},
};
// clang-format on

// clang-format off
const Case kCases[] = {
    {"1", 30, "02", Calcula_PCT, "10", nullptr, {{"03", "% PCT Resultado", "80,00%"}, {"04", "% PCT Classificação", "Depleção Ponderal Grau II"}, {"01", "PCT Percentil - NCHS", "Entre P15 - P50"}, {"02", "PCT Classificação - NCHS", "Risco de Depleção"}}},  // PCT: A = T x 100 / 12,5; 10 mm: 80 is "Grau II" (above 70 up to 80); 10 lies between P15 (8) and P50 (12)
    {"1", 75, "02", Calcula_PCT, "10", nullptr, {{"01", "PCT Percentil - NCHS", "Entre P15 - P50"}, {"02", "PCT Classificação - NCHS", "Risco de Depleção"}}},  // at 75 years only the percentile lines
    {"0", 30, "02", Calcula_PCT, "18,125", nullptr, {{"03", nullptr, "145,00%"}, {"04", nullptr, "Obesidade"}, {"01", nullptr, "Entre P85 - P95"}, {"02", nullptr, "Eutrofia"}}},  // 18,125 x 8 = 145: "Obesidade", not "Mórbida"; between P85 and P95
    {"0", 30, "02", Calcula_PCT, "8,75", nullptr, {{"03", nullptr, "70,00%"}, {"04", nullptr, "Depleção Ponderal Grau III"}, {"01", nullptr, "Entre P15 - P50"}, {"02", nullptr, "Risco de Depleção"}}},  // 8,75 x 8 = 70: "Grau III" (above 60 up to 70)
    {"0", 30, "02", Calcula_PCT, "5", nullptr, {{"03", nullptr, "40,00%"}, {"04", nullptr, "Depleção Ponderal Grau IV"}, {"01", nullptr, "< P5"}, {"02", nullptr, "Depleção"}}},  // 5 mm under P5: "< P5", code 001; 40 % is "Grau IV"
    {"0", 30, "02", Calcula_PCT, "25", nullptr, {{"03", nullptr, "200,00%"}, {"04", nullptr, "Obesidade Mórbida"}, {"01", nullptr, "> P95"}, {"02", nullptr, "Excesso de Gordura"}}},  // 25 mm over P95: "> P95", code 999; 200 %
    {"0", 30, "02", Calcula_PCT, "8", nullptr, {{"03", nullptr, "64,00%"}, {"04", nullptr, "Depleção Ponderal Grau III"}, {"01", nullptr, "P15"}, {"02", nullptr, "Eutrofia"}}, 0, "05"},  // reference "05": P15 is above its risk limit P10
    {"0", 30, "02", Calcula_PCT, nullptr, nullptr, {{"03", nullptr, "0,00%"}, {"04", nullptr, "Depleção Ponderal Grau IV"}}},  // no triceps: the adequacy of 0 and no percentile
    {"0", 30, "02", Calcula_PCT, "10", nullptr, {}, kZero},  // a zero standard: nothing at all, not even the percentile
    {"0", 30, "03", Calcula_CMB, "10", "30", {{"01", "CMB Resultado", "26,86"}, {"02", "CMB Percentil - NCHS", "Entre P15 - P50"}, {"04", "% CMB Resultado", "106,17%"}, {"05", "% CMB Classificação", "Risco de Depleção"}}},  // CMB = 30 - 0,314 x 10 = 26,86 (P15 to P50); 26,86 / 25,3 = 106,166 %: keeps the percentile class
    {"0", 30, "03", Calcula_CMB, nullptr, "30", {{"01", nullptr, "30,00"}, {"02", nullptr, "P85"}, {"04", nullptr, "118,58%"}, {"05", nullptr, "Eutrofia"}}},  // no triceps: CMB = CB = 30, on P85; 30 / 25,3 = 118,577 %
    {"0", 30, "03", Calcula_CMB, nullptr, "18", {{"01", nullptr, "18,00"}, {"02", nullptr, "< P5"}, {"04", nullptr, "90,00%"}, {"05", nullptr, "Depleção"}}, 20},  // against a standard of 20: 18 is 90 % exactly and keeps "< P5"'s class; 17,998 is 89,99 %; 12 is 60 %
    {"0", 30, "03", Calcula_CMB, nullptr, "17,998", {{"01", nullptr, "18,00"}, {"02", nullptr, "< P5"}, {"04", nullptr, "89,99%"}, {"05", nullptr, "Depleção Ponderal Grau I"}}, 20},
    {"0", 30, "03", Calcula_CMB, nullptr, "12", {{"01", nullptr, "12,00"}, {"02", nullptr, "< P5"}, {"04", nullptr, "60,00%"}, {"05", nullptr, "Depleção Ponderal Grau III"}}, 20},
    {"0", 30, "03", Calcula_CMB, nullptr, "23", {{"01", nullptr, "23,00"}, {"02", nullptr, "Entre P5 - P15"}, {"04", nullptr, "90,91%"}, {"05", nullptr, "Desnutrição"}}, 0, "05"},  // reference "05": P5 to P15 is under its P10
    {"0", 75, "03", Calcula_CMB, "10", "30", {{"01", nullptr, "26,86"}, {"02", nullptr, "Entre P15 - P50"}}},  // at 75 years and with no standard: no lines "04" and "05"
    {"0", 30, "03", Calcula_CMB, "10", "30", {{"01", nullptr, "26,86"}, {"02", nullptr, "Entre P15 - P50"}}, kZero},
    {"0", 30, "04", Calcula_CB, nullptr, "30", {{"01", "CB Resultado Adequação - Jelliffe", "102,389 %"}, {"02", "CB Percentil Classificação - Jelliffe", "Eutrofia"}}},  // CB: 30 / 29,3 = 102,389 %; women 19,95 / 28,5 = 70 and 34,2 / 28,5 = 120 exactly
    {"1", 30, "04", Calcula_CB, nullptr, "19,95", {{"01", nullptr, "70,000 %"}, {"02", nullptr, "Desnutrição Moderada"}}},
    {"1", 30, "04", Calcula_CB, nullptr, "34,2", {{"01", nullptr, "120,000 %"}, {"02", nullptr, "Obesidade"}}},
    {"2", 30, "04", Calcula_CB, nullptr, "30", {{"01", "Sem classificação", ""}}},
    {"0", 30, "04", Calcula_CB, nullptr, "0", {}},
    {"0", 30, "04", Calcula_CB, nullptr, "30", {{"01", kNoRef, ""}}, kZero},  // no division by a zero standard
    {"0", 30, "04", Calcula_CB, nullptr, "30", {{"01", kNoRef, ""}}, kNoRow},
    {"0", 30, "05", Calcula_AMB, "10", "30", {{"01", "AMB Resultado", "47,441"}, {"02", "AMB Percentil - NCHS", "Entre P15 - P50"}, {"03", "AMB Classificação - NCHS", "Dentro da Média"}}},  // AMB = (CB - 0,314 T)² / 12,56 - 10 (M) or - 6,5 (F): 26,86² / 12,56 = 57,441; P15 to P50 (P 015, Q 050)
    {"1", 30, "05", Calcula_AMB, "10", "30", {{"01", nullptr, "50,941"}, {"02", nullptr, "Entre P50 - P85"}, {"03", nullptr, "Dentro da Média"}}},
    {"2", 30, "05", Calcula_AMB, "10", "30", {{"01", "Sem classificação", ""}}},
    {"0", 30, "05", Calcula_AMB, "10", "25", {{"01", nullptr, "28,046"}, {"02", nullptr, "< P5"}, {"03", nullptr, "Depleção"}}},  // 21,86² / 12,56 - 10 = 28,046: under P5
    {"0", 30, "05", Calcula_AMB, "10", "32,5", {{"01", nullptr, "58,631"}, {"02", nullptr, "Entre P85 - P95"}, {"03", nullptr, "Acima da Média"}}},  // 29,36² / 12,56 - 10 = 58,631: P85 to P95 (Q 095)
    {"0", 30, "05", Calcula_AMB, "10", "33,6", {{"01", nullptr, "63,870"}, {"02", nullptr, "P97"}, {"03", nullptr, "Boa Nutrição"}}},  // 30,46² / 12,56 - 10 = 63,870: P95 to P97 reads the name over P95 alone
    {"0", 30, "05", Calcula_AMB, "10", "35", {{"01", nullptr, "70,817"}, {"02", nullptr, "> P97"}, {"03", nullptr, "Boa Nutrição"}}},  // 31,86² / 12,56 - 10 = 70,817: over P97 (P 999, Q 99)
    {"0", 30, "05", Calcula_AMB, "10", "30", {{"01", nullptr, "47,441"}, {"02", nullptr, "Entre P15 - P50"}, {"03", nullptr, "Eutrofia"}}, 0, "05"},
    {"0", 30, "05", Calcula_AMB, "0", "30", {}},
    {"0", 30, "99", Calcula_AMB, "10", "30", {{"01", kNoRef, ""}}},  // the fake has no table "99"
    {"0", 30, "60", Calcula_AMBC, "10", "30", {{"01", "AMBC Resultado", "5.730,512"}, {"02", "AMBC Percentil - NCHS", "P15"}, {"03", "AMBC Percentil Classificação - NCHS", "Desnutrição Leve/Moderada"}}},  // AMBC = (10 CB - π T)² / 4π - 10 (M) or - 6,5 (F): 268,584² / 12,566 = 5740,512; P15 to P50 reads P15
    {"1", 30, "60", Calcula_AMBC, "10", "30", {{"01", nullptr, "5.734,012"}, {"02", nullptr, "P15"}, {"03", nullptr, "Desnutrição Leve/Moderada"}}},
    {"0", 30, "60", Calcula_AMBC, "10", "25", {{"01", nullptr, "3.792,132"}, {"02", nullptr, "< P5"}, {"03", nullptr, "Desnutrição Grave"}}},  // 218,584² / 12,566 - 10 = 3792,132: under P5
    {"0", 30, "60", Calcula_AMBC, "10", "35", {{"01", nullptr, "8.066,780"}, {"02", nullptr, "P95"}, {"03", nullptr, "Normal"}}},  // 318,584² / 12,566 - 10 = 8066,780: over P95 stays P95, no "> "
    {"3", 30, "60", Calcula_AMBC, "10", "30", {{"01", "Sem classificação", ""}}},
    {"0", 30, "99", Calcula_AMBC, "10", "30", {{"01", kNoRef, ""}}},
    {"0", 30, "08", Calcula_AGB, "12", "28", {{"01", "AGB Resultado", "15,67"}, {"02", "AGB Percentil - NCHS", "Entre P50 - P75"}, {"03", "AGB Classificação - NCHS", "Dentro da Média"}}},  // AGB = t CB / 2 - 3,14 t² / 4, t = T / 10: 1,2 x 28 / 2 - 3,14 x 1,44 / 4 = 15,6696: P50 to P75
    {"0", 30, "08", Calcula_AGB, "6", "28", {{"01", nullptr, "8,12"}, {"02", nullptr, "Entre P5 - P15"}, {"03", nullptr, "Abaixo da Média"}}},  // 8,4 - 0,2826 = 8,1174: P5 to P15 is no "< ", code 005 stays
    {"0", 30, "08", Calcula_AGB, "5", "20", {{"01", nullptr, "4,80"}, {"02", nullptr, "< P5"}, {"03", nullptr, "Magro"}}},  // 5 - 0,19625 = 4,80375: under P5
    {"0", 30, "08", Calcula_AGB, "20", "40", {{"01", nullptr, "36,86"}, {"02", nullptr, "> P95"}, {"03", nullptr, "Excesso de Gordura"}}},  // 40 - 3,14 = 36,86 over P95: excess, not the "Abaixo da Média" an empty Q would give
    {"0", 30, "08", Calcula_AGB, "0", "28", {}},
};
// clang-format on

class ArmFamily : public RoutineTest
{
protected:
    void SetUp() override
    {
        RoutineTest::SetUp();
        server.answer = [this](const QString& method, const QJsonArray& args) {
            namespace L = records::layouts;
            const double value = standard == kZero ? 0 : standard;
            const bool none = standard == kNoRow;
            if (method == "GetPCT")
                return packet(L::cdsPCT(), {{value}});
            if (method == "GetPercentFix")
                return packet(L::cdsPercentiFix(),
                              none ? QList<QVariantList>{}
                                   : QList<QVariantList>{{"01", "Jelliffe", "04", "050", 0.0, 99.0,
                                                          value ? 28.5 : 0, value ? 29.3 : 0}});
            if (method == "GetPercentil")
                return records::Reply::success(
                    percentilePayload(kTables.value(args.at(1).toString()), args.at(5).toDouble(),
                                      "NCHS", tableReference));
            if (method == "GetInfoAval")
                return packet(L::cdsInfoAval(), recorded.value(args.at(3).toString()));
            return records::Reply::success(QJsonValue());
        };
    }

    static records::Reply packet(const records::DataSetLayout& layout,
                                 const QList<QVariantList>& rows)
    {
        return records::Reply::success(records::encodePacket(packetOf(layout, rows)));
    }

    // The AGB reads recorded values: a row of each type for "08" and a different one for "05".
    void record(const QString& type, const char* text)
    {
        const QDateTime date(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC);
        recorded[type] = {{"0001", "900000000100", date, "05", type, "99", QVariant(), QVariant()}};
        if (text)
            recorded[type].append(
                {"0001", "900000000100", date, "08", type, text, QVariant(), QVariant()});
    }

    double standard = 12.5;
    QString tableReference = "01";
    QMap<QString, QList<QVariantList>> recorded;
};

}  // namespace

TEST_F(ArmFamily, LinesByMethodAndMeasure)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - kCases << " method " << c.method);
        patient(c.sexCode, c.years);
        form->cdsResuAval.clear();
        standard = c.standard ? c.standard : QString(c.method) == "02" ? 12.5 : 25.3;
        tableReference = c.tableReference;
        QList<std::pair<QString, QString>> values;  // the AGB reads the recorded ones only
        for (const auto& [type, text] : {std::pair{"04", c.pct}, std::pair{"08", c.cb}}) {
            record(type, text);
            if (text && c.routine != Calcula_AGB)
                values.append({type, QString::fromLatin1(text)});
        }
        grid(values);
        Evaluation ev = evaluation(c.method, "07");
        c.routine(ev);
        const QMap<QString, ResultLine> written = lines(c.method);
        EXPECT_EQ(written.size(), c.expected.size());
        for (const Expected& e : c.expected) {
            ASSERT_TRUE(written.contains(e.line)) << e.line;
            if (e.label) {
                EXPECT_EQ(written[e.line].label, QString::fromUtf8(e.label)) << e.line;
            }
            EXPECT_EQ(written[e.line].value, QString::fromUtf8(e.value)) << e.line;
        }
    }
}

TEST_F(ArmFamily, ServerCallsCarryTheMethodReferenceAgeAndSex)
{
    patient("0", 30, 4);  // coded age 30,04
    grid({{"04", "10"}, {"08", "30"}});
    Evaluation pct = evaluation("02", "07");
    Calcula_PCT(pct);
    EXPECT_EQ(lastArgs("GetPCT"), (QJsonArray{"M", "07", "02", 30.04}));
    EXPECT_EQ(lastArgs("GetPercentil"), (QJsonArray{"07", "02", 30.04, "M", "07", 10.0}));
    QStringList order;  // the lines are written "03", "04", then "01", "02"
    for (int row = 0; row < form->cdsResuAval.recordCount(); ++row)
        order << form->cdsResuAval.asStringAt(row, "CDSEQUAVAL");
    EXPECT_EQ(order, (QStringList{"03", "04", "01", "02"}));

    Evaluation cb = evaluation("04", "07");
    Calcula_CB(cb);
    EXPECT_EQ(lastArgs("GetPercentFix"), (QJsonArray{"07", "050", "04", "30"}));
}

TEST_F(ArmFamily, FailedReplyStopsTheRoutine)
{
    grid({{"04", "10"}, {"08", "30"}});
    server.answer = [](const QString&, const QJsonArray&) {
        return records::Reply::failure("sem tabela");
    };
    Evaluation pct = evaluation("02", "07");
    EXPECT_THROW(Calcula_PCT(pct), hostfw::ServerError);
    Evaluation agb = evaluation("08", "07");
    EXPECT_THROW(Calcula_AGB(agb), hostfw::ServerError);
    EXPECT_EQ(callsOf("SetResuAval"), 0);
}
