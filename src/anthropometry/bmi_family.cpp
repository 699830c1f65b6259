#include "bmi_family.h"

#include "bmi_messages.h"
#include "evaluation.h"
#include "gestational_bmi_table.h"
#include "number_texts.h"
#include "reference_queries.h"

#include "records/app_server.h"
#include "records/layouts.h"
#include "records/method_codes.h"

namespace anthropometry {

namespace {

using namespace records::data_type;

QString msg(const char* key)
{
    return msgImc().Msg(QString::fromLatin1(key));
}

// The BMI as a clinician computes it (the quotient settled of its binary noise), so that
// every comparison and rounding below sees 64 / 1,60² as exactly 25.
double bmiOf(double weight, double height)
{
    return settled(weight / (height * height));
}

// Weight and height both given and above zero.
bool positive(const Measure& weight, const Measure& height)
{
    return weight.present && height.present && weight.value > 0 && height.value > 0;
}

struct TheoreticalWeights
{
    double minimum = 0;
    double middle = 0;
    double maximum = 0;
};

// The five lines of the two BMI methods with theoretical weights: the BMI and its adult
// classification when weight and height are both non-zero (0 and an empty text otherwise), then the
// three theoretical weights.
void writeBmiWithTheoreticalWeights(Evaluation& ev, const Measure& weight, const Measure& height,
                                    const TheoreticalWeights& weights)
{
    double bmi = 0;
    QString classification;
    if (weight.value != 0 && height.value != 0) {
        bmi = bmiOf(weight.value, height.value);
        classification = adultClassification(bmi);
    }
    ev.writeResultLine(1, msg("IMC_Resultado"), threeDecimals(bmi));
    ev.writeResultLine(2, msg("IMC_Frisa"), classification);
    ev.writeResultLine(5, msg("IMC_PesTeoMin"), twoDecimals(weights.minimum, kKilograms));
    ev.writeResultLine(6, msg("IMC_PesTeoMed"), twoDecimals(weights.middle, kKilograms));
    ev.writeResultLine(7, msg("IMC_PesTeoMax"), twoDecimals(weights.maximum, kKilograms));
}

}  // namespace

QString adultClassification(double bmi)
{
    if (bmi < 18.5)
        return msg("Baix_Peso");
    if (bmi < 25)
        return msg("Adq_Eut");
    if (bmi < 30)
        return msg("Sobrepeso");
    return msg("Obesidade");
}

QString elderlyClassification(double bmi)
{
    if (round3(bmi) <= 22)
        return msg("Baix_Peso");
    if (bmi < 27)
        return msg("Adq_Eut");
    return msg("Sobrepeso");
}

QString gestationalClassification(double bmi, int week)
{
    const std::optional<GestationalBands> bands = gestationalBands(week);
    if (!bands)
        return {};
    const double rounded = round3(bmi);
    if (rounded <= bands->lowTo)
        return msg("Baix_Peso");
    if (rounded >= bands->adequateFrom && rounded <= bands->adequateTo)
        return msg("Adequada");
    if (rounded >= bands->overweightFrom && rounded <= bands->overweightTo)
        return msg("Sobrepeso");
    if (rounded >= bands->obeseFrom)
        return msg("Obesidade");
    return {};
}

// theoretical weights from the height with the fixed BMIs 18.5, 21.7 and 24.9.
void Calcula_IMC(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const Measure height = ev.readFromGrid(kAltura);
    TheoreticalWeights weights;
    if (height.present) {
        const double square = height.value * height.value;
        weights = {settled(square * 18.5), settled(square * 21.7), settled(square * 24.9)};
    }
    writeBmiWithTheoreticalWeights(ev, weight, height, weights);
}

// theoretical weights from the BMIs of the chosen reference for the patient's
// age and sex.
void Calcula_IMC_Must(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const Measure height = ev.readFromGrid(kAltura);
    TheoreticalWeights weights;
    if (height.present) {
        const records::DataSet& table =
            ev.query(records::layouts::cdsImcPesoTeorico(),
                     ev.server().GetImcPesoTeorico(ev.reference(), ev.codedAge(), ev.sexLetter()));
        const double square = height.value * height.value;
        weights = {settled(square * table.asFloat(QStringLiteral("VRTABEDIET_MIN"))),
                   settled(square * table.asFloat(QStringLiteral("VRTABEDIET_MED"))),
                   settled(square * table.asFloat(QStringLiteral("VRTABEDIET_MAX")))};
    }
    writeBmiWithTheoreticalWeights(ev, weight, height, weights);
}

// the BMI corrected for the fraction of body weight kept after the amputation.
void Calcula_IMC_Amputado(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const Measure height = ev.readFromGrid(kAltura);
    const Measure before = ev.readFromGrid(kPesoAntesAmputacao);
    if (weight.value == 0 || height.value == 0 || before.value == 0)
        return;
    const double kept = 1 - (before.value - weight.value) / before.value;
    const double bmi = settled(weight.value / (height.value * height.value * kept));
    ev.writeResultLine(1, msg("IMC_Amputado"), threeDecimals(bmi));
    ev.writeResultLine(2, msg("IMC_Amputado_Clas"), adultClassification(bmi));
}

// the BMI's percentile in the adolescent reference.
void Calcula_IMCAdolescente(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const Measure height = ev.readFromGrid(kAltura);
    if (!positive(weight, height))
        return;
    if (!ev.maleOrFemaleElseNoClassification())
        return;
    const QString code = ev.percentileBracket(bmiOf(weight.value, height.value)).code;
    if (code.isEmpty()) {
        ev.writeNoClassificationInReference();
        return;
    }
    const QString p5 = QStringLiteral("005");
    const QString p85 = QStringLiteral("085");
    QString percentile;
    QString classification;
    if (code < p5) {
        percentile = msg("Percentil") + QStringLiteral(" < 5");
        classification = msg("Baix_Peso");
    } else if (code == p5) {
        percentile = msg("Percentil") + QStringLiteral(" 5");
        classification = msg("Adq_Eut");
    } else if (code < p85) {
        percentile =
            msg("Percentil") + QStringLiteral(" ") + msg("Entre") + QStringLiteral(" 5 - 85");
        classification = msg("Adq_Eut");
    } else {
        percentile = msg("Percentil") + QStringLiteral(" > 85");
        classification = msg("Sobrepeso");
    }
    ev.writeResultLine(1, percentile, classification);
}

// the adult cut-offs on the BMI rounded to three decimals.
void Calcula_IMCOms98(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const Measure height = ev.readFromGrid(kAltura);
    if (!positive(weight, height))
        return;
    const double bmi = bmiOf(weight.value, height.value);
    ev.writeResultLine(1, adultClassification(round3(bmi)), threeDecimals(bmi));
}

// the elderly cut-offs 22 and 27.
void Calcula_IMCIdoso(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const Measure height = ev.readFromGrid(kAltura);
    if (!positive(weight, height))
        return;
    const double bmi = bmiOf(weight.value, height.value);
    ev.writeResultLine(1, elderlyClassification(bmi), threeDecimals(bmi));
}

// the bands of the gestational week.
void Calcula_IMCGestante(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const Measure height = ev.readFromGrid(kAltura);
    const Measure week = ev.readWholeFromGrid(kSemanaGestacional);
    if (!positive(weight, height) || !week.present)
        return;
    const int g = int(week.value);
    if (g < kFirstGestationalWeek || g > kLastGestationalWeek) {
        ev.writeNoClassification();
        return;
    }
    const double bmi = bmiOf(weight.value, height.value);
    ev.writeResultLine(1, gestationalClassification(bmi, g), threeDecimals(bmi));
}

}  // namespace anthropometry
