// The ideal weight family against a recording fake server: the lines of each method for
// measures worked out on paper, the frame limits, the classification limits of weight
// for age and for height, the server calls in order, the weight recorded for the
// consultation by Metropolitan Life, and the silent mode behind Calcula_Metodo_PesoIdeal.

#include "routine_fixture.h"

#include "anthropometry/assessment_pass.h"
#include "anthropometry/ideal_weight_family.h"
#include "hostfw/error_display.h"
#include "records/layouts.h"
#include "records/packet_codec.h"
#include "workspace/energy_page.h"

using namespace anthropometry;
using namespace anthropometrytest;

namespace {

using Routine = void (*)(Evaluation&);
namespace L = records::layouts;

// The routines that also run silently, in their writing mode.
const Routine lorenz = [](Evaluation& ev) { Calcula_PesoIdeal_Lorenz(ev, true); };
const Routine imc = [](Evaluation& ev) { Calcula_PesoIdeal_Imc(ev, true); };
const Routine weech = [](Evaluation& ev) { Calcula_PesoIdeal_Weech(ev, true); };

constexpr double kNoRow = -1;      // the reference answers an empty packet
constexpr double kNullValue = -2;  // a row whose value is null

struct Case
{
    const char* sexCode;  // "0" M, "1" F, "3" I
    int years;
    int months;
    const char* method;
    Routine routine;
    const char* weight;          // "01"; nullptr: no row
    const char* height;          // "02" (the recorded value of the method for "09", "10", "14")
    const char* wrist;           // "07"
    double reference;            // VRPESOOSINI, VRTABEDIET, VRPESO (for "25" of the first packet)
    QList<ResultLine> expected;  // lines "01", "02", ... in order
};

ResultLine line(const char* label, const char* value)
{
    return {QString::fromUtf8(label), QString::fromUtf8(value)};
}

const char* const kML = "Peso Ideal (Metropolitan Life)";
const char* const kGrant = "Peso Ideal Grant";
const char* const kAdequacy = "%  Adequação";
const char* const kNoRef = "Sem classificação na referência informada.";
const char* const kAge = "Peso Ideal (Idade) Resultado";
const char* const kAgeClass = "Peso Ideal (Idade) Classificação";
const char* const kAgeKg = "Peso Ideal (Idade) Resultado - Kg";
const char* const kHeight = "Peso Ideal (Altura) Resultado";
const char* const kHeightClass = "Peso Ideal (Altura) Classificação";

// clang-format off
const Case kCases[] = {
    // Metropolitan Life: r = height in cm / wrist; men medium from 9,6 to 10,4
    {"0", 30, 0, "06", Calcula_PesoIdeal, nullptr, "1,75", "16,8", 64.5, {line(kML, "64,5 Kg"), line(kML, "Compleição Pequena")}},  // 175 / 16,8 = 10,42
    {"0", 30, 0, "06", Calcula_PesoIdeal, nullptr, "1,664", "16", 64, {line(kML, "64 Kg"), line(kML, "Compleição Média")}},  // 166,4 / 16 = 10,4 exactly
    {"0", 30, 0, "06", Calcula_PesoIdeal, nullptr, "1,68", "17,5", 70, {line(kML, "70 Kg"), line(kML, "Compleição Média")}},  // 168 / 17,5 = 9,6 exactly
    {"0", 30, 0, "06", Calcula_PesoIdeal, nullptr, "1,68", "17,6", 70, {line(kML, "70 Kg"), line(kML, "Compleição Grande")}},  // 168 / 17,6 = 9,55
    // women: medium from 10,1 to 11,0
    {"1", 30, 0, "06", Calcula_PesoIdeal, nullptr, "1,65", "15", 58.25, {line(kML, "58,25 Kg"), line(kML, "Compleição Média")}},  // 165 / 15 = 11 exactly
    {"1", 30, 0, "06", Calcula_PesoIdeal, nullptr, "1,60", "14,5", 55, {line(kML, "55 Kg"), line(kML, "Compleição Pequena")}},  // 160 / 14,5 = 11,03
    {"1", 30, 0, "06", Calcula_PesoIdeal, nullptr, "1,60", "16", 55, {line(kML, "55 Kg"), line(kML, "Compleição Grande")}},  // 160 / 16 = 10 < 10,1
    {"1", 30, 0, "06", Calcula_PesoIdeal, nullptr, "1,40", "14", kNoRow, {line(kNoRef, "")}},
    {"3", 30, 0, "06", Calcula_PesoIdeal, nullptr, "1,75", "17", 70, {line("Sem classificação", "")}},  // no frame asked for "I"
    {"0", 30, 0, "06", Calcula_PesoIdeal, nullptr, "1,75", "0", 70, {}},
    {"0", 30, 0, "06", Calcula_PesoIdeal, nullptr, nullptr, "17", 70, {}},
    {"0", 30, 0, "06", Calcula_PesoIdeal, nullptr, "1,75", nullptr, 70, {}},
    // Grant: the same frame and weight, and the adequacy W x 100 / ideal
    {"0", 30, 0, "19", Calcula_PesoIdeal_Grant, nullptr, "1,75", "17", 70, {line(kGrant, "70 Kg"), line(kGrant, "Compleição Média"), line(kAdequacy, "0,00 %")}},  // no weight: 0,00 %
    {"0", 30, 0, "19", Calcula_PesoIdeal_Grant, "77", "1,75", "17", 70, {line(kGrant, "70 Kg"), line(kGrant, "Compleição Média"), line(kAdequacy, "110,00 %")}},  // 77 x 100 / 70 = 110
    {"1", 30, 0, "19", Calcula_PesoIdeal_Grant, "50", "1,60", "14,5", 62.5, {line(kGrant, "62,5 Kg"), line(kGrant, "Compleição Pequena"), line(kAdequacy, "80,00 %")}},  // 50 / 62,5 = 80 %
    {"3", 30, 0, "19", Calcula_PesoIdeal_Grant, "70", "1,75", "17", 70, {line(kGrant, "70 Kg"), line(kGrant, "Compleição Média"), line(kAdequacy, "100,00 %")}},  // "I" by the women's row: 10,29 is medium
    {"0", 30, 0, "19", Calcula_PesoIdeal_Grant, "70", "1,75", "17", kNoRow, {line(kNoRef, "")}},  // no weight " Kg" from an empty reference
    {"0", 30, 0, "19", Calcula_PesoIdeal_Grant, "70", "1,75", nullptr, 70, {}},
    // reference BMIs: the recorded height squared times VRTABEDIET
    {"0", 30, 0, "09", Calcula_PesoIdeal_Must, nullptr, "1,60", nullptr, 22, {line("Peso Ideal (Must) Resultado", "56,320")}},  // 2,56 x 22
    {"0", 30, 0, "09", Calcula_PesoIdeal_Must, nullptr, nullptr, nullptr, 22, {}},
    {"0", 30, 0, "09", Calcula_PesoIdeal_Must, nullptr, "", nullptr, 22, {}},
    {"0", 30, 0, "09", Calcula_PesoIdeal_Must, nullptr, "1,60", nullptr, kNoRow, {}},
    {"1", 30, 0, "10", Calcula_PesoIdeal_BurrPhi, nullptr, "1,55", nullptr, 20.5, {line("Peso Ideal (Burr Phillps) Resultado", "49,251")}},  // 2,4025 x 20,5 = 49,25125
    {"1", 30, 0, "10", Calcula_PesoIdeal_BurrPhi, nullptr, nullptr, nullptr, 20.5, {line("Peso Ideal (Burr Phillps) Resultado", "0,000")}},  // goes on without a height
    {"1", 30, 0, "10", Calcula_PesoIdeal_BurrPhi, nullptr, "1,5O", nullptr, 20.5, {line("Peso Ideal (Burr Phillps) Resultado", "0,000")}},  // not a number: 0
    {"1", 30, 0, "10", Calcula_PesoIdeal_BurrPhi, nullptr, "1,55", nullptr, kNullValue, {}},
    {"0", 30, 0, "14", Calcula_PesoIdeal_Frisancho, nullptr, "1,70", nullptr, 21.5, {line("Peso Ideal (Frisancho) Resultado", "62,135")}},  // 2,89 x 21,5
    {"0", 30, 0, "14", Calcula_PesoIdeal_Frisancho, nullptr, "1,70", nullptr, kNullValue, {}},
    {"0", 30, 0, "14", Calcula_PesoIdeal_Frisancho, nullptr, nullptr, nullptr, 21.5, {}},
    // Lorenz: (Hc - 150) x 0,75 + 50
    {"1", 30, 0, "20", lorenz, nullptr, "1,60", nullptr, 0, {line("Peso Ideal(Lorenz) Resultado", "57,50 Kg")}},
    {"1", 30, 0, "20", lorenz, "69", "1,60", nullptr, 0, {line("Peso Ideal(Lorenz) Resultado", "57,50 Kg"), line("% Adequação Lorenz", "120,00 %")}},  // 69 / 57,5 = 120 %
    {"1", 30, 0, "20", lorenz, "69", nullptr, nullptr, 0, {}},
    {"1", 30, 0, "20", lorenz, "9", "0,80", nullptr, 0, {}},  // (80 - 150) x 0,75 + 50 = -2,5: no weight, no division by it
    // IMC-OMS: 18,5 and 24,9 times the square of the height
    {"1", 30, 0, "22", imc, nullptr, "1,60", nullptr, 0, {line("Peso Ideal(IMC) Resultado", "47,36 - 63,74 Kg")}},  // 18,5 x 2,56 = 47,36; 24,9 x 2,56 = 63,744
    {"0", 30, 0, "22", imc, nullptr, "1,50", nullptr, 0, {line("Peso Ideal(IMC) Resultado", "41,63 - 56,03 Kg")}},  // 18,5 x 2,25 = 41,625 (half up); 24,9 x 2,25 = 56,025
    {"1", 30, 0, "22", imc, "60", nullptr, nullptr, 0, {}},
    // Weech by the header's years and months, each formula at its edges (3 years:
    // ChosenMethodLeavesTheIdealWeights)
    {"0", 0, 8, "23", weech, nullptr, nullptr, nullptr, 0, {line("Peso Ideal(Weech) Resultado", "8,50")}},  // (8 + 9) / 2
    {"0", 5, 11, "23", weech, nullptr, nullptr, nullptr, 0, {line("Peso Ideal(Weech) Resultado", "20,00")}},  // 2 x 5 + 10
    {"0", 6, 0, "23", weech, nullptr, nullptr, nullptr, 0, {line("Peso Ideal(Weech) Resultado", "18,50")}},  // (7 x 6 - 5) / 2
    {"0", 12, 11, "23", weech, nullptr, nullptr, nullptr, 0, {line("Peso Ideal(Weech) Resultado", "39,50")}},  // (84 - 5) / 2
    {"0", 13, 0, "23", weech, nullptr, nullptr, nullptr, 0, {}},
    // weight for age: R = W x 100 / VRPESO, classified from the top; no class: the text as the description of "02"
    {"0", 2, 0, "24", Calcula_PesoIdeal_Idade, "11", nullptr, nullptr, 10, {line(kAge, "110,00 %"), line(kNoRef, ""), line(kAgeKg, "10,00 Kg")}},
    {"0", 2, 0, "24", Calcula_PesoIdeal_Idade, "10,999", nullptr, nullptr, 10, {line(kAge, "109,99 %"), line(kAgeClass, "Normal"), line(kAgeKg, "10,00 Kg")}},
    {"0", 2, 0, "24", Calcula_PesoIdeal_Idade, "9,1", nullptr, nullptr, 10, {line(kAge, "91,00 %"), line(kAgeClass, "Normal"), line(kAgeKg, "10,00 Kg")}},
    {"0", 2, 0, "24", Calcula_PesoIdeal_Idade, "9,099", nullptr, nullptr, 10, {line(kAge, "90,99 %"), line(kAgeClass, "Grau I ou Desnutrição Leve"), line(kAgeKg, "10,00 Kg")}},
    {"0", 2, 0, "24", Calcula_PesoIdeal_Idade, "7,6", nullptr, nullptr, 10, {line(kAge, "76,00 %"), line(kAgeClass, "Grau I ou Desnutrição Leve"), line(kAgeKg, "10,00 Kg")}},
    {"0", 2, 0, "24", Calcula_PesoIdeal_Idade, "7,599", nullptr, nullptr, 10, {line(kAge, "75,99 %"), line(kAgeClass, "Grau II ou Desnutrição Moderada"), line(kAgeKg, "10,00 Kg")}},
    {"0", 2, 0, "24", Calcula_PesoIdeal_Idade, "6,1", nullptr, nullptr, 10, {line(kAge, "61,00 %"), line(kAgeClass, "Grau II ou Desnutrição Moderada"), line(kAgeKg, "10,00 Kg")}},
    {"0", 2, 0, "24", Calcula_PesoIdeal_Idade, "7,3", nullptr, nullptr, 12.2, {line(kAge, "59,84 %"), line(kAgeClass, "Grau III ou Desnutrição Grave"), line(kAgeKg, "12,20 Kg")}},  // 730 / 12,2 = 59,836
    {"0", 2, 0, "24", Calcula_PesoIdeal_Idade, "11", nullptr, nullptr, kNoRow, {line(kNoRef, "")}},
    {"0", 2, 0, "24", Calcula_PesoIdeal_Idade, "11", nullptr, nullptr, 0, {line(kNoRef, "")}},  // a reference weight of 0 divides nothing
    {"0", 2, 0, "24", Calcula_PesoIdeal_Idade, nullptr, nullptr, nullptr, 10, {}},
    // weight for height: R = W x 100 / the reference weight for the height (first VRPESO)
    {"1", 4, 0, "25", Calcula_PesoIdeal_Altura, "22", "1,02", nullptr, 20, {line(kHeight, "110,00 %"), line(kHeightClass, "Eutrófico")}},  // 22 x 100 / 20
    {"1", 4, 0, "25", Calcula_PesoIdeal_Altura, "18", "1,02", nullptr, 20, {line(kHeight, "90,00 %"), line(kHeightClass, "Eutrófico")}},
    {"1", 4, 0, "25", Calcula_PesoIdeal_Altura, "17,998", "1,02", nullptr, 20, {line(kHeight, "89,99 %"), line(kNoRef, "")}},
    {"1", 4, 0, "25", Calcula_PesoIdeal_Altura, "22,002", "1,02", nullptr, 20, {line(kHeight, "110,01 %"), line(kHeightClass, "Sobrepeso")}},
    {"1", 4, 0, "25", Calcula_PesoIdeal_Altura, "24", "1,02", nullptr, 20, {line(kHeight, "120,00 %"), line(kHeightClass, "Sobrepeso")}},
    {"1", 4, 0, "25", Calcula_PesoIdeal_Altura, "24,002", "1,02", nullptr, 20, {line(kHeight, "120,01 %"), line(kHeightClass, "Obesidade")}},
    {"1", 4, 0, "25", Calcula_PesoIdeal_Altura, "22", "1,02", nullptr, kNoRow, {line(kNoRef, "")}},
    {"1", 4, 0, "25", Calcula_PesoIdeal_Altura, nullptr, "1,02", nullptr, 20, {}},  // no weight to compare: nothing
    {"1", 4, 0, "25", Calcula_PesoIdeal_Altura, "22", "1,02", nullptr, 0, {line(kNoRef, "")}},
    {"1", 4, 0, "25", Calcula_PesoIdeal_Altura, "22", nullptr, nullptr, 20, {}},
};
// clang-format on

class IdealWeightFamily : public RoutineTest
{
protected:
    void SetUp() override
    {
        RoutineTest::SetUp();
        server.answer = [this](const QString& method, const QJsonArray& args) {
            if (method == "GetCalcOssatura")
                return ok(packet(L::cdsCalcOssatura(), reference, {reference + 10}));
            if (method == "GetImcPesoIdeal")
                return ok(packet(L::cdsImcPesoIdeal(), reference));
            if (method == "GetPesoIdade")
                return ok(QJsonArray{packet(L::cdsPesoIdealIdade(), reference)});
            if (method == "GetPesoIdealAltura")
                return ok(QJsonArray{packet(L::cdsPesoIdealAlturaMF(), reference),
                                     packet(L::cdsPesoIdealAltura(), compared)});
            if (method == "GetResuAval" || method == "GetAtualizaDados")  // the pass's own reads
                return ok(records::encodePacket(packetOf(
                    method == "GetResuAval" ? L::cdsResuAval() : L::cdsAtualizaDados(), {})));
            if (method == "GetInfoAval") {
                const QString code = args.at(3).toString() == "02" ? recordedMethod : QString();
                return ok(records::encodePacket(packetOf(
                    L::cdsInfoAval(),
                    recordedHeight.isNull()
                        ? QList<QVariantList>{}
                        : QList<QVariantList>{
                            {"0001", "900000000100", {}, code, "02", recordedHeight, {}, {}}})));
            }
            return ok(QJsonValue());
        };
    }

    static records::Reply ok(const QJsonValue& payload) { return records::Reply::success(payload); }
    // One row of value and then rest; no row for kNoRow, a null value for kNullValue.
    static QJsonObject packet(const records::DataSetLayout& layout, double value,
                              const QVariantList& rest = {})
    {
        QList<QVariantList> rows;
        if (value != kNoRow)
            rows.append(QVariantList{value == kNullValue ? QVariant() : QVariant(value)} + rest);
        return records::encodePacket(packetOf(layout, rows));
    }

    double reference = 0;
    double compared = 0;
    QString recordedHeight;  // null: no recorded row
    QString recordedMethod;
};

}  // namespace

TEST_F(IdealWeightFamily, LinesByMethodAndMeasure)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - kCases << " method " << c.method);
        patient(c.sexCode, c.years, c.months);
        form->cdsResuAval.clear();
        reference = c.reference;
        const QString method = QString::fromLatin1(c.method);
        const bool recorded = method == "09" || method == "10" || method == "14";
        recordedMethod = method;
        recordedHeight = recorded && c.height ? QString::fromUtf8(c.height) : QString();
        QList<std::pair<QString, QString>> values;
        const std::pair<const char*, const char*> measures[] = {
            {"01", c.weight}, {"02", recorded ? nullptr : c.height}, {"07", c.wrist}};
        for (const auto& [type, text] : measures)
            if (text)
                values.append({QString::fromLatin1(type), QString::fromUtf8(text)});
        grid(values);
        Evaluation ev = evaluation(method, QStringLiteral("01"));
        c.routine(ev);
        const QMap<QString, ResultLine> written = lines(method);
        ASSERT_EQ(written.size(), c.expected.size());
        for (int i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(written.value(lineNumber(i + 1)), c.expected.at(i)) << i + 1;
    }
}

TEST_F(IdealWeightFamily, ServerArgumentsInOrder)
{
    reference = 70;
    compared = 22;
    patient(QStringLiteral("0"), 4, 7);
    grid({{"01", "16"}, {"02", "1,75"}, {"07", "16,8"}});
    recordedMethod = QStringLiteral("09");
    recordedHeight = QStringLiteral("1,60");
    const std::pair<const char*, Routine> routines[] = {{"06", Calcula_PesoIdeal},
                                                        {"09", Calcula_PesoIdeal_Must},
                                                        {"24", Calcula_PesoIdeal_Idade},
                                                        {"25", Calcula_PesoIdeal_Altura}};
    for (auto [code, routine] : routines) {
        Evaluation ev = evaluation(QString::fromLatin1(code), QStringLiteral("03"));
        routine(ev);
    }
    // the frame of 175 / 16,8 = 10,42 is small ("0"); the height goes in cm
    EXPECT_EQ(lastArgs("GetCalcOssatura"), (QJsonArray{"03", "M", "0", 175.0}));
    EXPECT_EQ(lastArgs("SetAtuPesIde").at(4), "70");  // the recorded weight
    EXPECT_EQ(lastArgs("GetImcPesoIdeal"), (QJsonArray{"M", "03", 4.07}));
    EXPECT_EQ(lastArgs("GetPesoIdade"), (QJsonArray{"M", "03", "050", 4, 7, 0}));
    EXPECT_EQ(lastArgs("GetPesoIdealAltura"), (QJsonArray{"03", 4, 7, 175.0, "M"}));
}

TEST_F(IdealWeightFamily, MetropolitanLifeRecordsTheWeightUnlessACorrectionIsSelected)
{
    // A run over the method list "06", "19", "55", "57", "63", "24" with the corrections
    // "55", "57" and "63" unselected, then with each of them selected. The calls of
    // interest, in order.
    reference = 70;
    grid({{"01", "77"}, {"02", "1,75"}, {"07", "17"}});
    const QStringList alone{"GetCalcOssatura", "GetCalcOssatura", "GetPesoIdade"};
    AssessmentPass pass;
    for (const QString corrected : {"", "55", "57", "63"}) {
        SCOPED_TRACE(corrected.toStdString());
        server.calls.clear();
        QList<QVariantList> rows;
        for (const QString code : {"06", "19", "55", "57", "63", "24"}) {
            const bool selected = code == corrected || code.toInt() < 50;
            rows.append({"0001", "900000000100",
                         QDateTime(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC), selected ? "S" : "N",
                         selected ? "01" : "", code, "0", "Método " + code, "", "", ""});
        }
        form->cdsMetoAval.loadPacket(packetOf(L::cdsMetoAval(), rows));
        pass(*form);
        QStringList traffic;
        for (const auto& call : server.calls) {
            if (call.method == "SetMetoAval") {
                const auto d = records::decodeDelta(call.args.at(0)).changes.value(0);
                const QVariantList& row = d.newValues.value(5).isNull() ? d.oldValues : d.newValues;
                traffic.append("SetMetoAval " + row.value(5).toString());
            } else if (!QStringList{"GetResuAval", "GetAtualizaDados", "DelResuAval", "SetResuAval"}
                            .contains(call.method))
                traffic.append(call.method);
        }
        const QStringList recorded{"GetCalcOssatura", "SetAtuPesIde",   "SetMetoAval 55",
                                   "SetMetoAval 57",  "SetMetoAval 63", "GetCalcOssatura",
                                   "GetPesoIdade"};
        EXPECT_EQ(traffic, corrected.isEmpty() ? recorded : alone);
        EXPECT_EQ(form->cdsMetoAval.asString("CDTBMETOAVAL"), "06");  // back on the first row
    }
}

namespace {

struct ChosenCase
{
    const char* energyMethod;  // "": the recommendation page
    int energyChoice;          // cbbPesoIdeal item index
    int recommendationChoice;  // cbbPesoIdealRec item index
    const char* height;        // medAltura
    double lower;
    double upper;
    const char* error = nullptr;
};

// clang-format off
// the items: 0 Lorenz ("20"), 1 IMC-OMS ("22"), 2 Weech ("23"), 3 Metropolitan Life ("06"); a child of 3 years weighing 69 kg
const ChosenCase kChosen[] = {
    {"30", 0, -1, "1,60", 57.5, 0},      // (160 - 150) x 0,75 + 50
    {"32", 1, -1, "1,60", 47.36, 63.744},  // 18,5 and 24,9 x 2,56
    {"32", 1, -1, "", 0, 0, "Altura deve ser informada."},
    {"33", 2, -1, "1,60", 16, 0},        // 2 x 3 + 10
    {"34", 3, -1, "1,60", 0, 0},         // not computed here
    {"30", -1, 0, "1,60", 0, 0},         // nothing chosen on the energy page
    {"", 0, 1, "1,60", 47.36, 63.744},   // the recommendation page reads its own choice
    {"", 1, -1, "1,60", 0, 0},
    {"", -1, 2, "", 16, 0},
};
// clang-format on

}  // namespace

TEST_F(IdealWeightFamily, ChosenMethodLeavesTheIdealWeights)
{
    patient(QStringLiteral("1"), 3);
    const QStringList names{"Peso Ideal (Lorenz)", "Peso Ideal (IMC-OMS)", "Peso Ideal (Weech)",
                            "Peso Ideal (Metropolitan Life)"};
    form->cdsInfPesoIdeal.loadPacket(packetOf(
        L::cdsInfPesoIdeal(),
        {{"20", names[0], ""}, {"22", names[1], ""}, {"23", names[2], ""}, {"06", names[3], ""}}));
    form->cbbPesoIdeal = form->cbbPesoIdealRec = names;
    for (const ChosenCase& c : kChosen) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - kChosen);
        form->cbbPesoIdealIndex = c.energyChoice;
        form->cbbPesoIdealRecIndex = c.recommendationChoice;
        form->energyPage().medPeso = QStringLiteral("69");
        form->energyPage().medAltura = QString::fromLatin1(c.height);
        form->idealWeights = {99, 99, "1.000", "2.000"};
        QStringList passes;
        hostfw::ErrorRecorder errors;
        Calcula_Metodo_PesoIdeal(*form, QString::fromLatin1(c.energyMethod),
                                 [&](workspace::AssessmentForm& f, const QString& k) {
                                     EXPECT_EQ(&f, form.get());
                                     passes.append(k);
                                 });
        EXPECT_DOUBLE_EQ(form->idealWeights.lower, c.lower);
        EXPECT_DOUBLE_EQ(form->idealWeights.upper, c.upper);
        EXPECT_EQ(form->idealWeights.basalText, "0");
        EXPECT_EQ(form->idealWeights.totalText, "0");
        EXPECT_EQ(passes, *c.energyMethod ? QStringList{c.energyMethod} : QStringList{});
        EXPECT_EQ(errors.messages(), c.error ? QStringList{c.error} : QStringList{});
    }
    EXPECT_TRUE(form->cdsResuAval.isEmpty() && form->cdsResuAvalEnerg.isEmpty());
    EXPECT_EQ(server.calls.size(), 0);  // the silent mode asks nothing and writes nothing
}
