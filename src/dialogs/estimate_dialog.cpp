#include "estimate_dialog.h"

#include "hostfw/error_display.h"
#include "hostfw/numbers.h"
#include "records/method_codes.h"
#include "workspace/assessment_form.h"
#include "workspace/result_page.h"
#include "workspace/value_fields.h"
#include "workspace/workspace_messages.h"

namespace dialogs {
namespace {

using namespace workspace::value_fields;
const QString kWeightType = QString(records::data_type::kPeso);
const QString kHeightType = QString(records::data_type::kAltura);
const QString kPattern = QStringLiteral("#,##0.00");

bool isMale(const QString& sexLetter)
{
    return sexLetter == u"M";
}

// The estimate flag of the result page, set while the dialog writes and cleared however
// the writing ends, so that a later typed value drops its observation again.
class EstimateFlag
{
public:
    explicit EstimateFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~EstimateFlag() { m_flag = false; }
    EstimateFlag(const EstimateFlag&) = delete;
    EstimateFlag& operator=(const EstimateFlag&) = delete;

private:
    bool& m_flag;
};

}  // namespace

const hostfw::TMessages& msgCalcEstimado()
{
    static const hostfw::TMessages table = hostfw::TMessages::fromText(QStringLiteral(R"(
        (1988)| Chumlea (1988)
        (1987)| Chumlea (1987)
    )"));
    return table;
}

double chumleaHeight(const QString& sexLetter, double knee, double codedAge)
{
    if (isMale(sexLetter))
        return 64.19 + 2.02 * knee - 0.04 * codedAge;
    return 84.88 + 1.83 * knee - 0.24 * codedAge;
}

double chumleaWeight1988(const QString& sexLetter, double calf, double knee, double arm,
                         double subscapular)
{
    if (isMale(sexLetter))
        return 0.98 * calf + 1.16 * knee + 1.73 * arm + 0.37 * subscapular - 81.69;
    return 1.27 * calf + 0.87 * knee + 0.98 * arm + 0.4 * subscapular - 62.35;
}

std::optional<double> chumleaWeight1987(const QString& sexLetter, double codedAge, double knee,
                                        double arm)
{
    // The bands as the first matching row of the table: 6 up to 19, then up to 60, then
    // from 60 on (the coded age of 59 years 11 months is 59.11).
    const bool male = isMale(sexLetter);
    if (codedAge >= 6 && codedAge < 19)
        return male ? 0.68 * knee + 2.64 * arm - 50.08 : 0.77 * knee + 2.47 * arm - 50.16;
    if (codedAge > 18 && codedAge < 60)
        return male ? 1.19 * knee + 3.21 * arm - 86.82 : 1.01 * knee + 2.81 * arm - 66.04;
    if (codedAge > 59)
        return male ? 1.1 * knee + 3.07 * arm - 75.81 : 1.09 * knee + 2.68 * arm - 65.51;
    return std::nullopt;
}

EstimateDialog::EstimateDialog(workspace::AssessmentForm& form) : m_form(form) {}

void EstimateDialog::rdgChumleaClick(int index)
{
    if (index == kChumlea1987 || index == kChumlea1988)
        rdgChumlea = index;
}

QString EstimateDialog::weightNotice() const
{
    if (rdgChumlea == kChumlea1987 && m_form.codedAge() < 6)
        return QStringLiteral("Chumlea (1987) não tem equação de peso para menores de 6 anos.");
    return {};
}

std::optional<double> EstimateDialog::measure(const QString& text, const QString& label) const
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const auto number = hostfw::TryStrToFloat(hostfw::NormalizeTypedNumber(trimmed));
    if (!number)
        hostfw::MensErro(hostfw::InvalidFloatMessage(text, label), true);
    if (*number < 0)
        hostfw::MensErro(
            QStringLiteral("'%1' não é uma medida válida para o campo '%2'.").arg(text, label),
            true);
    return number;
}

QList<EstimateDialog::Estimate> EstimateDialog::sbtConfirmaClick()
{
    if (m_form.readOnly())
        return {};
    const bool set1988 = rdgChumlea == kChumlea1988;
    const QString sexLetter = m_form.sexLetter();
    const double age = m_form.codedAge();

    // Every input that counts is read first: a wrong one stops before anything is written.
    const auto knee = measure(nedJoelho, QStringLiteral("Altura do Joelho"));
    const auto arm = measure(nedCMB, QStringLiteral("Circunferência do Braço"));
    std::optional<double> calf;
    std::optional<double> subscapular;
    if (set1988) {
        calf = measure(nedPantu, QStringLiteral("Circunferência da Panturrilha"));
        subscapular = measure(nedPCS, QStringLiteral("Prega Cutânea Subscapular"));
    }
    const auto given = [](const std::optional<double>& v) { return v && *v != 0; };

    const QString equation =
        msgCalcEstimado().Msg(set1988 ? QStringLiteral("(1988)") : QStringLiteral("(1987)"));
    QList<Estimate> estimates;
    const auto add = [&](const QString& type, const QString& name, double value,
                         const QString& unit, const QString& observationKey) {
        if (hostfw::RoundDec(value, 2) <= 0)
            hostfw::MensErro(QStringLiteral("%1 de %2 %3 não é possível: confira as medidas. "
                                            "Nada foi gravado.")
                                 .arg(name, hostfw::FormatFloat(kPattern, value), unit),
                             true);
        estimates.append({type, hostfw::FormatFloat(kPattern, value),
                          workspace::msgPadrao().Msg(observationKey) + equation, false});
    };

    if (set1988 && given(calf) && given(knee) && given(arm) && given(subscapular)) {
        add(kWeightType, QStringLiteral("Um peso estimado"),
            chumleaWeight1988(sexLetter, *calf, *knee, *arm, *subscapular), QStringLiteral("kg"),
            QStringLiteral("Peso_Est"));
    } else if (!set1988 && given(knee) && given(arm)) {
        const auto weight = chumleaWeight1987(sexLetter, age, *knee, *arm);
        if (!weight)
            hostfw::MensErro(weightNotice() + QStringLiteral(" Nada foi gravado."), true);
        add(kWeightType, QStringLiteral("Um peso estimado"), *weight, QStringLiteral("kg"),
            QStringLiteral("Peso_Est"));
    }
    if (given(knee))
        add(kHeightType, QStringLiteral("Uma altura estimada"),
            chumleaHeight(sexLetter, *knee, age) / 100, QStringLiteral("m"),
            QStringLiteral("Altura_Est"));

    // Written through the result page, each post spreading the value to the recorded
    // values; the grid comes back to the row it was on.
    records::DataSet& grid = m_form.cdsDadosAval;
    workspace::ResultPage& page = m_form.resultPage();
    const EstimateFlag flag(page.estimateFlag);
    const int position = grid.recNo();
    for (Estimate& estimate : estimates) {
        if (!grid.locate(kType, estimate.dataType))
            continue;
        grid.edit();
        grid.setValue(kValue, estimate.value);
        grid.setValue(kObservation, estimate.observation);
        page.postDataRow();
        estimate.stored = true;
    }
    if (position >= 0)
        grid.moveTo(position);
    return estimates;
}

}  // namespace dialogs
