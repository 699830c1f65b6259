// The method page: choosing the methods of the consultation in dbgMetoAval, their
// references, and the rules of the body mass index group.

#include "method_page.h"
#include "method_filter.h"
#include "module_context.h"
#include "reference_check.h"
#include "workspace_messages.h"

#include "hostfw/error_display.h"
#include "hostfw/errors.h"
#include "hostfw/pick_list.h"
#include "records/catalogue_descriptors.h"

namespace workspace {
namespace {

const QString kSelection = QStringLiteral("IDTABELAAV");
const QString kReference = QStringLiteral("CDTABELACO");
const QString kMethod = QStringLiteral("CDTBMETOAVAL");
const QString kUseFlag = QStringLiteral("IDTBUTILTABE");

bool inBodyMassIndexGroup(const records::MethodDescriptor* method)
{
    return method && method->group == records::ExclusiveGroup::BodyMassIndex;
}

bool usesReferenceTable(const QString& useFlag)
{
    return !useFlag.isEmpty() && useFlag != u"0";
}

}  // namespace

MethodPage::MethodPage(AssessmentForm& form) : m_form(form), cdsMetoAval(form.cdsMetoAval) {}

void MethodPage::prepareMethodList()
{
    // Nobody adds methods to a consultation, and a deceased patient's list is read-only
    // once loaded (the load's own clearing of references still runs).
    cdsMetoAval.beforeInsert = [](records::DataSet&) { throw hostfw::Abort(); };
    cdsMetoAval.beforeEdit = [this](records::DataSet&) {
        if (readOnly())
            throw hostfw::Abort();
    };
}

void MethodPage::refuseBodyMassIndexConflict(const QString& code)
{
    // The methods of the group exclude each other; in catalogue order the first selected
    // one names itself in the refusal.
    if (!inBodyMassIndexGroup(records::findMethodDescriptor(code)))
        return;
    for (const records::MethodDescriptor& member : records::methodDescriptors()) {
        if (!inBodyMassIndexGroup(&member) || member.code == code)
            continue;
        for (int row = 0; row < cdsMetoAval.recordCount(); ++row) {
            if (row == cdsMetoAval.recNo())
                continue;
            if (cdsMetoAval.asStringAt(row, kMethod) == member.code
                && cdsMetoAval.asStringAt(row, kSelection) == u"S")
                hostfw::MensErro(msgPadrao().Msg(QString::fromLatin1(member.groupMessageKey)),
                                 true);
        }
    }
}

bool MethodPage::toggleMethod()
{
    if (readOnly() || cdsMetoAval.isEmpty() || dbgMetoAvalColumn != kSelection)
        return false;
    // Results are shown again only after the next calculation or refresh.
    m_form.cdsResuAval.clear();
    const bool selecting = cdsMetoAval.asString(kSelection) != u"S";
    if (selecting) {
        refuseBodyMassIndexConflict(cdsMetoAval.asString(kMethod));
        cdsMetoAval.edit();
        cdsMetoAval.setValue(kSelection, QStringLiteral("S"));
        cdsMetoAval.setValue(kReference, cdsMetoAval.value(QStringLiteral("CDTBREFMETOA")));
    } else {
        cdsMetoAval.edit();
        cdsMetoAval.setValue(kSelection, QStringLiteral("N"));
        cdsMetoAval.setValue(kReference, QVariant());
    }
    repaintAfter([&] {
        if (selecting)
            Vd_Referencia(false);
    });
    return true;
}

void MethodPage::moveMethodRow(int row)
{
    if (row == cdsMetoAval.recNo())
        return;
    cdsMetoAval.moveTo(row);
    emit m_form.changed();
}

void MethodPage::setMethodColumn(const QString& field)
{
    if (dbgMetoAvalColumn == kReference && field != kReference)
        Vd_Referencia(false);  // a refusal leaves the reference column current
    dbgMetoAvalColumn = field;
}

bool MethodPage::methodCellEditable(int row, const QString& field) const
{
    return !readOnly() && field == kReference && referenceButtonVisible(row);
}

bool MethodPage::referenceButtonVisible(int row) const
{
    return usesReferenceTable(cdsMetoAval.asStringAt(row, kUseFlag));
}

void MethodPage::typeMethodReference(const QString& text)
{
    if (readOnly() || cdsMetoAval.isEmpty() || !usesReferenceTable(cdsMetoAval.asString(kUseFlag)))
        return;
    cdsMetoAval.edit();
    try {
        cdsMetoAval.setValue(kReference, text.isEmpty() ? QVariant() : QVariant(text));
    } catch (const records::Error& e) {
        hostfw::MensErro(e.message(), true);
    }
    m_form.repaint();
}

void MethodPage::dbgMetoAvalEditButtonClick()
{
    if (readOnly() || cdsMetoAval.isEmpty())
        return;
    const QString useFlag = cdsMetoAval.asString(kUseFlag);
    if (!usesReferenceTable(useFlag))
        return;
    records::DataSet& references =
        fetchReferences(m_form, useFlag, QString(), cdsMetoAval.asString(kMethod));
    const QString caption = msgPadrao().Msg(QStringLiteral("Refe")) + u'|'
                            + msgPadrao().Msg(QStringLiteral("Refe_NHa"));
    if (!hostfw::Pesquisar(references, caption, false, true))
        return;
    cdsMetoAval.edit();
    cdsMetoAval.setValue(QStringLiteral("NMREFEBIBL"),
                         references.value(QStringLiteral("NMREFEBIBL")));
    cdsMetoAval.setValue(kReference, references.value(QStringLiteral("CDREFEBIBL")));
    m_form.repaint();
}

void MethodPage::postMethodRow()
{
    repaintAfter([this] { cdsMetoAval.post(); });
}

void MethodPage::repaintAfter(const std::function<void()>& step)
{
    try {
        step();
    } catch (...) {
        m_form.repaint();
        throw;
    }
    m_form.repaint();
}

void MethodPage::locateMethodRow(const QString& code)
{
    if (cdsMetoAval.isEditing() && cdsMetoAval.asString(kMethod) == code)
        return;
    if (!cdsMetoAval.locate(kMethod, code))
        hostfw::MensErro(
            QStringLiteral("O método '%1' não está na lista de métodos desta consulta.").arg(code),
            true);
}

bool MethodPage::selectMethod(const QString& code, const std::optional<QString>& reference)
{
    if (readOnly())
        return false;
    locateMethodRow(code);
    if (reference && !usesReferenceTable(cdsMetoAval.asString(kUseFlag)))
        hostfw::MensErro(QStringLiteral("O método '%1' não usa tabela de referência.").arg(code),
                         true);
    dbgMetoAvalColumn = kSelection;
    if (cdsMetoAval.asString(kSelection) != u"S")
        toggleMethod();
    if (reference) {
        setMethodColumn(kReference);
        typeMethodReference(*reference);
        setMethodColumn(kSelection);
    }
    postMethodRow();
    return true;
}

bool MethodPage::unselectMethod(const QString& code)
{
    if (readOnly())
        return false;
    locateMethodRow(code);
    dbgMetoAvalColumn = kSelection;
    if (cdsMetoAval.asString(kSelection) == u"S")
        toggleMethod();
    postMethodRow();
    return true;
}

void MethodPage::applyMethodFilter()
{
    workspace::applyMethodFilter(cdsMetoAval, m_form.sexLetter(), m_form.ageYears());
}

void MethodPage::Vd_Referencia(bool referenceRequired)
{
    try {
        checkReference(m_form, cdsMetoAval, referenceRequired, dbgMetoAvalColumn == kReference,
                       cdsMetoAval.asString(kUseFlag));
    } catch (...) {
        // The user corrects the reference where it is typed.
        dbgMetoAvalColumn = kReference;
        emit m_form.focusRequested(kReference);
        throw;
    }
}

}  // namespace workspace
