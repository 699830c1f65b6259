#include "arm_family.h"

#include "arm_messages.h"
#include "evaluation.h"
#include "number_texts.h"
#include "reference_queries.h"

#include "hostfw/numbers.h"
#include "records/app_server.h"
#include "records/layouts.h"
#include "records/method_codes.h"

#include <numbers>
#include <optional>

namespace anthropometry {

namespace {

using namespace records::data_type;
namespace method = records::method;

QString msg(const char* key)
{
    return msgBraco().Msg(QString::fromLatin1(key));
}

bool positive(const Measure& m)
{
    return m.present && m.value > 0;
}

// The adult standards are given for the ages the header shows above 0 and under 75.
bool adequacyAge(const Evaluation& ev)
{
    return ev.ageYears() > 0 && ev.ageYears() < 75;
}

// The reference the percentile table names: "05" is classified by its own limits.
bool ownLimits(const PercentileBracket& bracket)
{
    return bracket.referenceCode == u"05";
}

// "<label> - <reference name>"
QString ofReference(const char* key, const PercentileBracket& bracket)
{
    return msg(key) + QStringLiteral(" - ") + bracket.referenceName;
}

// "% <label>": the adequacy lines
QString percentOf(const char* key)
{
    return QStringLiteral("% ") + msg(key);
}

QString percentText(double adequacy)
{
    return twoDecimals(adequacy) + QStringLiteral("%");
}

// The standard of the measure for the patient (GetPCT); 0 when the reference has none.
double standardOf(Evaluation& ev, QLatin1String methodCode)
{
    const records::DataSet& table =
        ev.query(records::layouts::cdsPCT(),
                 ev.server().GetPCT(ev.sexLetter(), ev.reference(), methodCode, ev.codedAge()));
    return table.asFloat(QStringLiteral("VRTABEDIET"));
}

// The measure in per cent of its standard.
double adequacy(double measure, double standard)
{
    return settled(measure * 100 / standard);
}

// The muscle circumference of the arm (cm) from the arm circumference (cm) and the triceps
// skinfold (mm).
double muscleCircumference(double arm, double triceps)
{
    return settled(arm - 0.314 * triceps);
}

// Percentile classes of the skinfold and the muscle circumference: under P5 depleted, up
// to P15 at risk, up to P95 eutrophic, over it `over` (the table of reference "05" moves
// the risk limit to P10).
QString depletionClass(const PercentileBracket& bracket, const char* over)
{
    const QString& p = bracket.code;
    const char16_t* riskTo = ownLimits(bracket) ? u"010" : u"015";
    if (p < u"005")
        return msg("Deplecao");
    if (p <= riskTo)
        return msg("Risco_Deplecao");
    if (p <= u"095")
        return msg("Eutrofia");
    return msg(over);
}

struct MuscleArea
{
    double value;
    PercentileBracket bracket;
};

// The muscle area of AMB and AMBC: `area` of the arm circumference (cm) and the triceps
// skinfold (mm), less 10 for men and 6,5 for women, with its percentile bracket. Nothing
// when a measure is missing, the sex is unknown or the reference has no row (those two
// write the no-classification line).
template <typename Area>
std::optional<MuscleArea> muscleArea(Evaluation& ev, const BracketRules& rules, Area area)
{
    const Measure triceps = ev.readFromGrid(kPct);
    const Measure arm = ev.readFromGrid(kCircBraco);
    if (!positive(triceps) || !positive(arm))
        return std::nullopt;
    if (!ev.maleOrFemaleElseNoClassification())
        return std::nullopt;
    const double value =
        settled(area(arm.value, triceps.value) - (ev.sexLetter() == u"M" ? 10 : 6.5));
    PercentileBracket bracket = ev.percentileBracket(value, rules);
    if (bracket.code.isEmpty()) {
        ev.writeNoClassificationInReference();
        return std::nullopt;
    }
    return MuscleArea{value, std::move(bracket)};
}

}  // namespace

// The skinfold in per cent of the standard (ages 1 to 74), then its percentile.
void Calcula_PCT(Evaluation& ev)
{
    const double triceps = ev.readFromGrid(kPct).value;
    const double standard = standardOf(ev, method::kPct);
    if (standard == 0)
        return;
    if (adequacyAge(ev)) {
        const double a = adequacy(triceps, standard);
        const char* grade = a > 145   ? "Obesidade_Mor"
                            : a > 120 ? "Obesidade"
                            : a > 110 ? "Sobrepeso"
                            : a > 90  ? "Eutrofia_Padrao"
                            : a > 80  ? "90_Padrao"
                            : a > 70  ? "80_Padrao"
                            : a > 60  ? "60_70_Padrao"
                                      : "60_Padrao";
        ev.writeResultLine(3, msg("PCT_Resul"), percentText(a));
        ev.writeResultLine(4, percentOf("PCT_Class"), msg(grade));
    }
    if (triceps == 0)
        return;
    const PercentileBracket bracket = ev.percentileBracket(triceps);
    const QString classification =
        bracket.code.isEmpty() ? QString() : depletionClass(bracket, "Excesso_Gor");
    ev.writeResultLine(1, ofReference("PCT_Percentil", bracket), bracket.text);
    ev.writeResultLine(2, ofReference("PCT_Class", bracket), classification);
}

// The muscle circumference and its percentile; for ages 1 to 74 its adequacy to the
// standard, whose grade replaces the percentile class under 90 %.
void Calcula_CMB(Evaluation& ev)
{
    const double triceps = ev.readFromGrid(kPct).value;
    const double arm = ev.readFromGrid(kCircBraco).value;
    const double cmb = muscleCircumference(arm, triceps);
    const PercentileBracket bracket = ev.percentileBracket(cmb);
    QString classification;
    if (!bracket.code.isEmpty()) {
        const QString& p = bracket.code;
        if (!ownLimits(bracket))
            classification = depletionClass(bracket, "Acima_Normal");
        else
            classification = msg(p < u"010"    ? "Desnutricao"
                                 : p <= u"090" ? "Eutrofia"
                                               : "Obesidade");
    }
    ev.writeResultLine(1, msg("CMB_Resultado"), twoDecimals(cmb));
    ev.writeResultLine(2, ofReference("CMB_Percentil", bracket), bracket.text);
    if (!adequacyAge(ev))
        return;
    const double standard = standardOf(ev, method::kCmb);
    if (standard == 0)
        return;
    const double a = adequacy(cmb, standard);
    if (a < 90) {
        classification = msg(a >= 80   ? "90_Padrao"
                             : a >= 70 ? "80_Padrao"
                             : a >= 60 ? "60_70_Padrao"
                                       : "60_Padrao");
    }
    ev.writeResultLine(4, percentOf("CMB_Resultado"), percentText(a));
    if (!classification.isEmpty())
        ev.writeResultLine(5, percentOf("CMB_Classifica"), classification);
}

// The arm circumference in per cent of the reference's standard for the sex.
void Calcula_CB(Evaluation& ev)
{
    const Measure arm = ev.readFromGrid(kCircBraco);
    if (!positive(arm))
        return;
    if (!ev.maleOrFemaleElseNoClassification())
        return;
    const records::DataSet& table =
        ev.query(records::layouts::cdsPercentiFix(),
                 ev.server().GetPercentFix(ev.reference(), QStringLiteral("050"), method::kCb,
                                           ev.ageText()));
    const double standard = table.asFloat(ev.sexLetter() == u"M" ? QStringLiteral("VRSEXOMASC")
                                                                 : QStringLiteral("VRSEXOFEMI"));
    // A reference without a standard for the sex classifies nothing (no division by 0).
    if (table.isEmpty() || standard == 0) {
        ev.writeNoClassificationInReference();
        return;
    }
    const QString reference = QStringLiteral(" - ") + table.asString(QStringLiteral("NMREFEBIBL"));
    const double a = adequacy(arm.value, standard);
    const char* grade = a < 70    ? "Desnu_Grave"
                        : a < 80  ? "Desnu_Mod"
                        : a < 90  ? "Desnu_Leve"
                        : a < 110 ? "Eutrofia"
                        : a < 120 ? "Sobrepeso"
                                  : "Obesidade";
    ev.writeResultLine(1, msg("CB_ResuAdeq") + reference, threeDecimals(a) + QStringLiteral(" %"));
    ev.writeResultLine(2, msg("CB_Percentil") + reference, msg(grade));
}

// The muscle area (cm²), less 10 for men and 6,5 for women, against the percentiles: the
// row at or below the value (P) and the one at or above it (Q) classify it together.
void Calcula_AMB(Evaluation& ev)
{
    const auto area = muscleArea(ev, kArmMuscleAreaBracket, [](double arm, double triceps) {
        const double c = muscleCircumference(arm, triceps);
        return c * c / 12.56;
    });
    if (!area)
        return;
    const auto& [amb, bracket] = *area;
    const QString& p = bracket.code;
    const QString& q = bracket.secondCode;
    QString classification;
    if (ownLimits(bracket))
        classification = msg(p <= u"005" ? "Desnutricao" : p <= u"095" ? "Eutrofia" : "Obesidade");
    else if (p <= u"005")
        classification = msg("Deplecao");
    else if (p >= u"005" && q <= u"015")
        classification = msg("Abaixo_Media");
    else if (p >= u"015" && q <= u"085")
        classification = msg("Media");
    else if (p >= u"085" && q <= u"095")
        classification = msg("Acima_Media");
    else if (p >= u"095")
        classification = msg("Boa_Nutr");
    ev.writeResultLine(1, msg("AMB_Resultado"), threeDecimals(amb));
    ev.writeResultLine(2, ofReference("AMB_Percentil", bracket), bracket.text);
    ev.writeResultLine(3, ofReference("AMB_Classifica", bracket), classification);
}

// The corrected muscle area in mm² (circumference in mm, π at full precision), less 10 for
// men and 6,5 for women, against the percentiles.
void Calcula_AMBC(Evaluation& ev)
{
    const auto area =
        muscleArea(ev, kCorrectedArmMuscleAreaBracket, [](double arm, double triceps) {
            constexpr double pi = std::numbers::pi;
            const double c = 10 * arm - pi * triceps;
            return c * c / (4 * pi);
        });
    if (!area)
        return;
    const auto& [ambc, bracket] = *area;
    const QString& p = bracket.code;
    const char* grade = p < u"005" ? "Desnu_Grave" : p <= u"015" ? "Desn_Leve_Mod" : "Normal";
    ev.writeResultLine(1, msg("AMBC_Resultado"),
                       hostfw::FormatFloat(QStringLiteral("#,###0.000"), ambc));
    ev.writeResultLine(2, ofReference("AMBC_Percentil", bracket), bracket.text);
    ev.writeResultLine(3, ofReference("AMBC_PercentClas", bracket), msg(grade));
}

// The fat area of the arm (cm²) from the recorded skinfold and circumference, against the
// percentiles: P at or below the value and Q at or above it classify it together.
void Calcula_AGB(Evaluation& ev)
{
    const Measure triceps = ev.readRecordedValue(kPct);
    const Measure arm = ev.readRecordedValue(kCircBraco);
    if (!triceps.present || !arm.present || triceps.value == 0 || arm.value == 0)
        return;
    const double t = triceps.value / 10;
    const double agb = settled(t * arm.value / 2 - 3.14 * t * t / 4);
    const PercentileBracket bracket = ev.percentileBracket(agb, kArmFatAreaBracket);
    ev.writeResultLine(1, msg("Agb_Resultado"), twoDecimals(agb));
    if (bracket.code.isEmpty())
        return;
    const QString& p = bracket.code;
    const QString& q = bracket.secondCode;
    // Above the last percentile there is no row at or above the value, so Q stays empty
    // and the bands below would call the largest areas "Abaixo da Média": they are excess.
    const char* grade = p == kAboveLastPercentile    ? "Excesso_Gor"
                        : p <= u"005" && q <= u"005" ? "Magro"
                        : p >= u"005" && q <= u"015" ? "Abaixo_Media"
                        : p >= u"015" && q <= u"075" ? "Media"
                        : p >= u"075" && q <= u"085" ? "Acima_Media"
                                                     : "Excesso_Gor";
    ev.writeResultLine(2, ofReference("Agb_Percentil", bracket), bracket.text);
    ev.writeResultLine(3, ofReference("Agb_Classifica", bracket), msg(grade));
}

}  // namespace anthropometry
