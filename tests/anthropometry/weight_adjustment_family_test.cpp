// The weight adjustment family through the dispatch table against a recording fake
// server: lines for measures worked out on paper, the band edges, a text that is no number.

#include "routine_fixture.h"

#include "anthropometry/dispatch.h"
#include "hostfw/errors.h"
#include "records/layouts.h"
#include "records/packet_codec.h"

using namespace anthropometry;
using namespace anthropometrytest;

namespace {

namespace L = records::layouts;

struct Value
{
    const char* type;
    const char* text;
    const char* unit = "";  // DSUNIDDADO: the limbs of a marked amputation
};

struct Line
{
    const char* sequence;
    const char* label;
    const char* value;
};

struct Case
{
    const char* sexCode;  // "0" M, "1" F, "3" I
    int years;
    const char* method;
    QList<Value> values;  // the data grid; for "26" and "27" the values recorded for the method
    QList<Line> expected;
};

const char* const kLoss = "Perda Peso - Resultado";
const char* const kLossClass = "Perda Peso - Classificação";
const char* const kWilkens = "Peso ajustado p/ obesos - Resultado";
const char* const kAnkle = "+  Tornozelo  1  Kg";
const char* const kKnee = "++  Joelho  3,500  Kg";

// clang-format off
const Case kCases[] = {
    // adequacy W x 100 / I, classified rounded to three decimals
    {"0", 45, "55", {{"17", "60"}, {"39", "70"}}, {{"01", "Sobrepeso", "116,667 %"}}},
    {"0", 45, "55", {{"17", "100"}, {"39", "70,0994"}}, {{"01", "Desnutrição Grave", "70,099 %"}}},
    {"0", 45, "55", {{"17", "100"}, {"39", "70,0996"}}, {{"01", "Desnutrição Moderada", "70,100 %"}}},  // rounds to 70,1
    {"0", 45, "55", {{"17", "100"}, {"39", "80,1"}}, {{"01", "Desnutrição Leve", "80,100 %"}}},
    {"0", 45, "55", {{"17", "100"}, {"39", "90,099"}}, {{"01", "Desnutrição Leve", "90,099 %"}}},
    {"0", 45, "55", {{"17", "100"}, {"39", "90,1"}}, {{"01", "Eutrofia", "90,100 %"}}},
    {"0", 45, "55", {{"17", "100"}, {"39", "119,999"}}, {{"01", "Sobrepeso", "119,999 %"}}},
    {"0", 45, "55", {{"17", "100"}, {"39", "120"}}, {{"01", "Obesidade", "120,000 %"}}},
    {"0", 45, "55", {{"39", "70"}}, {}},
    // loss by period: below the first limit not significant, up to the second significant
    {"0", 45, "56", {{"35", "80"}, {"36", "2"}, {"39", "76"}}, {{"01", "Perda significativa de Peso.", "5,000 %"}}},
    {"0", 45, "56", {{"35", "80"}, {"36", "3"}, {"39", "76"}}, {{"01", "Sem perda significativa de peso", "5,000 %"}}},
    {"0", 45, "56", {{"35", "80"}, {"36", "1"}, {"39", "76"}}, {{"01", "Perda grave de Peso.", "5,000 %"}}},
    {"0", 45, "56", {{"35", "80"}, {"36", "2"}, {"39", "80"}}, {{"01", "Não houve perda de peso", ""}}},
    {"0", 45, "56", {{"35", "100"}, {"36", "1"}, {"39", "99,001"}}, {{"01", "Sem perda significativa de peso", "0,999 %"}}},
    {"0", 45, "56", {{"35", "100"}, {"36", "1"}, {"39", "99"}}, {{"01", "Perda significativa de Peso.", "1,000 %"}}},
    {"0", 45, "56", {{"35", "100"}, {"36", "1"}, {"39", "97,999"}}, {{"01", "Perda grave de Peso.", "2,001 %"}}},
    {"0", 45, "56", {{"35", "80"}, {"36", "3"}, {"39", "74"}}, {{"01", "Perda significativa de Peso.", "7,500 %"}}},
    {"0", 45, "56", {{"35", "80"}, {"36", "4"}, {"39", "72"}}, {{"01", "Perda significativa de Peso.", "10,000 %"}}},
    {"0", 45, "56", {{"35", "80"}, {"36", "4"}, {"39", "71,9"}}, {{"01", "Perda grave de Peso.", "10,125 %"}}},
    {"0", 45, "56", {{"35", "80"}, {"36", "5"}, {"39", "76"}}, {{"01", "", "5,000 %"}}},
    {"0", 45, "56", {{"35", "80"}, {"36", ""}, {"39", "76"}}, {}},
    // loss as recorded for the method: up to the period's limit moderate
    {"0", 45, "26", {{"01", "76"}, {"35", "80"}, {"36", "2"}}, {{"01", kLoss, "5,00 %"}, {"02", kLossClass, "Perda Moderada"}}},
    {"0", 45, "26", {{"01", "76"}, {"35", "80"}, {"36", "1"}}, {{"01", kLoss, "5,00 %"}, {"02", kLossClass, "Perda Severa"}}},
    {"0", 45, "26", {{"01", "71,9"}, {"35", "80"}, {"36", "4"}}, {{"01", kLoss, "10,13 %"}, {"02", kLossClass, "Perda Severa"}}},
    {"0", 45, "26", {{"01", "76"}, {"35", "80"}}, {{"01", kLoss, "5,00 %"}, {"02", kLossClass, ""}}},
    {"0", 45, "26", {{"01", "80"}, {"35", "80"}, {"36", "2"}}, {{"01", kLoss, "Não houve perda de peso."}}},
    // adjusted weights
    {"0", 45, "57", {{"17", "60"}, {"39", "70"}}, {{"01", "", "67,500 Kg"}}},
    {"0", 45, "57", {{"17", "80"}, {"39", "70"}}, {{"01", "", "72,500 Kg"}}},
    {"0", 45, "57", {{"17", "60"}}, {}},
    {"0", 45, "63", {{"17", "60"}, {"39", "70"}}, {{"01", "", "63,200  Kg"}}},
    {"1", 32, "63", {{"17", "60"}, {"39", "70"}}, {{"01", "", "63,800  Kg"}}},
    {"3", 32, "63", {{"17", "60"}, {"39", "70"}}, {{"01", "Sem classificação", ""}}},
    {"1", 32, "27", {{"01", "100"}, {"02", "1,60"}}, {{"01", kWilkens, "72,808"}}},  // R = 24,9 x 2,56 = 63,744
    {"1", 32, "27", {{"01", "100"}}, {}},  // no height: no reference weight to adjust to
    // oedema: one line per mark, each with the corrected weight
    {"0", 45, "58", {{"01", "70"}, {"40", "1"}, {"41", "1"}, {"42", "0"}}, {{"01", kAnkle, "65,500  Kg"}, {"02", kKnee, "65,500  Kg"}}},
    {"0", 45, "58", {{"01", "70"}, {"42", "1"}}, {{"03", "+++  Raíz da Coxa  5,500  Kg", "64,500  Kg"}}},
    {"0", 45, "58", {{"01", "70"}, {"40", "1"}, {"41", "1"}, {"42", "1"}, {"43", "1"}}, {{"01", kAnkle, "49,000  Kg"}, {"02", kKnee, "49,000  Kg"}, {"03", "+++  Raíz da Coxa  5,500  Kg", "49,000  Kg"}, {"04", "++++  Anasarca  11  Kg", "49,000  Kg"}}},
    {"0", 45, "58", {{"01", "70"}, {"40", "0"}, {"43", "0"}}, {}},
    // amputation: mark x limbs x the part's fraction of body weight
    {"0", 45, "59", {{"01", "70"}, {"46", "1", "1"}, {"48", "1", "1"}}, {{"01", "", "60,480  Kg"}}},  // 0,066 + 0,07
    {"0", 45, "59", {{"01", "70"}, {"46", "1", "2"}, {"44", "0"}}, {{"01", "", "60,760  Kg"}}},  // 2 x 0,066
    {"0", 45, "59", {{"01", "100"}, {"50", "1", "1"}, {"44", "1", "1"}}, {{"01", "", "80,600  Kg"}}},  // 0,186 + 0,008
    {"0", 45, "59", {{"01", "70"}, {"46", "1"}}, {}},  // no limb count
    // Chumlea 1985
    {"0", 45, "52", {{"05", "15"}, {"08", "30"}, {"09", "50"}, {"12", "35"}}, {{"01", "", "68,060 Kg"}}},
    {"1", 32, "52", {{"05", "15"}, {"08", "30"}, {"09", "50"}, {"12", "35"}}, {{"01", "", "61,000 Kg"}}},
    {"0", 45, "52", {{"05", "1"}, {"08", "1"}, {"09", "1"}, {"12", "1"}}, {{"01", "", "0,000 Kg"}}},
    {"3", 45, "52", {{"05", "15"}, {"08", "30"}, {"09", "50"}, {"12", "35"}}, {{"01", "Sem classificação", ""}}},
    {"0", 45, "52", {{"05", "15"}, {"08", "30"}, {"09", "50"}}, {}},
    {"0", 70, "53", {{"09", "50"}}, {{"01", "", "162,390 cm"}}},
    {"1", 70, "53", {{"09", "50"}}, {{"01", "", "159,580 cm"}}},  // 84,88 - 16,8 + 91,5
    {"3", 70, "53", {{"09", "50"}}, {{"01", "Sem classificação", ""}}},
    // frame: height in cm over the wrist
    {"1", 32, "54", {{"02", "1,60"}, {"07", "16"}}, {{"01", "Média", "10,000"}}},
    {"1", 32, "54", {{"02", "1,60"}, {"07", "14,6"}}, {{"01", "Pequena", "10,959"}}},
    {"1", 32, "54", {{"02", "1,635"}, {"07", "15"}}, {{"01", "Média", "10,900"}}},
    {"1", 32, "54", {{"02", "1,41"}, {"07", "15"}}, {{"01", "Média", "9,400"}}},
    {"1", 32, "54", {{"02", "1,60"}, {"07", "17,1"}}, {{"01", "Grande", "9,357"}}},
    {"0", 45, "54", {{"02", "1,664"}, {"07", "16"}}, {{"01", "Média", "10,400"}}},
    {"0", 45, "54", {{"02", "1,68"}, {"07", "17,5"}}, {{"01", "Média", "9,600"}}},
    {"0", 45, "54", {{"02", "1,68"}, {"07", "17,6"}}, {{"01", "Grande", "9,545"}}},
    {"3", 45, "54", {{"02", "1,68"}, {"07", "17,6"}}, {{"01", "Sem classificação", ""}}},
    {"0", 45, "54", {{"02", "1,68"}}, {}},
};
// clang-format on

class WeightAdjustmentFamily : public RoutineTest
{
protected:
    void SetUp() override
    {
        RoutineTest::SetUp();
        server.answer = [this](const QString&, const QJsonArray& args) {
            QList<QVariantList> rows;  // GetInfoAval; the result writes ignore the payload
            for (const Value& v : recorded)
                if (args.size() > 3 && args.at(3).toString() == v.type)
                    rows.append(
                        {"0001", "900000000100", {}, recordedMethod, v.type, v.text, {}, {}});
            return records::Reply::success(records::encodePacket(packetOf(L::cdsInfoAval(), rows)));
        };
    }

    // Fills the data grid (with the units the fixture's grid leaves empty) or the recorded
    // values of the method, and runs its routine.
    void run(const QString& method, const QList<Value>& values)
    {
        const bool readsRecorded = method == "26" || method == "27";
        QList<QVariantList> rows;
        for (const Value& v : values)
            rows.append({v.type, "Tipo", QString::fromUtf8(v.text), v.unit, {}});
        form->cdsDadosAval.loadPacket(
            packetOf(L::cdsDadosAval(), readsRecorded ? QList<QVariantList>{} : rows));
        recorded = readsRecorded ? values : QList<Value>{};
        recordedMethod = method;
        Evaluation ev = evaluation(method);
        anthropometricRoutine(method)(ev);
    }

    QList<Value> recorded;
    QString recordedMethod;
};

}  // namespace

TEST_F(WeightAdjustmentFamily, LinesByMethodAndMeasure)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - kCases << " method " << c.method);
        patient(c.sexCode, c.years);
        form->cdsResuAval.clear();
        run(c.method, c.values);
        QMap<QString, ResultLine> expected;
        for (const Line& l : c.expected)
            expected.insert(l.sequence, {QString::fromUtf8(l.label), QString::fromUtf8(l.value)});
        EXPECT_EQ(lines(c.method), expected);
    }
}

TEST_F(WeightAdjustmentFamily, ATextThatIsNoNumberFailsTheRun)
{
    EXPECT_THROW(run("59", {{"01", "70"}, {"46", "1", "x"}}), hostfw::ConversionError);
    EXPECT_THROW(run("26", {{"01", "7O"}, {"35", "80"}}), hostfw::ConversionError);
}
