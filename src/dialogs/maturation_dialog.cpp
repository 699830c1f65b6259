#include "maturation_dialog.h"

#include "hostfw/error_display.h"
#include "records/error.h"
#include "records/method_codes.h"
#include "workspace/assessment_form.h"
#include "workspace/result_page.h"

namespace dialogs {

QString stValorMaturSex;

const hostfw::TMessages& maturationMessages()
{
    static const hostfw::TMessages table = hostfw::TMessages::fromText(QStringLiteral(R"(
        Matu_ref|Tanner (1962)
        Inf_M|Um parâmetro de mama deve ser informado.
        Inf_P|Um parâmetro de pêlos pubianos deve ser informado.
        Inf_G|Um parâmetro de genitália deve ser informado.
    )"));
    return table;
}

namespace {

int wholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw records::Error(QStringLiteral("'%1' não é um valor inteiro válido.").arg(text));
    return value;
}

}  // namespace

std::optional<MaturationOpening> sbtMaturSexClick(const workspace::AssessmentForm& form)
{
    MaturationOpening opening;
    if (form.sexLetter() == u"M")
        opening.page = MaturationDialog::pgMasculino;
    else if (form.sexLetter() == u"F")
        opening.page = MaturationDialog::pgFeminino;
    else
        return std::nullopt;
    opening.years = wholeNumber(form.edtIdade);
    opening.months = wholeNumber(form.edtMes);
    return opening;
}

MaturationDialog::MaturationDialog(workspace::AssessmentForm& form, int years, int months, int page)
    : m_form(form),
      m_page(page)
{
    if (page != pgFeminino && page != pgMasculino)
        throw records::Error(
            QStringLiteral("Página de maturação sexual inválida: %1 (0 feminino, 1 masculino).")
                .arg(page));
    if (page == pgFeminino && pubicStageExempt(years, months))
        m_pubicRequired = false;
}

bool MaturationDialog::pubicStageExempt(int years, int months)
{
    return (years == 16 && months >= 7) || years == 17 || (years == 18 && months <= 11);
}

bool MaturationDialog::stageEnabled(Column column, int stage) const
{
    if (stage < 1 || stage > kStages)
        return false;
    // Only the girls' pubic buttons are ever disabled; the boys' are always required.
    return column == Column::Left || m_page == pgMasculino || m_pubicRequired;
}

bool MaturationDialog::choose(Column column, int stage)
{
    if (!stageEnabled(column, stage))
        return false;
    (column == Column::Left ? m_left : m_pubic) = stage;
    return true;
}

std::optional<int> MaturationDialog::chosen(Column column) const
{
    return column == Column::Left ? m_left : m_pubic;
}

QString MaturationDialog::stageCode(Column column, int stage) const
{
    const QChar letter = column == Column::Pubic ? u'P' : (m_page == pgFeminino ? u'M' : u'G');
    return letter + QString::number(stage);
}

QString MaturationDialog::buttonName(Column column, int stage) const
{
    return (m_page == pgFeminino ? QStringLiteral("rbtFem") : QStringLiteral("rbtMasc"))
           + stageCode(column, stage);
}

void MaturationDialog::DefValorMaturSex()
{
    const hostfw::TMessages& msg = maturationMessages();
    QString value;
    bool error = false;
    if (m_left) {
        value = stageCode(Column::Left, *m_left);
    } else {
        hostfw::MensErro(
            msg.Msg(m_page == pgFeminino ? QStringLiteral("Inf_M") : QStringLiteral("Inf_G")),
            false);
        error = true;
    }
    if (m_pubic) {
        value += u'-' + stageCode(Column::Pubic, *m_pubic);
    } else if (m_pubicRequired) {
        hostfw::MensErro(msg.Msg(QStringLiteral("Inf_P")), false);
        error = true;
    }
    stValorMaturSex = error ? QString() : value;
}

MaturationDialog::Confirmed MaturationDialog::sbtConfirmaClick()
{
    stValorMaturSex.clear();
    DefValorMaturSex();
    if (stValorMaturSex.isEmpty())
        return Confirmed::Incomplete;

    records::DataSet& cdsDadosAval = m_form.cdsDadosAval;
    // A row still being typed is posted first, as leaving it in the grid would.
    m_form.resultPage().postDataRow();
    if (!cdsDadosAval.locate(QStringLiteral("CDTIPODADO"),
                             QString(records::data_type::kMaturacaoSexual)))
        return Confirmed::NoDataRow;
    cdsDadosAval.edit();
    cdsDadosAval.setValue(QStringLiteral("DSINFOAVAL"), stValorMaturSex);
    cdsDadosAval.setValue(QStringLiteral("DSOBSERAVAL"),
                          maturationMessages().Msg(QStringLiteral("Matu_ref")));
    m_form.resultPage().postDataRow();
    return Confirmed::Written;
}

}  // namespace dialogs
