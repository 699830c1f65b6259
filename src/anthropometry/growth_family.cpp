#include "growth_family.h"

#include "evaluation.h"
#include "growth_messages.h"
#include "number_texts.h"
#include "reference_queries.h"

#include "hostfw/numbers.h"
#include "hostfw/reply_check.h"
#include "hostfw/text.h"
#include "records/app_server.h"
#include "records/error.h"
#include "records/growth_methods.h"
#include "records/layouts.h"
#include "records/method_codes.h"
#include "workspace/age_band.h"
#include "workspace/assessment_form.h"
#include "workspace/module_context.h"

#include <QJsonArray>

namespace anthropometry {

namespace {

using namespace records::data_type;
namespace L = records::layouts;
namespace M = records::method;

const QString kAgeLabel = QStringLiteral("Idade");

QString msg(const char* key)
{
    return msgCrescimento().Msg(QString::fromLatin1(key));
}

bool positive(const Measure& m)
{
    return m.present && m.value > 0;
}

// The age of the header as the reference queries take it: years and months, each read as
// a real (a text that is no number fails in the conversion).
double ageYearsReal(const Evaluation& ev)
{
    return hostfw::StrToFloat(ev.ageText(), kAgeLabel);
}

double ageMonthsReal(Evaluation& ev)
{
    return hostfw::StrToFloat(ev.form().edtMes, kAgeLabel);
}

// The whole months of the header; 0 when the text is not a whole number.
int ageMonthsOrZero(Evaluation& ev)
{
    return ev.form().edtMes.toInt();
}

// The reference weight and height for the age (cdsCalcAn) and, with a height, the reference
// weight for that height (cdsPesoIdealAltura), of the median unless a percentile is given.
struct GrowthReference
{
    double weightForAge = 0;     // VRPESOTABE, kg
    double heightForAge = 0;     // VRALTUTABE, cm
    double weightForHeight = 0;  // VRPESO, kg
};

GrowthReference growthReference(Evaluation& ev, const QString& percentile, double heightCm)
{
    olePesCalc = ev.queries().loadEach(
        {&L::cdsPesoIdealAltura(), &L::cdsCalcAn()},
        ev.server().GetPesCalcAltura(ev.sexLetter(), ev.reference(), percentile, heightCm,
                                     ageYearsReal(ev), ageMonthsReal(ev)));
    const records::DataSet& forAge = ev.queries().dataSet(L::cdsCalcAn());
    const records::DataSet& forHeight = ev.queries().dataSet(L::cdsPesoIdealAltura());
    GrowthReference r;
    if (!forAge.isEmpty()) {
        r.weightForAge = forAge.asFloat(QStringLiteral("VRPESOTABE"));
        r.heightForAge = forAge.asFloat(QStringLiteral("VRALTUTABE"));
    }
    if (!forHeight.isEmpty())
        r.weightForHeight = forHeight.asFloat(QStringLiteral("VRPESO"));
    return r;
}

// Gomez: weight in per cent of the reference weight for the age.
const char* gomezClass(double percent)
{
    return percent > 90   ? "Eutrofia"
           : percent > 75 ? "Desnu_Leve"
           : percent > 60 ? "Desnu_Mod"
                          : "Desnu_Grave";
}

// Waterlow with both indices well: the patient's weight per metre of height against the
// reference's weight per centimetre of height, in per cent.
const char* weightPerHeightClass(double ratio)
{
    return ratio > 120 ? "Obesidade" : ratio > 110 ? "Sobrepeso" : ratio > 90 ? "Eutrofia" : "";
}

// Head circumference by the percentile code of its bracket.
const char* headCircumferenceClass(const QString& code)
{
    return code < u"005" ? "Desn_energ" : code <= u"095" ? "Adequada" : "Aumentado";
}

// What GetPesIdAlt and GetPesoAlt answer: the percentile reached, the flag ("S": the value
// lies below it) and the band text.
struct PercentileReached
{
    QString reached;
    QString flag;
    QString band;
};

PercentileReached percentileReached(const records::Reply& reply)
{
    const QJsonValue payload = hostfw::CheckResultServ(reply, true, 0);
    const QJsonArray texts = payload.toArray();
    if (!payload.isArray() || texts.size() < 3)
        throw records::Error(QStringLiteral("Resposta do servidor sem o elemento %1.")
                                 .arg(payload.isArray() ? texts.size() : 0));
    return {texts.at(0).toString(), texts.at(1).toString(), texts.at(2).toString()};
}

// The first decimal mark of a percentile code (a comma, else a point) as this system's.
QString withDecimalSeparator(QString code)
{
    qsizetype mark = code.indexOf(QLatin1Char(','));
    if (mark < 0)
        mark = code.indexOf(QLatin1Char('.'));
    if (mark >= 0)
        code[mark] = hostfw::DecimalSeparator;
    return code;
}

struct GrowthBand
{
    QString description;
    const char* classification;
};

// The description and classification of the percentile reached, compared as texts with
// the lowest listed percentile D ("0,1"), "003", "010" and "097". Where the value lies
// below a listed percentile (flag "S") the description says so, with the number after two
// blanks for 3, 10 and 97.
GrowthBand growthBand(const PercentileReached& answer)
{
    const QString reached = withDecimalSeparator(answer.reached);
    const QString lowest = QStringLiteral("0") + hostfw::DecimalSeparator + QStringLiteral("1");
    const bool below = answer.flag == u"S";
    const QString percentile = msg("Percentil");
    const QString under = percentile + QStringLiteral(" < ");
    const QString atOrOver97 = percentile + QStringLiteral(" >= ") + QStringLiteral(" 97");
    if (reached < lowest || (reached == lowest && below))
        return {under + lowest, "Pes_MBaix_Id"};
    if (reached == lowest)
        return {percentile + QStringLiteral(" ") + lowest, "Pes_Baix_Id"};
    if (reached < u"003")
        return {answer.band, "Pes_Baix_Id"};
    if (reached == u"003")
        return below ? GrowthBand{under + QStringLiteral(" 3"), "Pes_Baix_Id"}
                     : GrowthBand{answer.band, "Risco_Nutri"};
    if (reached < u"010")
        return {answer.band, "Risco_Nutri"};
    if (reached == u"010")
        return below ? GrowthBand{under + QStringLiteral(" 10"), "Risco_Nutri"}
                     : GrowthBand{answer.band, "Adq_Eut"};
    if (reached < u"097")
        return {answer.band, "Adq_Eut"};
    if (reached == u"097" && below)
        return {under + QStringLiteral(" 97"), "Adq_Eut"};
    return {atOrOver97, "Risc_Sob"};
}

// Sexual maturation: the age band of each Tanner stage, by sex.
struct StageBand
{
    char16_t sex;
    QLatin1String stage;
    int fromYears, fromMonths, toYears, toMonths;
};

// clang-format off
const StageBand kStageBands[] = {
    {u'M', QLatin1String("P1"), 0, 0, 10, 11}, {u'M', QLatin1String("G1"), 0, 0, 9, 5},
    {u'M', QLatin1String("P2"), 11, 0, 15, 6}, {u'M', QLatin1String("G2"), 9, 6, 13, 6},
    {u'M', QLatin1String("P3"), 11, 9, 16, 11}, {u'M', QLatin1String("G3"), 10, 6, 15, 11},
    {u'M', QLatin1String("P4"), 12, 0, 16, 6}, {u'M', QLatin1String("G4"), 11, 6, 16, 11},
    {u'M', QLatin1String("P5"), 13, 0, 17, 11}, {u'M', QLatin1String("G5"), 12, 6, 17, 11},
    {u'F', QLatin1String("P1"), 0, 0, 8, 11}, {u'F', QLatin1String("M1"), 0, 0, 7, 11},
    {u'F', QLatin1String("P2"), 9, 0, 14, 11}, {u'F', QLatin1String("M2"), 8, 0, 13, 11},
    {u'F', QLatin1String("P3"), 10, 0, 14, 6}, {u'F', QLatin1String("M3"), 10, 0, 14, 11},
    {u'F', QLatin1String("P4"), 11, 0, 15, 11}, {u'F', QLatin1String("M4"), 11, 0, 15, 11},
    {u'F', QLatin1String("P5"), 12, 0, 16, 6}, {u'F', QLatin1String("M5"), 13, 0, 18, 11},
};
// clang-format on

// The evaluation of a stage at the age: below its band the child is ahead, above it behind.
// A code that names no stage of the sex is not evaluated (empty).
QString stageEvaluation(const QString& sex, const QString& stage, int years, int months)
{
    for (const StageBand& band : kStageBands) {
        if (sex.size() != 1 || sex.at(0) != band.sex || stage != band.stage)
            continue;
        const int where = workspace::FaixaIdade(years, months, band.fromYears, band.fromMonths,
                                                band.toYears, band.toMonths);
        return msg(where < 0 ? "Desenv_acima" : where == 0 ? "Desenv_certo" : "Desenv_abaixo");
    }
    return QString();
}

// The reference of a method's row in the energy tab's method list; empty when not listed.
QString energyReferenceOf(workspace::AssessmentForm& form, const QString& method)
{
    const records::DataSet& methods = form.cdsMetoAvalEnerg;
    for (int row = 0; row < methods.recordCount(); ++row) {
        if (methods.asStringAt(row, QStringLiteral("CDTBMETOAVAL")) == method)
            return methods.asStringAt(row, QStringLiteral("CDTABELACO"));
    }
    return QString();
}

}  // namespace

// Weight for age in per cent of the reference weight for the age.
void Calcula_AN_GOMEZ(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const GrowthReference reference = growthReference(ev, QString(), 0);
    const double percent =
        reference.weightForAge != 0 ? settled(weight.value * 100 / reference.weightForAge) : 0;
    ev.writeResultLine(1, msg("Gomez_Resul"), threeDecimals(percent) + QStringLiteral("%"));
    ev.writeResultLine(2, msg("Gomez"), percent != 0 ? msg(gomezClass(percent)) : QString());
}

// Height for age and weight for height, each in per cent of the median of the reference.
void Calcula_AN_Waterlow(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const Measure height = ev.readFromGrid(kAltura);
    const GrowthReference reference =
        growthReference(ev, QStringLiteral("050"), settled(height.value * 100));
    const double weightForHeight = reference.weightForHeight != 0
                                       ? settled(weight.value * 100 / reference.weightForHeight)
                                       : 0;
    const double heightForAge =
        reference.heightForAge != 0 ? settled(height.value * 10000 / reference.heightForAge) : 0;
    ev.writeResultLine(1, msg("Waterlow_Resul"),
                       twoDecimals(heightForAge) + QStringLiteral("%  -  ")
                           + twoDecimals(weightForHeight) + QStringLiteral("%"));

    QString classification;
    if (weightForHeight != 0 && heightForAge != 0) {
        const bool tall = heightForAge > 95;
        const bool heavy = weightForHeight > 90;
        if (tall && heavy) {
            if (reference.weightForAge != 0) {
                const double ratio = settled((weight.value * 100 / (height.value * 100))
                                             / (reference.weightForAge / reference.heightForAge));
                classification = msg(weightPerHeightClass(ratio));
            }
        } else {
            classification = msg(tall    ? "Desnu_Atual"
                                 : heavy ? "Desnu_Pregresso"
                                         : "Desnu_cronico");
        }
    }
    ev.writeResultLine(2, msg("Waterlow"), classification);
}

// Head circumference among the percentiles of its reference: the name of the percentile at
// or below the value, "< " under the first, nothing over the last.
void Calcula_PerCefalico(Evaluation& ev)
{
    const Measure head = ev.readFromGrid(kPerimetroCefalico);
    if (!head.present)
        return;
    const PercentileBracket bracket = ev.percentileBracket(head.value, kHeadCircumferenceBracket);
    if (bracket.code.isEmpty()) {
        ev.writeNoClassificationInReference();
        return;
    }
    ev.writeResultLine(1, msg("PerCefal_Percentil"), bracket.text);
    ev.writeResultLine(2, msg("PerCefal_Classif"), msg(headCircumferenceClass(bracket.code)));
}

// Chest to head circumference: up to 6 months the chest is not yet larger than the head;
// from then to 5 years it is. Older children are not classified.
void Calcula_PT_PC(Evaluation& ev)
{
    const Measure chest = ev.readFromGrid(kCircTorax);
    const Measure head = ev.readFromGrid(kPerimetroCefalico);
    if (chest.value == 0 || head.value == 0)
        return;
    const double ratio = settled(chest.value / head.value);
    const int years = ev.ageYears();
    const int months = ageMonthsOrZero(ev);
    const char* key = years == 0 && months <= 6 ? (ratio <= 1 ? "Normal" : "Desnutricao")
                      : years <= 5              ? (ratio > 1 ? "Normal" : "Desnutricao")
                                                : nullptr;
    ev.writeResultLine(1, msg("PT_PC_Resul"), twoDecimals(ratio));
    ev.writeResultLine(2, msg("PT_PC_Classif"), key ? msg(key) : QString());
}

// Weight for age, height for age or weight for height, by the method code, against the
// percentiles of the method's growth reference.
void Calcula_PesoIdadeAltura(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const Measure height = ev.readFromGrid(kAltura);
    const records::GrowthMethod* method = records::findGrowthMethod(ev.method());
    if (!method || method->index == records::GrowthIndex::HeadCircumferenceForAge
        || !ev.maleOrFemaleElseNoClassification())
        return;
    const QString weightLetter = QStringLiteral("X");  // the measured axis
    const QString ageLetter = QStringLiteral("T");     // the axis looked up
    const double heightCm = settled(height.value * 100);
    PercentileReached answer;
    switch (method->index) {
    case records::GrowthIndex::HeadCircumferenceForAge:
        return;
    case records::GrowthIndex::WeightForAge:
        if (!positive(weight))
            return;
        answer = percentileReached(
            ev.server().GetPesIdAlt(ev.reference(), weight.value, weightLetter, 0, ageLetter,
                                    ageYearsReal(ev), ageMonthsReal(ev), ev.sexLetter()));
        break;
    case records::GrowthIndex::HeightForAge:
        if (!positive(height))
            return;
        answer = percentileReached(ev.server().GetPesIdAlt(ev.reference(), 0, ageLetter, heightCm,
                                                           weightLetter, ageYearsReal(ev),
                                                           ageMonthsReal(ev), ev.sexLetter()));
        break;
    case records::GrowthIndex::WeightForLength:
    case records::GrowthIndex::WeightForHeight:
        if (!positive(weight) || !positive(height))
            return;
        answer = percentileReached(
            ev.server().GetPesoAlt(ev.reference(), weight.value, heightCm, ev.sexLetter()));
        break;
    }
    if (answer.reached.isEmpty()) {
        ev.writeNoClassificationInReference();
        return;
    }
    const GrowthBand band = growthBand(answer);
    ev.writeResultLine(1, band.description, msg(band.classification));
}

// The Tanner stages recorded by the maturation dialog ("G3-P2", "M4") against the ages at
// which each stage is expected.
void Calcula_MaturacaoSexual(Evaluation& ev)
{
    const QString stages = ev.readRecordedText(kMaturacaoSexual);
    if (stages.isEmpty())
        return;
    const QString breastOrGenital = stages.mid(0, 2);
    const QString pubic = stages.mid(3, 2);
    const int years = wholeNumber(ev.ageText(), kAgeLabel);
    const int months = wholeNumber(ev.form().edtMes, kAgeLabel);
    const QString& sex = ev.sexLetter();
    const QString pubicEvaluation = sex == u"F" && pubic.isEmpty()
                                        ? msg("Nao_avaliado")
                                        : stageEvaluation(sex, pubic, years, months);
    ev.writeResultLine(1, msg("MaturSex_ResultPelos"), pubicEvaluation);
    ev.writeResultLine(2, msg(sex == u"M" ? "MaturSex_ResultGen" : "MaturSex_ResultMama"),
                       stageEvaluation(sex, breastOrGenital, years, months));
}

// Catch-up growth (Peterson): the energy of the recommendation for the weight age (the age
// at which the reference's median weight is the patient's), per kilogram of the median
// weight for the real age, spread over the current weight; protein as 8 % of that energy.
// Nothing is written without a current weight to divide by, without a median weight for
// the age or a weight age in the reference, or without a recommendation for it.
void Calcula_Catch_up(Evaluation& ev)
{
    const Measure weight = ev.readRecordedValue(kPeso);
    const QString recommendation = ev.readRecordedText(kRda);
    if (!positive(weight))
        return;
    oleIdade = ev.queries().loadEach({&L::cdsPesoIdealIdade(), &L::cdsPesoIdade()},
                                     ev.server().GetPesoIdade(ev.sexLetter(), ev.reference(),
                                                              QStringLiteral("050"), ev.ageYears(),
                                                              ageMonthsOrZero(ev), weight.value));
    const records::DataSet& median = ev.queries().dataSet(L::cdsPesoIdealIdade());
    const double medianWeight =
        median.isEmpty() || median.asString(QStringLiteral("VRPESO")).isEmpty()
            ? 0
            : median.asFloat(QStringLiteral("VRPESO"));
    if (recommendation.isEmpty())
        return;
    const records::DataSet& weightAgeRow = ev.queries().dataSet(L::cdsPesoIdade());
    if (medianWeight <= 0 || weightAgeRow.isEmpty())
        return;
    const double weightAge = hostfw::StrToFloat(
        weightAgeRow.asString(QStringLiteral("NRIDADEINI")) + hostfw::DecimalSeparator
            + hostfw::Ajusta(weightAgeRow.asString(QStringLiteral("NRIDADEFIN")), 2),
        kAgeLabel);
    const records::DataSet& needs =
        ev.query(L::cdsNutRecCatchUp(),
                 ev.server().GetNutRecCatchUp(recommendation, ev.sexLetter(), weightAge));
    if (needs.isEmpty())
        return;
    const double perKilogram = needs.asFloat(QStringLiteral("QTNUTRINIC"));
    const double energy = settled(perKilogram * medianWeight / weight.value);
    const double energyPerDay = settled(perKilogram * medianWeight);
    const double protein = settled(0.08 * energy / 4);
    const double proteinPerDay = settled(0.08 * energy / 4 * weight.value);
    ev.writeResultLine(1, msg("Vct_Catch"), threeDecimals(energy) + msg("Kcal_kg_dia"));
    ev.writeResultLine(2, msg("Vct_Catch_Peso"), threeDecimals(energyPerDay) + msg("Kcal_dia"));
    ev.writeResultLine(3, msg("Prot_Catch"), threeDecimals(protein) + msg("g_kg_dia"));
    ev.writeResultLine(4, msg("Prot_Catch_Peso"), threeDecimals(proteinPerDay) + msg("g_dia"));
}

void Calcula_Catch_up(workspace::AssessmentForm& form)
{
    const QString method = M::kCatchUp;
    ReferenceQueries queries;
    Evaluation ev(form, pageDataSetsOf(form, method), queries, method,
                  energyReferenceOf(form, method));
    Calcula_Catch_up(ev);
}

}  // namespace anthropometry
