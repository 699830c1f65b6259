// maturation: the observed stage of sexual maturation stored as the maturation dialog
// stores it, on the consultation's result page with sexual maturation selected.

#include "commands.h"
#include "consultation_session.h"

#include "dialogs/maturation_dialog.h"
#include "hostfw/error_display.h"
#include "hostfw/errors.h"
#include "records/method_codes.h"
#include "workspace/method_page.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {
namespace {

using dialogs::MaturationDialog;
using Column = MaturationDialog::Column;

// Clicks the radio button of a stage as typed after an option.
void chooseStage(MaturationDialog& dialog, Column column, const QString& typed,
                 const QString& option)
{
    bool ok = false;
    const int stage = typed.trimmed().toInt(&ok);
    if (!ok || stage < 1 || stage > MaturationDialog::kStages)
        hostfw::MensErro(QStringLiteral("Estágio inválido em %1: '%2'. Os estágios vão de 1 a 5.")
                             .arg(option, typed),
                         true);
    if (!dialog.choose(column, stage))
        hostfw::MensErro(
            QStringLiteral("Os pêlos pubianos não são avaliados de 16 anos e 7 meses a "
                           "18 anos e 11 meses: não informe %1.")
                .arg(option),
            true);
}

}  // namespace

int storeMaturation(const Command& command, QTextStream& out)
{
    ConsultationSession session(command);
    workspace::AssessmentForm& form = session.form();
    if (form.readOnly())
        hostfw::MensErro(QStringLiteral("O paciente faleceu: a consulta não pode ser alterada."),
                         true);
    const auto opening = dialogs::sbtMaturSexClick(form);
    if (!opening)
        hostfw::MensErro(QStringLiteral("A maturação sexual é avaliada somente nos sexos "
                                        "masculino e feminino."),
                         true);

    // The dialog on the page of the patient's sex, and the stages clicked on it.
    MaturationDialog dialog(form, opening->years, opening->months, opening->page);
    const bool girls = opening->page == MaturationDialog::pgFeminino;
    if (girls && command.genital)
        hostfw::MensErro(QStringLiteral("A genitália é avaliada no sexo masculino: para o sexo "
                                        "feminino informe --breast."),
                         true);
    if (!girls && command.breast)
        hostfw::MensErro(QStringLiteral("A mama é avaliada no sexo feminino: para o sexo "
                                        "masculino informe --genital."),
                         true);
    const QString leftOption = girls ? QStringLiteral("--breast") : QStringLiteral("--genital");
    if (const auto left = girls ? command.breast : command.genital)
        chooseStage(dialog, Column::Left, *left, leftOption);
    if (command.pubic)
        chooseStage(dialog, Column::Pubic, *command.pubic, QStringLiteral("--pubic"));
    // A missing stage shows its message before anything is written.
    dialog.DefValorMaturSex();
    if (dialogs::stValorMaturSex.isEmpty())
        throw hostfw::Abort();

    // The road of the window: sexual maturation selected, the result page, the button.
    form.methodPage().selectMethod(records::method::kMaturacaoSexual);
    form.showPage(workspace::OuterPage::tshAvalNutr, workspace::InnerPage::tshAvaliacao);
    if (dialog.sbtConfirmaClick() != MaturationDialog::Confirmed::Written)
        hostfw::MensErro(QStringLiteral("A consulta não tem o dado 'Maturação Sexual - Estágio "
                                        "observado'."),
                         true);
    const QString dataType = records::data_type::kMaturacaoSexual;
    const QString value = form.cdsDadosAval.asString(QStringLiteral("DSINFOAVAL"));
    const QString observation = form.cdsDadosAval.asString(QStringLiteral("DSOBSERAVAL"));
    if (command.json)
        out << QJsonDocument(QJsonArray{QJsonObject{{QStringLiteral("dataType"), dataType},
                                                    {QStringLiteral("value"), value},
                                                    {QStringLiteral("observation"), observation}}})
                   .toJson(QJsonDocument::Indented);
    else
        out << dataType << '\t' << value << '\t' << observation << '\n';
    return 0;
}

}  // namespace cli
