// The result page's data grid (dbgDadosAval over cdsDadosAval): entering the page,
// typing values and coded answers, the checks before a row is posted.

#include "result_page.h"
#include "data_key_filter.h"
#include "data_types.h"
#include "module_context.h"
#include "value_fields.h"
#include "workspace_messages.h"

#include "hostfw/error_display.h"
#include "hostfw/errors.h"
#include "hostfw/numbers.h"
#include "hostfw/pick_list.h"
#include "hostfw/reply_check.h"
#include "records/catalogue_descriptors.h"
#include "records/packet_codec.h"

namespace workspace {

using namespace value_fields;

namespace {

const QString kValueLabel = QStringLiteral("Valor");

// A value as typed or pasted: with the decimal comma, or with a point when it holds no
// comma. The number text to store, or nothing when it is not a number.
std::optional<QString> typedNumber(const QString& text)
{
    if (hostfw::TryStrToFloat(text))
        return text;
    if (!text.contains(hostfw::DecimalSeparator) && text.count(u'.') == 1) {
        const QString withComma = hostfw::NormalizeTypedNumber(text);
        if (hostfw::TryStrToFloat(withComma))
            return withComma;
    }
    return std::nullopt;
}

}  // namespace

ResultPage::ResultPage(AssessmentForm& form)
    : m_form(form),
      cdsDadosAval(form.cdsDadosAval),
      netAvalNutrEnerg(form.netAvalNutrEnerg)
{
}

void ResultPage::prepareDataGrid()
{
    cdsDadosAval.beforeInsert = [](records::DataSet&) { throw hostfw::Abort(); };
    cdsDadosAval.beforeEdit = [this](records::DataSet&) {
        if (readOnly() && m_dataEdit != DataEdit::Quiet)
            throw hostfw::Abort();
    };
    cdsDadosAval.beforePost = [this](records::DataSet& ds) { checkDataRowBeforePost(ds); };
    cdsDadosAval.afterPost = [this](records::DataSet& ds) {
        propagateDataRow(ds);
        m_form.repaint();
    };
    const auto repaint = [this](records::DataSet&) { m_form.repaint(); };
    cdsDadosAval.afterCancel = repaint;
    cdsDadosAval.afterScroll = repaint;
    cdsDadosAval.setDisplayTextHandler(kValue, [](const records::DataSet& ds, int row) {
        const QString type = ds.asStringAt(row, kType);
        const QString stored = ds.asStringAt(row, kValue);
        return data_types::isCoded(type) ? data_types::codedAnswerText(type, stored) : stored;
    });
    cdsDadosAval.setDisplayTextHandler(kObservation, [](const records::DataSet& ds, int row) {
        // The limb count of an amputation row is shown in the unit column.
        if (data_types::isAmputation(ds.asStringAt(row, kType)))
            return QString();
        return ds.asStringAt(row, kObservation);
    });
}

QString ResultPage::currentDataType() const
{
    return cdsDadosAval.isEmpty() ? QString() : cdsDadosAval.asString(kType);
}

// ---------------------------------------------------------------- entering the page

void ResultPage::enterPage()
{
    loadDataGrid(true);
    m_form.cdsResuAval.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(netAvalNutrEnerg.GetResuAval(key()), true, 0)));
    emit m_form.focusRequested(QStringLiteral("dbgDadosAval"));
}

void ResultPage::loadDataGrid(bool normalise)
{
    const int position = cdsDadosAval.recNo();
    cdsDadosAval.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(netAvalNutrEnerg.GetDadoAval(key()), true, 0)));
    const DataEdit mode = m_form.deceased() ? DataEdit::Quiet : DataEdit::Normalise;
    cdsDadosAval.disableControls();
    try {
        for (int row = 0; row < cdsDadosAval.recordCount(); ++row) {
            cdsDadosAval.moveTo(row);
            normaliseDataRow(normalise, mode);
        }
        if (!cdsDadosAval.moveTo(position))
            cdsDadosAval.first();
    } catch (...) {
        m_dataEdit = DataEdit::User;
        cdsDadosAval.enableControls();
        throw;
    }
    m_dataEdit = DataEdit::User;
    cdsDadosAval.enableControls();
    recountLimbs();
}

void ResultPage::normaliseDataRow(bool separators, DataEdit mode)
{
    const QString type = cdsDadosAval.asString(kType);
    QString value = cdsDadosAval.asString(kValue);
    if (separators) {
        if (data_types::isEdema(type) && value.isEmpty())
            value = QStringLiteral("0");
        qsizetype at = value.indexOf(u'.');
        if (at < 0)
            at = value.indexOf(u',');
        if (at >= 0)
            value[at] = hostfw::DecimalSeparator;
    }
    QString unit = cdsDadosAval.asString(kUnit);
    if (data_types::isAmputation(type))
        unit = cdsDadosAval.asString(kObservation);
    if (value == cdsDadosAval.asString(kValue) && unit == cdsDadosAval.asString(kUnit))
        return;
    m_dataEdit = mode;
    cdsDadosAval.edit();
    cdsDadosAval.setValue(kValue, value);
    cdsDadosAval.setValue(kUnit, unit);
    cdsDadosAval.post();
    m_dataEdit = DataEdit::User;
}

// ---------------------------------------------------------------- before post

void ResultPage::checkDataRowBeforePost(records::DataSet& ds)
{
    const QString type = ds.asString(kType);
    QString value = ds.asString(kValue);
    value.replace(u',', hostfw::DecimalSeparator);
    if (const auto number = typedNumber(value))
        value = *number;
    ds.setValue(kValue, value);

    const bool markedLimb = data_types::isAmputation(type) && value == u"1";
    if (data_types::isAmputation(type)) {
        if (markedLimb) {
            if (ds.asString(kUnit).isEmpty())
                ds.setValue(kUnit, QStringLiteral("1"));
            ds.setValue(kObservation, ds.value(kUnit));
        } else {
            ds.setValue(kUnit, QVariant());
            ds.setValue(kObservation, QVariant());
        }
    }
    if (m_dataEdit == DataEdit::User && data_types::isNumeric(type) && !value.isEmpty()
        && !typedNumber(value))
        hostfw::MensErro(hostfw::InvalidFloatMessage(value, kValueLabel), true);
    // A typed value drops the observation; the estimate dialog's, the maturation
    // dialog's (the staging it names) and a limb count stay, and so does whatever the
    // page's own separator change posts.
    const bool keepsObservation = estimateFlag || markedLimb || data_types::isMaturation(type)
                                  || m_dataEdit != DataEdit::User;
    if (!keepsObservation)
        ds.setValue(kObservation, QVariant());
    records::Seta_Campo_Null(ds);
}

// ---------------------------------------------------------------- typing

std::optional<QChar> ResultPage::dbgDadosAvalKeyPress(const QString& field, QChar key)
{
    if (cdsDadosAval.isEmpty())
        return std::nullopt;
    DataKeyContext context;
    context.type = currentDataType();
    context.field = field;
    context.value = cdsDadosAval.asString(kValue);
    context.unit = cdsDadosAval.asString(kUnit);
    context.readOnly = readOnly();
    context.upperLimbs = inMaoMembro;
    context.lowerLimbs = inPeMembro;
    const DataKeyVerdict verdict = filterDataKey(context, key);
    if (verdict.kind == DataKeyVerdict::Kind::Refuse)
        hostfw::MensErro(verdict.message, true);
    if (!verdict.accepted())
        return std::nullopt;
    return verdict.key;
}

bool ResultPage::dataCellEditable(int row, const QString& field) const
{
    if (readOnly() || row < 0 || row >= cdsDadosAval.recordCount())
        return false;
    const QString type = cdsDadosAval.asStringAt(row, kType);
    if (field == kValue)
        return !data_types::isEdema(type) && !data_types::isAmputation(type)
               && !data_types::isMaturation(type);
    if (field == kUnit)
        return data_types::isAmputation(type) && cdsDadosAval.asStringAt(row, kValue) == u"1";
    return false;
}

bool ResultPage::answerButtonVisible(int row) const
{
    return !readOnly() && row >= 0 && row < cdsDadosAval.recordCount()
           && data_types::isCoded(cdsDadosAval.asStringAt(row, kType));
}

void ResultPage::setDataCell(const QString& field, const QString& text)
{
    if (cdsDadosAval.isEmpty() || !dataCellEditable(cdsDadosAval.recNo(), field))
        return;
    cdsDadosAval.edit();
    try {
        cdsDadosAval.setValue(field, text.isEmpty() ? QVariant() : QVariant(text));
    } catch (const records::Error& e) {
        m_form.repaint();
        hostfw::MensErro(e.message(), true);
    }
    m_form.repaint();
}

void ResultPage::dbgDadosAvalColExit(const QString& field)
{
    if (field != kValue || !cdsDadosAval.isEditing())
        return;
    const QString value = cdsDadosAval.asString(kValue);
    if (!value.isEmpty() && !typedNumber(value))
        hostfw::MensErro(hostfw::InvalidFloatMessage(value, kValueLabel), true);
}

void ResultPage::moveDataRow(int row)
{
    if (row == cdsDadosAval.recNo())
        return;
    cdsDadosAval.moveTo(row);
}

void ResultPage::postDataRow()
{
    if (!cdsDadosAval.isEditing())
        return;
    try {
        cdsDadosAval.post();
    } catch (...) {
        m_form.repaint();
        throw;
    }
}

// ---------------------------------------------------------------- coded answers

records::DataSet* ResultPage::answerList(const QString& type)
{
    switch (records::dataTypeDescriptor(type).answers) {
    case records::AnswerList::Time:
        return &m_form.cdsTrabPerda;
    case records::AnswerList::Edema:
    case records::AnswerList::Limb:
        return &m_form.cdsTrabStatus;
    case records::AnswerList::PregnancyTrimester:
        return &m_form.cdsTrimestreGesta;
    case records::AnswerList::LactationTrimester:
        return &m_form.cdsTrimestreLac;
    case records::AnswerList::ActivityLevel:
        return &m_form.cdsNaf;
    case records::AnswerList::None:
        break;
    }
    return nullptr;
}

void ResultPage::checkLimbForAnswer(const QString& type) const
{
    if (!data_types::isAmputation(type) || cdsDadosAval.asString(kValue) == u"1")
        return;
    if (data_types::isUpperLimb(type) && inMaoMembro >= 2)
        hostfw::MensErro(msgPadrao().Msg(QStringLiteral("Membro_Sup")), true);
    if (data_types::isLowerLimb(type) && inPeMembro >= 2)
        hostfw::MensErro(msgPadrao().Msg(QStringLiteral("Membro_Inf")), true);
}

void ResultPage::storeAnswer(const QString& code)
{
    cdsDadosAval.edit();
    cdsDadosAval.setValue(kValue, code);
    postDataRow();
}

void ResultPage::dbgDadosAvalEditButtonClick()
{
    if (!answerButtonVisible(cdsDadosAval.recNo()))
        return;
    const QString type = currentDataType();
    checkLimbForAnswer(type);
    records::DataSet* list = answerList(type);
    if (!hostfw::Pesquisar(*list, data_types::answerCaption(type), false, true))
        return;
    storeAnswer(list->asString(QStringLiteral("CDFATOR")));
}

// ---------------------------------------------------------------- command line

void ResultPage::locateDataRow(const QString& type)
{
    if (cdsDadosAval.isEditing() && currentDataType() == type)
        return;
    if (!cdsDadosAval.locate(kType, type))
        hostfw::MensErro(
            QStringLiteral("O tipo de dado '%1' não está entre os dados desta avaliação.")
                .arg(type),
            true);
}

bool ResultPage::recordValue(const QString& type, const QString& typed)
{
    if (readOnly())
        return false;
    locateDataRow(type);
    const QString name = cdsDadosAval.asString(QStringLiteral("NMTIPODADO"));
    cdsDadosAval.edit();
    m_form.repaint();
    if (!dataCellEditable(cdsDadosAval.recNo(), kValue)) {
        hostfw::MensErro(
            data_types::isMaturation(type)
                ? QStringLiteral("'%1' é informado pelo diálogo de maturação sexual.").arg(name)
                : QStringLiteral("'%1' não é digitado: escolha a resposta na lista.").arg(name),
            true);
    }
    QString text;
    for (QChar c : typed) {
        const std::optional<QChar> key = dbgDadosAvalKeyPress(kValue, c);
        if (!key)
            hostfw::MensErro(hostfw::InvalidFloatMessage(typed, kValueLabel), true);
        text += *key;
    }
    setDataCell(kValue, text);
    dbgDadosAvalColExit(kValue);
    postDataRow();
    return true;
}

bool ResultPage::recordAnswer(const QString& type, const QString& code)
{
    if (readOnly())
        return false;
    locateDataRow(type);
    records::DataSet* list = answerList(type);
    if (!list)
        hostfw::MensErro(QStringLiteral("'%1' não é escolhido numa lista: digite o valor.")
                             .arg(cdsDadosAval.asString(QStringLiteral("NMTIPODADO"))),
                         true);
    if (!list->locate(QStringLiteral("CDFATOR"), code))
        hostfw::MensErro(QStringLiteral("'%1' não é uma resposta da lista '%2'.")
                             .arg(code, data_types::answerCaption(type)),
                         true);
    if (code == u"1")
        checkLimbForAnswer(type);
    storeAnswer(code);
    return true;
}

bool ResultPage::recordLimbCount(const QString& type, const QString& count)
{
    if (readOnly())
        return false;
    locateDataRow(type);
    if (!dataCellEditable(cdsDadosAval.recNo(), kUnit))
        hostfw::MensErro(
            QStringLiteral("O número de membros só é informado numa amputação marcada."), true);
    cdsDadosAval.edit();
    m_form.repaint();
    if (count != u"1" && count != u"2")
        hostfw::MensErro(QStringLiteral("O número de membros deve ser 1 ou 2."), true);
    dbgDadosAvalKeyPress(kUnit, count.at(0));  // the second limb's check
    setDataCell(kUnit, count);
    postDataRow();
    return true;
}

}  // namespace workspace
