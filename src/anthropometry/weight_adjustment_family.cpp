#include "weight_adjustment_family.h"

#include "evaluation.h"
#include "number_texts.h"
#include "weight_adjustment_messages.h"

#include "hostfw/text.h"
#include "records/method_codes.h"
#include "workspace/workspace_messages.h"

#include <algorithm>

namespace anthropometry {

namespace {

using namespace records::data_type;

QString msg(const char* key)
{
    return msgAjustePeso().Msg(QString::fromLatin1(key));
}

bool positive(const Measure& m)
{
    return m.present && m.value > 0;
}

QString percentText(double value)
{
    return threeDecimals(value) + QStringLiteral(" %");
}

// "<value>  Kg": the weight, a blank and the unit with its own leading blank.
QString kilogramsApart(double value)
{
    return threeDecimals(value) + QStringLiteral(" ") + msg("kg");
}

bool isMale(const Evaluation& ev)
{
    return ev.sexLetter() == u"M";
}

// The weight lost in per cent of the usual weight.
double lossPercent(double usual, double current)
{
    return settled((usual - current) * 100 / usual);
}

// The weight loss of a period (time code "1" a week, "2" a month, "3" three months, "4"
// six months): below `significant` it is not significant, up to `severe` inclusive it is
// significant, above it severe.
struct LossLimits
{
    char16_t period;
    double significant;
    double severe;
};
constexpr LossLimits kLossLimits[] = {{u'1', 1, 2}, {u'2', 5, 5}, {u'3', 7.5, 7.5}, {u'4', 10, 10}};

const LossLimits* lossLimitsOf(const QString& period)
{
    for (const LossLimits& limits : kLossLimits) {
        if (period.size() == 1 && period.at(0) == limits.period)
            return &limits;
    }
    return nullptr;
}

// The oedema marks, each with the weight of water it stands for (kg); the ankle and the
// anasarca show it as a whole number, the knee and the thigh root with three decimals.
struct OedemaMark
{
    QLatin1String dataType;
    double kilograms;
    bool whole;
    const char* key;
};
const OedemaMark kOedemaMarks[] = {{kEdemaTornozelo, 1.0, true, "Resu_edTo"},
                                   {kEdemaJoelho, 3.5, false, "Resu_edJo"},
                                   {kEdemaRaizCoxa, 5.5, false, "Resu_edRC"},
                                   {kEdemaAnasarca, 11.0, true, "Resu_edAn"}};

// The description of an oedema line: its grade and the weight it takes off.
QString oedemaLabel(const OedemaMark& mark)
{
    const QString weight =
        mark.whole ? QString::number(int(mark.kilograms)) : threeDecimals(mark.kilograms);
    return msg(mark.key) + QStringLiteral("  ") + weight + QStringLiteral(" ") + msg("kg");
}

// The fraction of body weight of each limb part.
struct LimbPart
{
    QLatin1String dataType;
    double fraction;
};
// clang-format off
constexpr LimbPart kLimbParts[] = {{kMembroMao, 0.008},
                                   {kMembroAntebraco, 0.023},
                                   {kMembroBraco, 0.066},
                                   {kMembroPe, 0.017},
                                   {kMembroPernaAbaixoJoelho, 0.07},
                                   {kMembroPernaAcimaJoelho, 0.11},
                                   {kMembroPernaInteira, 0.186}};
// clang-format on

}  // namespace

// The current weight ("39") in per cent of the ideal weight ("17").
void Calcula_AdeqPes(Evaluation& ev)
{
    const Measure ideal = ev.readFromGrid(kPesoIdeal);
    const Measure weight = ev.readFromGrid(kPesoAtual);
    if (!positive(ideal) || !positive(weight))
        return;
    const double adequacy = settled(weight.value * 100 / ideal.value);
    const double a = round3(adequacy);
    const char* key = a < 70.1    ? "Desnu_Grave"
                      : a < 80.1  ? "Desnu_Mod"
                      : a < 90.1  ? "Desnu_Leve"
                      : a < 110.1 ? "Eutrofia"
                      : a < 120   ? "Sobrepeso"
                                  : "Obesidade";
    ev.writeResultLine(1, msg(key), percentText(adequacy));
}

// The current weight ("39") against the usual weight ("35") over the period ("36").
void Calcula_PerPes(Evaluation& ev)
{
    const Measure usual = ev.readFromGrid(kPesoUsual);
    const QString period = ev.readTextFromGrid(kTempo);
    const Measure weight = ev.readFromGrid(kPesoAtual);
    if (!positive(usual) || hostfw::EmptyString(period) || !positive(weight))
        return;
    if (weight.value >= usual.value) {
        ev.writeResultLine(1, msg("N_Per_Pes"), QString());
        return;
    }
    const double loss = lossPercent(usual.value, weight.value);
    const double l = round3(loss);
    QString text;
    if (const LossLimits* limits = lossLimitsOf(period)) {
        text = l < limits->significant ? msg("Sem_perd_sig")
               : l <= limits->severe   ? msg("Perd_Sig_Pes")
                                       : msg("Perd_Gra_Pes");
    }
    ev.writeResultLine(1, text, percentText(loss));
}

// The weight ("01") against the usual weight ("35") over the period ("36"), as recorded
// for the method.
void Calcula_PerdaPeso(Evaluation& ev)
{
    const Measure weight = ev.readRecordedValue(kPeso);
    const Measure usual = ev.readRecordedValue(kPesoUsual);
    const QString period = ev.readRecordedText(kTempo);
    if (!(weight.value > 0) || !(usual.value > 0))
        return;
    if (usual.value <= weight.value) {
        ev.writeResultLine(1, msg("PerdaPeso_Resul"), msg("N_PerdaPeso"));
        return;
    }
    const double loss = lossPercent(usual.value, weight.value);
    QString text;
    if (const LossLimits* limits = lossLimitsOf(period))
        text = loss <= limits->severe ? msg("Perda_Moder") : msg("Perda_Serv");
    ev.writeResultLine(1, msg("PerdaPeso_Resul"), twoDecimals(loss, QStringLiteral(" %")));
    ev.writeResultLine(2, msg("PerdaPeso_Classif"), text);
}

// A quarter of the way from the current weight ("39") to the ideal weight ("17").
void Calcula_PesAjust(Evaluation& ev)
{
    const Measure ideal = ev.readFromGrid(kPesoIdeal);
    const Measure weight = ev.readFromGrid(kPesoAtual);
    if (!positive(ideal) || !positive(weight))
        return;
    const double adjusted = settled((ideal.value - weight.value) * 0.25 + weight.value);
    ev.writeResultLine(1, QString(), threeDecimals(adjusted) + kKilograms);
}

// The ideal weight ("17") plus the share of the excess weight ("39") that is lean tissue:
// 32 % for men, 38 % for women.
void Calcula_PesoObeso(Evaluation& ev)
{
    const Measure ideal = ev.readFromGrid(kPesoIdeal);
    const Measure weight = ev.readFromGrid(kPesoAtual);
    if (!positive(ideal) || !positive(weight))
        return;
    if (!ev.maleOrFemaleElseNoClassification())
        return;
    const double share = isMale(ev) ? 0.32 : 0.38;
    const double adjusted = settled((weight.value - ideal.value) * share + ideal.value);
    ev.writeResultLine(1, QString(), kilogramsApart(adjusted));
}

// Wilkens: a quarter of the way from the weight of a BMI of 24,9 at the height to the
// weight, both recorded for the method. Without a weight or a height there is nothing to
// adjust (a height of 0 would give a quarter of the weight).
void Calcula_PesoAjustado_Ob(Evaluation& ev)
{
    const Measure weight = ev.readRecordedValue(kPeso);
    const Measure height = ev.readRecordedValue(kAltura);
    if (!positive(weight) || !positive(height))
        return;
    const double reference = settled(24.9 * height.value * height.value);
    const double adjusted = settled((weight.value - reference) * 0.25 + reference);
    ev.writeResultLine(1, msg("PesoAjust_Obesos"), threeDecimals(adjusted));
}

// The weight ("01") less the water of each oedema mark ("40" to "43"), one line per mark.
void Calcula_PesEdema(Evaluation& ev)
{
    const double weight = ev.readFromGrid(kPeso).value;
    double oedema = 0;
    for (const OedemaMark& mark : kOedemaMarks) {
        if (ev.readTextFromGrid(mark.dataType) == u"1")
            oedema += mark.kilograms;
    }
    if (!(oedema > 0) || !(weight > 0))
        return;
    const QString corrected = kilogramsApart(settled(weight - oedema));
    for (const OedemaMark& mark : kOedemaMarks) {
        if (ev.readTextFromGrid(mark.dataType) == u"1")
            ev.writeResultLine(int(&mark - kOedemaMarks) + 1, oedemaLabel(mark), corrected);
    }
}

// The weight ("01") less the fraction of body weight of the amputated limbs ("44" to
// "50": the mark times the number of limbs in the unit text).
void Calcula_PesAmpu(Evaluation& ev)
{
    const double weight = ev.readFromGrid(kPeso).value;
    double fraction = 0;
    for (const LimbPart& part : kLimbParts) {
        const Measure limbs = ev.readLimbCountFromGrid(part.dataType);
        if (!limbs.present)
            continue;
        const Measure mark = ev.readWholeFromGrid(part.dataType);
        if (mark.present)
            fraction += mark.value * limbs.value * part.fraction;
    }
    fraction = settled(fraction);
    if (!(fraction > 0) || !(weight > 0))
        return;
    ev.writeResultLine(1, QString(), kilogramsApart(settled(weight - fraction * weight)));
}

// Chumlea 1985: the weight from the calf ("12") and arm ("08") circumferences, the knee
// height ("09") and the subscapular skinfold ("05").
void Calcula_PesoChumlea85(Evaluation& ev)
{
    const Measure subscapular = ev.readFromGrid(kPcse);
    const Measure arm = ev.readFromGrid(kCircBraco);
    const Measure knee = ev.readFromGrid(kAlturaJoelho);
    const Measure calf = ev.readFromGrid(kCircPanturrilha);
    if (!positive(subscapular) || !positive(arm) || !positive(knee) || !positive(calf))
        return;
    if (!ev.maleOrFemaleElseNoClassification())
        return;
    const double s = subscapular.value, a = arm.value, k = knee.value, p = calf.value;
    const double weight = isMale(ev) ? 0.98 * p + 1.16 * k + 1.73 * a + 0.37 * s - 81.69
                                     : 1.27 * p + 0.87 * k + 0.98 * a + 0.4 * s - 62.35;
    ev.writeResultLine(1, QString(), threeDecimals(settled(std::max(weight, 0.0))) + kKilograms);
}

// Chumlea 1985: the height in cm from the knee height ("09") and the years of age.
void Calcula_AlturaChumlea85(Evaluation& ev)
{
    const Measure knee = ev.readFromGrid(kAlturaJoelho);
    if (!positive(knee))
        return;
    if (!ev.maleOrFemaleElseNoClassification())
        return;
    const double years = ev.ageYears();
    const double height = isMale(ev) ? 64.19 - 0.04 * years + 2.02 * knee.value
                                     : 84.88 - 0.24 * years + 1.83 * knee.value;
    ev.writeResultLine(1, QString(),
                       threeDecimals(settled(height)) + QStringLiteral(" ")
                           + workspace::MsgTpDado().Msg(QStringLiteral("Cm")));
}

// Metropolitan Life 1983: the frame of the height ("02", cm) over the wrist ("07").
void Calcula_Comp_OsseaML83(Evaluation& ev)
{
    const Measure height = ev.readFromGrid(kAltura);
    const Measure wrist = ev.readFromGrid(kOssaturaPunho);
    if (!positive(height) || !positive(wrist))
        return;
    if (!ev.maleOrFemaleElseNoClassification())
        return;
    const double r = settled(height.value * 100 / wrist.value);
    const double rounded = round3(r);
    const double small = isMale(ev) ? 10.4 : 10.9;  // above: small
    const double large = isMale(ev) ? 9.6 : 9.4;    // below: large
    const char* key = rounded > small ? "Peq" : rounded >= large ? "Med" : "Gra";
    ev.writeResultLine(1, msg(key), threeDecimals(r));
}

}  // namespace anthropometry
