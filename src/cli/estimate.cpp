// estimate: the "Altura/Peso Estimado" dialog of the data-entry page, confirmed with the
// measurements given, as a user would fill it in the window.

#include "commands.h"
#include "consultation_session.h"

#include "dialogs/estimate_dialog.h"
#include "hostfw/error_display.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

int estimate(const Command& command, QTextStream& out)
{
    ConsultationSession session(command);
    workspace::AssessmentForm& form = session.form();
    if (form.readOnly())
        hostfw::MensErro(QStringLiteral("A consulta é de um paciente falecido: nada foi gravado."),
                         true);

    // The data-entry page, whose weight and height rows the dialog writes.
    form.showPage(workspace::OuterPage::tshAvalNutr, workspace::InnerPage::tshAvaliacao);
    dialogs::EstimateDialog dialog(form);
    dialog.rdgChumleaClick(command.chumleaSet == u"1987" ? dialogs::EstimateDialog::kChumlea1987
                                                         : dialogs::EstimateDialog::kChumlea1988);
    dialog.nedJoelho = command.knee;
    dialog.nedPantu = command.calf;
    dialog.nedCMB = command.arm;
    dialog.nedPCS = command.subscapular;
    const QList<dialogs::EstimateDialog::Estimate> estimates = dialog.sbtConfirmaClick();

    QJsonArray array;
    for (const auto& e : estimates) {
        if (!e.stored) {
            hostfw::MensErro(QStringLiteral("O tipo de dado '%1' não está entre os dados desta "
                                            "avaliação: a estimativa (%2, %3) não foi gravada.")
                                 .arg(e.dataType, e.observation.trimmed(), e.value),
                             false);
            continue;
        }
        if (command.json)
            array.append(QJsonObject{{QStringLiteral("dataType"), e.dataType},
                                     {QStringLiteral("value"), e.value},
                                     {QStringLiteral("observation"), e.observation}});
        else
            out << e.dataType << '\t' << e.value << '\t' << e.observation << '\n';
    }
    if (command.json)
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
    return 0;
}

}  // namespace cli
