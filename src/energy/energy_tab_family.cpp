#include "energy_tab_family.h"

#include "energy_messages.h"
#include "factor_tables.h"

#include "anthropometry/evaluation.h"
#include "anthropometry/number_texts.h"
#include "anthropometry/reference_queries.h"
#include "hostfw/error_display.h"
#include "hostfw/numbers.h"
#include "hostfw/reply_check.h"
#include "hostfw/text.h"
#include "records/app_server.h"
#include "records/layouts.h"
#include "records/method_codes.h"
#include "records/packet_codec.h"
#include "workspace/assessment_form.h"
#include "workspace/energy_page.h"

#include <cmath>
#include <cstdlib>

namespace energy {

namespace {

// A result in kcal as the lines show it: worked out as on paper (no binary noise in the
// last digits), three decimals.
QString threeDecimals(double value)
{
    return anthropometry::threeDecimals(anthropometry::settled(value));
}

using workspace::AssessmentForm;
using namespace records::data_type;
namespace M = records::method;

const QString kMethodCode = QStringLiteral("CDTBMETOAVAL");
const QString kText = QStringLiteral("DSINFOAVAL");

QString msg(const char* key)
{
    return msgEnergia().Msg(QString::fromLatin1(key));
}

// One energy method being evaluated: its recorded values and its result lines.
class EnergyMethod
{
public:
    EnergyMethod(AssessmentForm& form, QLatin1String code)
        : m_form(form),
          m_ev(form, anthropometry::pageDataSetsOf(form, code), m_queries, code, QString())
    {
    }

    AssessmentForm& form() { return m_form; }
    anthropometry::Evaluation& ev() { return m_ev; }

    // The text of this method's recorded value of the data type; nothing when the
    // consultation has no such record.
    std::optional<QString> recorded(QLatin1String dataType)
    {
        records::DataSet& info = load(dataType);
        if (!info.locate(kMethodCode, m_ev.method()))
            return std::nullopt;
        return info.asString(kText);
    }
    // The text of the first recorded value of the data type, whichever method it is of.
    std::optional<QString> firstRecorded(QLatin1String dataType)
    {
        records::DataSet& info = load(dataType);
        if (info.isEmpty())
            return std::nullopt;
        info.first();
        return info.asString(kText);
    }
    // A recorded value as a number; nothing when missing or empty. A text that is not a
    // number throws hostfw::ConversionError.
    std::optional<double> recordedNumber(QLatin1String dataType)
    {
        const std::optional<QString> text = recorded(dataType);
        if (!text || hostfw::EmptyString(*text))
            return std::nullopt;
        return number(*text);
    }

    static double number(const QString& text)
    {
        return hostfw::StrToFloat(hostfw::NormalizeTypedNumber(text), QStringLiteral("Valor"));
    }

    void write(int sequence, const QString& label, const QString& value)
    {
        m_ev.writeResultLine(sequence, label, value);
    }

private:
    records::DataSet& load(QLatin1String dataType)
    {
        records::DataSet& info = m_form.cdsInfoAval;
        info.loadPacket(records::decodePacket(hostfw::CheckResultServ(
            m_form.netAvalNutrEnerg.GetInfoAval(m_form.key(), dataType), true, 0)));
        return info;
    }

    AssessmentForm& m_form;
    anthropometry::ReferenceQueries m_queries;
    anthropometry::Evaluation m_ev;
};

// The height typed on the panel in metres; 0 when empty or not a number.
double panelHeight(AssessmentForm& form)
{
    return typedNumber(form.energyPage().medAltura).value_or(0);
}

// The description of an adequate-weight line: the label, the weight as typed (with the
// decimal comma) and " Kg".
QString adequateWeightLabel(AssessmentForm& form, const QString& label)
{
    return label + QStringLiteral(" - ") + msg("PesoAdeq") + QStringLiteral(" ")
           + hostfw::NormalizeTypedNumber(form.energyPage().medPesoAdeq.trimmed()) + msg("Kg");
}

// The lines shared by Harris, RDA and Du Bois: basal (L1) and total (L2) by mode.
void writeBasalAndTotal(EnergyMethod& m, Mode mode, const char* basalKey, const char* totalKey,
                        double basal, double total)
{
    const QString kcal = msg("Kcal");
    switch (mode) {
    case Mode::Avaliacao: {
        const QString current = QStringLiteral(" - ") + msg("PesoAtual");
        m.write(1, msg(basalKey) + current, threeDecimals(basal) + kcal);
        m.write(2, msg(totalKey) + current, threeDecimals(total) + kcal);
        break;
    }
    case Mode::PesoAdeq:
        m.write(3, adequateWeightLabel(m.form(), msg(basalKey)), threeDecimals(basal) + kcal);
        m.write(4, adequateWeightLabel(m.form(), msg(totalKey)), threeDecimals(total) + kcal);
        break;
    case Mode::PesoIdeal:
        m.form().idealWeights.basalText = threeDecimals(basal);
        m.form().idealWeights.totalText = threeDecimals(total);
        break;
    }
}

// A missing obesity, trauma or burn flag of Ireton-Jones: the energy data grid is put on
// its row and the run ends with the message.
[[noreturn]] void missingFlag(AssessmentForm& form, QLatin1String dataType, const char* key)
{
    form.cdsDadoAvalEnerg.locate(QStringLiteral("CDTBMETOAVAL;CDTIPODADO"),
                                 {QString(M::kIretonJones), QString(dataType)});
    emit form.focusRequested(QStringLiteral("dbgDadoAvalEnerg"));
    hostfw::MensErro(msg(key), true);
    std::abort();  // MensErro with stop does not return
}

int flag(const QString& text)
{
    return text.trimmed().toInt();
}

}  // namespace

std::optional<double> typedNumber(const QString& text)
{
    if (hostfw::EmptyString(text))
        return std::nullopt;
    return hostfw::TryStrToFloat(hostfw::NormalizeTypedNumber(text));
}

// Harris-Benedict basal expenditure times the activity, injury and thermal factors of Long.
void Calcula_Harris(AssessmentForm& form, double weight, Mode mode)
{
    EnergyMethod m(form, M::kHarris);
    const double activity = harrisActivityFactor(m.recorded(kFatorAtividade).value_or(QString()));
    const std::optional<QString> injuryText = m.firstRecorded(kFatorInjuria);
    const double injury =
        injuryText && !hostfw::EmptyString(*injuryText) ? EnergyMethod::number(*injuryText) : 0;
    const double thermal = thermalFactor(m.recorded(kFatorTermico).value_or(QString()));

    const double heightCm = panelHeight(form) * 100;
    const int years = form.ageYears();
    const double basal = form.sexLetter() == u"M"
                             ? 66.473 + 13.751 * weight + 5.003 * heightCm - 6.755 * years
                             : 655.09 + 9.563 * weight + 1.849 * heightCm - 4.675 * years;
    writeBasalAndTotal(m, mode, "GEB", "VET", basal, basal * activity * injury * thermal);
}

// RDA basal expenditure by age band times the activity factor.
void Calcula_RDA(AssessmentForm& form, double weight, Mode mode)
{
    EnergyMethod m(form, M::kRda);
    const double activity =
        rdaActivityFactor(m.recorded(kFatorAtividade).value_or(QString()), form.sexLetter());
    const int years = form.ageYears();
    const int band = years < 3    ? 0
                     : years < 10 ? 1
                     : years < 18 ? 2
                     : years < 30 ? 3
                     : years < 60 ? 4
                                  : 5;
    const double basal = bandBasal(band, form.sexLetter() == u"M", weight);
    writeBasalAndTotal(m, mode, "Rda_Resul", "Rda_Resul2", basal, basal * activity);
}

// Du Bois body surface times the server's basal rate per square metre and hour; the total
// of Escudero adds the activity allowance and the specific dynamic action (10 %).
void Calcula_DuBois(AssessmentForm& form, double weight, Mode mode)
{
    EnergyMethod m(form, M::kDuBois);
    const records::DataSet& rate = m.ev().query(
        records::layouts::cdsDuBois(),
        form.netAvalNutrEnerg.GetDuBois(form.sexLetter(), QStringLiteral("40"), form.codedAge()));
    if (rate.isEmpty())
        return;
    const double perHour = rate.asFloat(QStringLiteral("VRDIET"));
    const double heightCm = panelHeight(form) * 100;
    const double allowance = duBoisActivityKcal(m.recorded(kFatorAtividade).value_or(QString()));
    // A negative measure has no real power: no surface.
    const double surface = heightCm < 0 || weight < 0 ? 0
                                                      : 71.84 * std::pow(heightCm, 0.725)
                                                            * std::pow(weight, 0.425) / 10000;
    const double basal = perHour * 24 * surface;
    writeBasalAndTotal(m, mode, "Geb_DuBois", "Get_DuBois", basal, basal + allowance + 0.1 * basal);
}

// Ireton-Jones (1991): the total expenditure of a patient on a ventilator or breathing
// spontaneously.
void Calcula_IretonJones(AssessmentForm& form, double weight, Mode mode)
{
    EnergyMethod m(form, M::kIretonJones);
    const int male = form.sexLetter() == u"M" ? 1 : 0;
    struct Flag
    {
        QLatin1String dataType;
        const char* missing;
    };
    int values[3] = {};
    const Flag flags[3] = {
        {kObesidade, "Obesidade_Inf"}, {kTrauma, "Trauma_Inf"}, {kQueimadura, "Queima_Inf"}};
    for (int i = 0; i < 3; ++i) {
        const std::optional<QString> text = m.recorded(flags[i].dataType);
        if (!text || hostfw::EmptyString(*text))
            missingFlag(form, flags[i].dataType, flags[i].missing);
        values[i] = flag(*text);
    }
    const auto [obese, trauma, burn] = values;
    const std::optional<QString> ventilator = m.recorded(kDependenteRespirador);
    if (!ventilator)
        return;
    const int years = form.ageYears();
    const double total = *ventilator == u"1" ? 1925 - 10 * years + 5 * weight + 281 * male
                                                   + 292 * trauma + 851 * burn
                         : *ventilator == u"0" ? 629 - 11 * years + 25 * weight - 609 * obese
                                               : 0;
    const QString label = msg("GET_Jones");
    switch (mode) {
    case Mode::Avaliacao:
        m.write(1, label + QStringLiteral(" - ") + msg("PesoAtual"),
                threeDecimals(total) + msg("Kcal"));
        break;
    case Mode::PesoAdeq:
        m.write(2, adequateWeightLabel(form, label), threeDecimals(total) + msg("Kcal"));
        break;
    case Mode::PesoIdeal:
        form.idealWeights.basalText = threeDecimals(total);
        form.idealWeights.totalText = QStringLiteral("0");
        break;
    }
}

// Ogawa: kcal per kg and day of the patient's condition, as a range.
void Calcula_PacienteHospital(AssessmentForm& form)
{
    EnergyMethod m(form, M::kPacienteHospital);
    const double weight = m.recordedNumber(kPeso).value_or(0);
    const std::optional<QString> condition = m.recorded(kInjuria);
    if (!condition)
        return;
    const std::optional<KcalPerKg> range = hospitalCondition(condition->left(1));
    if (!range)
        return;
    m.write(1, msg("Vct_Paci_Hosp"),
            threeDecimals(range->low * weight) + QStringLiteral(" - ")
                + threeDecimals(range->high * weight) + msg("Kcal_dia"));
}

// Halpern: 21 to 30 kcal per kg of the recorded weight.
void Calcula_PacienteObesos(AssessmentForm& form)
{
    EnergyMethod m(form, M::kPacienteObesos);
    const std::optional<double> weight = m.recordedNumber(kPeso);
    if (!weight)
        return;
    m.write(1, msg("Vct_Paci_Obes"),
            threeDecimals(21 * *weight) + QStringLiteral(" - ") + threeDecimals(30 * *weight));
}

}  // namespace energy
