// chart: the growth chart of a growth method, as the result page draws it, saved as PNG or
// PDF: the reference's percentile curves and the patient's measurements up to the
// consultation.

#include "commands.h"
#include "consultation_session.h"

#include "hostfw/clock.h"
#include "hostfw/error_display.h"
#include "workspace/form/growth_chart_view.h"
#include "workspace/growth_chart.h"

namespace cli {

int saveChart(const Command& given, QTextStream& out)
{
    const QString method = given.methods.isEmpty() ? QString() : given.methods.first().code;
    if (!workspace::isGrowthMethod(method))
        hostfw::MensErro(QStringLiteral("O método '%1' não é um método de crescimento: a curva "
                                        "existe para os métodos 15 e 37 a 47.")
                             .arg(method),
                         true);
    // Without --date, the consultation of today: every measurement up to it.
    Command command = given;
    if (command.date.isEmpty())
        command.date = hostfw::Today().toString(Qt::ISODate);
    ConsultationSession session(command);
    workspace::AssessmentForm& form = session.form();
    workspace::GrowthChartSubject subject = workspace::growthChartSubject(form, method);
    if (subject.referenceName.isEmpty())
        subject.referenceName = subject.reference;
    const workspace::GrowthChart chart =
        workspace::buildGrowthChart(form.netAvalNutrEnerg, subject);
    if (chart.measures.isEmpty())
        hostfw::MensErro(
            chart.measuresOutOfRange > 0
                ? QStringLiteral("As medidas do paciente %1 até %2 estão fora da faixa do método "
                                 "%3.")
                      .arg(command.patient, command.date, method)
                : QStringLiteral("O paciente %1 não tem medidas para o método %2 até %3.")
                      .arg(command.patient, method, command.date),
            true);
    workspace::saveGrowthChart(chart, command.out);
    out << command.out << '\n';
    return 0;
}

}  // namespace cli
