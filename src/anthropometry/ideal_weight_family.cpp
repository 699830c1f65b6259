#include "ideal_weight_family.h"

#include "evaluation.h"
#include "ideal_weight_messages.h"
#include "number_texts.h"
#include "reference_queries.h"

#include "hostfw/error_display.h"
#include "hostfw/errors.h"
#include "hostfw/numbers.h"
#include "hostfw/reply_check.h"
#include "hostfw/text.h"
#include "records/app_server.h"
#include "records/layouts.h"
#include "records/method_codes.h"
#include "workspace/assessment_form.h"
#include "workspace/energy_page.h"
#include "workspace/module_context.h"

#include <optional>

namespace anthropometry {

namespace {

using namespace records::data_type;
namespace L = records::layouts;
namespace M = records::method;

const QString kMethodCode = QStringLiteral("CDTBMETOAVAL");
const QString kWeight = QStringLiteral("VRPESO");

QString msg(const char* key)
{
    return msgPesoIdeal().Msg(QString::fromLatin1(key));
}

// The whole months shown in the header (edtMes); 0 when the text is not a number.
int ageMonths(Evaluation& ev)
{
    return ev.form().edtMes.toInt();
}

// The Metropolitan Life ideal weight of the frame at the height (VRPESOOSINI as text;
// empty when the reference has no row for them).
QString metropolitanWeight(Evaluation& ev, const Frame& frame, double heightCm)
{
    return ev
        .query(L::cdsCalcOssatura(),
               ev.server().GetCalcOssatura(ev.reference(), ev.sexLetter(), frame.code, heightCm))
        .asString(QStringLiteral("VRPESOOSINI"));
}

bool selected(records::DataSet& methods, QLatin1String code)
{
    return methods.locate(kMethodCode, QString(code))
           && methods.asString(QStringLiteral("IDTABELAAV")) == u"S";
}

// Unless a method that corrects the weight ("63", "57", "55") is selected, the ideal
// weight is recorded for the consultation and the method rows "55", "57" and "63" are
// posted again, so that their recorded ideal weight reaches the server. The method list
// is left on the row being calculated, so the run goes on with the one after it.
void recordIdealWeight(Evaluation& ev, const QString& weight)
{
    workspace::AssessmentForm& form = ev.form();
    records::DataSet& methods = form.cdsMetoAval;
    const bool corrected = selected(methods, M::kPesoObeso) || selected(methods, M::kPesAjust)
                           || selected(methods, M::kAdeqPes);
    if (!corrected) {
        hostfw::CheckResultServ(ev.server().SetAtuPesIde(form.key(), msg("Atu_Peso_Ideal"), weight),
                                true, 0);
        for (QLatin1String code : {M::kAdeqPes, M::kPesAjust, M::kPesoObeso}) {
            if (!methods.locate(kMethodCode, QString(code)))
                continue;
            if (!methods.isEditing())
                methods.edit();
            methods.setValue(QStringLiteral("CDFILIAL"), stCdFilial);
            methods.setValue(QStringLiteral("CDPACIENTE"), stCdPaciente);
            methods.setValue(QStringLiteral("DTCONSPACI"), dtConsulta);
            methods.post();
        }
    }
    methods.locate(kMethodCode, ev.method());
}

// A text of the energy panel as a number, typed with a decimal comma or point; an empty
// text is 0.
double panelNumber(const QString& text, const char* label)
{
    if (hostfw::EmptyString(text))
        return 0;
    return hostfw::StrToFloat(hostfw::NormalizeTypedNumber(text), QString::fromUtf8(label));
}

struct BodySize
{
    double weight = 0;    // kg
    double heightCm = 0;  // cm
};

// The weight and height the formula methods read: the data grid in the calculation run,
// the energy panel in the silent mode.
BodySize bodySize(Evaluation& ev, bool writeLines)
{
    if (writeLines)
        return {ev.readFromGrid(kPeso).value, settled(ev.readFromGrid(kAltura).value * 100)};
    workspace::EnergyPage& panel = ev.form().energyPage();
    return {panelNumber(panel.medPeso, "Peso"),
            settled(panelNumber(panel.medAltura, "Altura") * 100)};
}

enum class ReferenceBmi
{
    Must,          // "09": an absent height or an empty packet writes nothing
    BurrPhillips,  // "10": goes on without a height; a height that is not a number is 0
    Frisancho      // "14": an absent height or an empty reference BMI writes nothing
};

// The ideal weight of a reference BMI: the square of the height recorded for the method
// times the server's BMI for the sex and the coded age.
void referenceBmiWeight(Evaluation& ev, ReferenceBmi kind, const char* label)
{
    Measure height;
    if (kind == ReferenceBmi::BurrPhillips) {
        try {
            height = ev.readRecordedValue(kAltura);
        } catch (const hostfw::ConversionError&) {
            height = {true, 0};
        }
    } else {
        height = ev.readRecordedValue(kAltura);
        if (!height.present)
            return;
    }
    const records::DataSet& table =
        ev.query(L::cdsImcPesoIdeal(),
                 ev.server().GetImcPesoIdeal(ev.sexLetter(), ev.reference(), ev.codedAge()));
    const QString bmi = table.asString(QStringLiteral("VRTABEDIET"));
    if (kind == ReferenceBmi::Must ? table.isEmpty() : bmi.isEmpty())
        return;
    const double ideal =
        settled(height.value * height.value * table.asFloat(QStringLiteral("VRTABEDIET")));
    ev.writeResultLine(1, msg(label), threeDecimals(ideal));
}

// Weech's ideal weight for a child of y years and m months; 0 from 13 years on.
double weechWeight(int y, int m)
{
    if (y == 0 && m < 12)
        return (m + 9) / 2.0;
    if (y >= 1 && y <= 5)
        return 2.0 * y + 10;
    if (y >= 6 && y <= 12)
        return (7.0 * y - 5) / 2.0;
    return 0;
}

// The weight-for-age ratio's classification (first match from the top).
const char* weightForAgeClass(double r)
{
    if (r >= 110)
        return "N_Class_Ref";
    if (r >= 91)
        return "Normal";
    if (r >= 76)
        return "Gr1_Desnutr";
    if (r >= 61)
        return "Gr2_Desnutr";
    return "Gr3_Desnutr";
}

// The weight-for-height ratio's classification.
const char* weightForHeightClass(double r)
{
    if (r < 90)
        return "N_Class_Ref";
    if (r <= 110)
        return "Eutrofico";
    if (r <= 120)
        return "Sobrepeso";
    return "Obesidade";
}

// Line "02", the classification of a ratio. A ratio the reference does not classify
// gets the no-classification text as its description and an empty result, as every
// no-classification line: the text is longer than the 40 characters a result holds.
void writeClassification(Evaluation& ev, const QString& label, const char* key)
{
    if (QLatin1String(key) == "N_Class_Ref")
        ev.writeResultLine(2, msg(key), QString());
    else
        ev.writeResultLine(2, label, msg(key));
}

}  // namespace

Frame frameOf(const QString& sexLetter, double r)
{
    const bool male = sexLetter == u"M";
    const double smallAbove = male ? 10.4 : 11.0;
    const double largeBelow = male ? 9.6 : 10.1;
    if (r > smallAbove)
        return {QStringLiteral("0"), msg("Comp_Peq")};
    if (r < largeBelow)
        return {QStringLiteral("2"), msg("Comp_Gra")};
    return {QStringLiteral("1"), msg("Comp_Med")};
}

namespace {

struct FrameWeight
{
    Frame frame;
    QString ideal;
};

// The frame from the height (m) and the wrist (cm) and the Metropolitan Life weight of
// the frame at the height; a reference without a row for them writes the
// no-classification line and gives nothing.
std::optional<FrameWeight> metropolitanFrameWeight(Evaluation& ev, const Measure& height,
                                                   const Measure& wrist)
{
    const double heightCm = settled(height.value * 100);
    Frame frame = frameOf(ev.sexLetter(), settled(heightCm / wrist.value));
    QString ideal = metropolitanWeight(ev, frame, heightCm);
    if (ideal.isEmpty()) {
        ev.writeNoClassificationInReference();
        return std::nullopt;
    }
    return FrameWeight{std::move(frame), std::move(ideal)};
}

}  // namespace

// Metropolitan Life: the frame from the height and the wrist, the ideal weight of the
// frame at the height; recorded for the consultation unless the weight is corrected.
void Calcula_PesoIdeal(Evaluation& ev)
{
    const Measure height = ev.readFromGrid(kAltura);
    const Measure wrist = ev.readFromGrid(kOssaturaPunho);
    if (!height.present || !wrist.present || wrist.value <= 0)
        return;
    if (!ev.maleOrFemaleElseNoClassification())
        return;
    const auto frameWeight = metropolitanFrameWeight(ev, height, wrist);
    if (!frameWeight)
        return;
    const auto& [frame, ideal] = *frameWeight;
    recordIdealWeight(ev, ideal);
    ev.writeResultLine(1, msg("PesoIdeal"), ideal + msg("Kg"));
    ev.writeResultLine(2, msg("PesoIdeal"), frame.text);
}

// Grant: the Metropolitan Life weight of the frame and the adequacy of the current
// weight to it. A reference without a row for the height gets the no-classification
// line rather than a weight of " Kg".
void Calcula_PesoIdeal_Grant(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const Measure height = ev.readFromGrid(kAltura);
    const Measure wrist = ev.readFromGrid(kOssaturaPunho);
    if (wrist.value == 0)
        return;
    const auto frameWeight = metropolitanFrameWeight(ev, height, wrist);
    if (!frameWeight)
        return;
    const auto& [frame, ideal] = *frameWeight;
    const double idealValue =
        ev.queries().dataSet(L::cdsCalcOssatura()).asFloat(QStringLiteral("VRPESOOSINI"));
    const double adequacy =
        weight.value != 0 && idealValue != 0 ? settled(weight.value * 100 / idealValue) : 0;
    ev.writeResultLine(1, msg("PesoIdeal_Grant"), ideal + msg("Kg"));
    ev.writeResultLine(2, msg("PesoIdeal_Grant"), frame.text);
    ev.writeResultLine(3, msg("Perc_Adeq"), twoDecimals(adequacy, QStringLiteral(" %")));
}

void Calcula_PesoIdeal_Must(Evaluation& ev)
{
    referenceBmiWeight(ev, ReferenceBmi::Must, "PesoIdeal_Must");
}

void Calcula_PesoIdeal_BurrPhi(Evaluation& ev)
{
    referenceBmiWeight(ev, ReferenceBmi::BurrPhillips, "BurrPhil_Resul");
}

void Calcula_PesoIdeal_Frisancho(Evaluation& ev)
{
    referenceBmiWeight(ev, ReferenceBmi::Frisancho, "PesoFrisancho_Resul");
}

// Lorenz: (height in cm - 150) x 0,75 + 50, and the adequacy of the current weight to
// it. Below 83,33 cm the formula gives no weight (0 or less), and nothing is written.
void Calcula_PesoIdeal_Lorenz(Evaluation& ev, bool writeLines)
{
    const BodySize size = bodySize(ev, writeLines);
    if (size.heightCm == 0)
        return;
    const double ideal = settled((size.heightCm - 150) * 0.75 + 50);
    if (ideal <= 0)
        return;
    if (!writeLines) {
        ev.form().idealWeights.lower = ideal;
        return;
    }
    ev.writeResultLine(1, msg("PesoIdeal_Lorenz_Resultado"), twoDecimals(ideal, msg("Kg")));
    if (size.weight != 0)
        ev.writeResultLine(2, msg("Adeq_Lorenz"),
                           twoDecimals(settled(size.weight * 100 / ideal), QStringLiteral(" %")));
}

// The weights of a BMI from 18,5 to 24,9 at the height.
void Calcula_PesoIdeal_Imc(Evaluation& ev, bool writeLines)
{
    double heightCm = 0;
    if (writeLines) {
        heightCm = settled(ev.readFromGrid(kAltura).value * 100);
    } else if (hostfw::EmptyString(ev.form().energyPage().medAltura)) {
        hostfw::MensErro(msg("Altura_Inf"), false);
    } else {
        heightCm = bodySize(ev, false).heightCm;
    }
    if (heightCm == 0)
        return;
    const double square = (heightCm / 100) * (heightCm / 100);
    const double minimum = settled(18.5 * square);
    const double maximum = settled(24.9 * square);
    if (!writeLines) {
        ev.form().idealWeights.lower = minimum;
        ev.form().idealWeights.upper = maximum;
        return;
    }
    ev.writeResultLine(1, msg("PesoIdeal_Imc_Resultado"),
                       twoDecimals(minimum) + QStringLiteral(" - ") + twoDecimals(maximum)
                           + msg("Kg"));
}

// Weech: the ideal weight of a child by the years and months of the header.
void Calcula_PesoIdeal_Weech(Evaluation& ev, bool writeLines)
{
    const double ideal = weechWeight(ev.ageYears(), ageMonths(ev));
    if (ideal == 0)
        return;
    if (!writeLines) {
        ev.form().idealWeights.lower = ideal;
        return;
    }
    ev.writeResultLine(1, msg("PesoIdeal_Weech_Resultado"), twoDecimals(ideal));
}

// Weight for age: the weight as a percentage of the reference's 50th percentile for the
// age. A reference weight of 0 classifies nothing, as an absent one.
void Calcula_PesoIdeal_Idade(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    if (!weight.present)
        return;
    ev.queries().loadEach({&L::cdsPesoIdealIdade()},
                          ev.server().GetPesoIdade(ev.sexLetter(), ev.reference(),
                                                   QStringLiteral("050"), ev.ageYears(),
                                                   ageMonths(ev), 0));
    const records::DataSet& table = ev.queries().dataSet(L::cdsPesoIdealIdade());
    const double reference = table.asFloat(kWeight);
    if (table.asString(kWeight).isEmpty() || reference == 0) {
        ev.writeNoClassificationInReference();
        return;
    }
    const double r = settled(weight.value * 100 / reference);
    ev.writeResultLine(1, msg("PesoIdealIdade_Resul"), twoDecimals(r, QStringLiteral(" %")));
    writeClassification(ev, msg("PesoIdealIdade_Class"), weightForAgeClass(r));
    ev.writeResultLine(3, msg("PesoIdealIdade_Kg"),
                       twoDecimals(reference, QStringLiteral(" ") + QStringLiteral("Kg")));
}

// Weight for height: the second reference weight as a percentage of the first. A first
// weight of 0 classifies nothing, as an absent one.
void Calcula_PesoIdeal_Altura(Evaluation& ev)
{
    const Measure height = ev.readFromGrid(kAltura);
    const Measure weight = ev.readFromGrid(kPeso);
    if (!height.present || !weight.present || weight.value <= 0)
        return;
    ev.queries().loadEach({&L::cdsPesoIdealAlturaMF(), &L::cdsPesoIdealAltura()},
                          ev.server().GetPesoIdealAltura(ev.reference(), ev.ageYears(),
                                                         ageMonths(ev), settled(height.value * 100),
                                                         ev.sexLetter()));
    // The first packet is the reference weight for the child's height; the child's own
    // weight is compared with it (the second packet, the weight for the age, is not a
    // weight for height).
    const records::DataSet& forHeight = ev.queries().dataSet(L::cdsPesoIdealAlturaMF());
    if (forHeight.asString(kWeight).isEmpty() || forHeight.asFloat(kWeight) == 0) {
        ev.writeNoClassificationInReference();
        return;
    }
    const double r = settled(weight.value * 100 / forHeight.asFloat(kWeight));
    ev.writeResultLine(1, msg("PesoIdealAltura_Resul"), twoDecimals(r, QStringLiteral(" %")));
    writeClassification(ev, msg("PesoIdealAltura_Class"), weightForHeightClass(r));
}

void Calcula_Metodo_PesoIdeal(workspace::AssessmentForm& form, const QString& energyMethod,
                              const IdealWeightPass& energyPass)
{
    form.idealWeights.clear();
    const QString name =
        energyMethod.isEmpty() ? form.cbbPesoIdealRecText() : form.cbbPesoIdealText();
    records::DataSet& offered = form.cdsInfPesoIdeal;
    if (!name.isEmpty() && offered.locate(QStringLiteral("NMTBMETOAVAL"), name)) {
        const QString code = offered.asString(kMethodCode);
        using Silent = void (*)(Evaluation&, bool);
        const Silent routine = code == M::kPesoIdealLorenz  ? &Calcula_PesoIdeal_Lorenz
                               : code == M::kPesoIdealImc   ? &Calcula_PesoIdeal_Imc
                               : code == M::kPesoIdealWeech ? &Calcula_PesoIdeal_Weech
                                                            : nullptr;
        if (routine) {
            ReferenceQueries queries;
            Evaluation ev(form, pageDataSetsOf(form, code), queries, code, QString());
            routine(ev, false);
        }
    }
    if (!energyMethod.isEmpty() && energyPass)
        energyPass(form, energyMethod);
}

}  // namespace anthropometry
