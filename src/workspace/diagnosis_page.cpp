#include "diagnosis_page.h"

#include "module_context.h"

#include "hostfw/busy.h"
#include "hostfw/confirm.h"
#include "hostfw/error_display.h"
#include "hostfw/reply_check.h"
#include "records/packet_codec.h"
#include "records/rich_text.h"

namespace workspace {
namespace {

const QString kText = QStringLiteral("DSHISTAVALNUT");

}  // namespace

DiagnosisPage::DiagnosisPage(AssessmentForm& form) : m_form(form) {}

void DiagnosisPage::prepareDataSets()
{
    records::DataSet& ds = m_form.cdsDiagNutri;
    ds.beforePost = [this](records::DataSet& d) {
        d.setValue(QStringLiteral("CDFILIAL"), stCdFilial);
        d.setValue(QStringLiteral("CDPACIENTE"), stCdPaciente);
        d.setValue(QStringLiteral("DTCONSPACI"), dtConsulta);
        // What the bar cannot produce does not reach the server; a text without any
        // letters is stored as no text.
        const records::CleanRichText clean = records::cleanRichText(m_rceDiag);
        d.setValue(kText, clean.hasText ? QVariant(clean.html) : QVariant());
        records::Seta_Campo_Null(d);
    };
    // After a post or a delete the change log goes to the server; the editor then shows
    // what was stored. On a failure the log is undone and the editor keeps the text
    // typed, so the user can confirm it again.
    const auto send = [this](records::DataSet&) {
        sendChanges();
        showStored();
    };
    ds.afterPost = send;
    ds.afterDelete = send;
    ds.afterOpen = [this](records::DataSet&) { showStored(); };
    ds.afterCancel = [this](records::DataSet&) { showStored(); };
}

void DiagnosisPage::sendChanges()
{
    records::DataSet& ds = m_form.cdsDiagNutri;
    if (ds.changeCount() == 0)
        return;
    try {
        hostfw::BusyGuard busy(m_form.busyIndicator(), hostfw::AviKind::Saving);
        const QJsonValue answer =
            hostfw::CheckResultServ(m_form.netAvalNutrEnerg.SetDiag(ds.delta()), true, 0);
        if (!answer.toString().isEmpty())
            hostfw::MensErro(answer.toString(), true);
        ds.mergeChangeLog();
    } catch (...) {
        ds.cancelUpdates();
        throw;
    }
}

void DiagnosisPage::showStored()
{
    m_rceDiag = storedText();
    ++m_revision;
}

QString DiagnosisPage::storedText() const
{
    const records::DataSet& ds = m_form.cdsDiagNutri;
    if (ds.isEmpty() || ds.state() == records::DataSetState::Insert)
        return {};
    return ds.asString(kText);
}

void DiagnosisPage::tshDiagNutriEnter()
{
    if (editing())
        return;
    hostfw::BusyGuard busy(m_form.busyIndicator(), hostfw::AviKind::Searching);
    m_form.cdsDiagNutri.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(m_form.netAvalNutrEnerg.GetDiag(m_form.key()), true, 0)));
}

bool DiagnosisPage::editorEnabled() const
{
    return m_form.loaded() && !readOnly();
}

bool DiagnosisPage::editing() const
{
    return m_form.cdsDiagNutri.isEditing();
}

bool DiagnosisPage::rceDiagKeyPress()
{
    if (!editorEnabled())
        return false;
    records::DataSet& ds = m_form.cdsDiagNutri;
    if (!ds.isEditing()) {
        if (ds.isEmpty())
            ds.insert();
        else
            ds.edit();
        m_form.repaint();
    }
    return true;
}

void DiagnosisPage::rceDiagDeleteKey()
{
    records::DataSet& ds = m_form.cdsDiagNutri;
    if (!editorEnabled() || ds.isEditing() || ds.isEmpty())
        return;
    ds.edit();
    m_form.repaint();
}

void DiagnosisPage::fplDiagClick()
{
    if (!m_fplClicked) {
        m_fplClicked = true;
        return;
    }
    rceDiagKeyPress();
}

void DiagnosisPage::rceDiagChange(const QString& html)
{
    if (!editorEnabled())
        return;
    m_rceDiag = html;
    rceDiagKeyPress();
}

void DiagnosisPage::sbtIncluirClick()
{
    records::DataSet& ds = m_form.cdsDiagNutri;
    if (!editorEnabled() || ds.isEditing() || !ds.isEmpty())
        return;
    ds.insert();
    showStored();  // a new diagnosis starts empty
    m_form.repaint();
}

void DiagnosisPage::sbtExcluirClick()
{
    records::DataSet& ds = m_form.cdsDiagNutri;
    if (readOnly() || ds.isEditing() || ds.isEmpty())
        return;
    if (!hostfw::Confirm(QStringLiteral("Confirma exclusão?")))
        return;
    try {
        ds.remove();
    } catch (...) {
        m_form.repaint();
        throw;
    }
    m_form.repaint();
}

DiagnosisPage::Buttons DiagnosisPage::buttons() const
{
    Buttons b;
    const records::DataSet& ds = m_form.cdsDiagNutri;
    const bool enabled = editorEnabled();
    if (ds.isEditing()) {
        b.sbtConfirmar = enabled;
        b.sbtCancelar = enabled;
        b.otherTabs = false;
        return b;
    }
    // A consultation has one diagnosis: Include only while it has none.
    b.sbtIncluir = enabled && ds.isEmpty();
    b.sbtAlterar = enabled && !ds.isEmpty();
    b.sbtExcluir = enabled && !ds.isEmpty();
    return b;
}

bool DiagnosisPage::storeText(const QString& html)
{
    if (!editorEnabled())
        return false;
    m_form.showPage(OuterPage::tshDiagNutri);
    rceDiagChange(html);
    m_form.sbtConfirmarClick();
    return true;
}

}  // namespace workspace
