#include "tfrm_aval_nutric.h"

#include "report_document.h"

#include "hostfw/action.h"
#include "hostfw/clock.h"
#include "hostfw/widgets/date_edit_plus.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace report {
namespace {

QLineEdit* weekdayBox(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setMaximumWidth(48);
    return e;
}

}  // namespace

TfrmAvalNutric::TfrmAvalNutric(QWidget* parent, workspace::NetConnection::Transport transport)
    : hostfw::TfrmDadosGerRel(parent),
      m_core(std::move(transport))
{
    setObjectName(QStringLiteral("frmAvalNutric"));
    setWindowTitle(QStringLiteral("Avaliação Nutricional"));
    setScreenCode(QStringLiteral("VEX12214"));
    setReportCode(kReportCode);
    m_core.setBusyIndicator(&m_busy);

    gpbPeriodo = new QGroupBox(QStringLiteral("Período da Consulta"), panPrincipal);
    gpbPeriodo->setObjectName(QStringLiteral("gpbPeriodo"));
    depDataIni = new hostfw::TDateEditPlus(gpbPeriodo);
    depDataIni->setObjectName(QStringLiteral("depDataIni"));
    edtDataIni = weekdayBox(gpbPeriodo, QStringLiteral("edtDataIni"));
    depDataFin = new hostfw::TDateEditPlus(gpbPeriodo);
    depDataFin->setObjectName(QStringLiteral("depDataFin"));
    edtDataFin = weekdayBox(gpbPeriodo, QStringLiteral("edtDataFin"));
    auto* period = new QHBoxLayout(gpbPeriodo);
    period->addWidget(new QLabel(QStringLiteral("de"), gpbPeriodo));
    period->addWidget(depDataIni);
    period->addWidget(edtDataIni);
    period->addSpacing(12);
    period->addWidget(new QLabel(QStringLiteral("até"), gpbPeriodo));
    period->addWidget(depDataFin);
    period->addWidget(edtDataFin);
    period->addStretch();

    grpMetodo = new QGroupBox(QStringLiteral("Método"), panPrincipal);
    grpMetodo->setObjectName(QStringLiteral("grpMetodo"));
    rbtTodosMet = new QRadioButton(QStringLiteral("Todos"), grpMetodo);
    rbtTodosMet->setObjectName(QStringLiteral("rbtTodosMet"));
    rbtTodosMet->setChecked(true);
    rbtListaMet = new QRadioButton(QStringLiteral("Lista"), grpMetodo);
    rbtListaMet->setObjectName(QStringLiteral("rbtListaMet"));
    btpMetodo = new QToolButton(grpMetodo);
    btpMetodo->setObjectName(QStringLiteral("btpMetodo"));
    btpMetodo->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    btpMetodo->setToolTip(QStringLiteral("Pesquisar"));
    auto* methods = new QHBoxLayout(grpMetodo);
    methods->addWidget(rbtTodosMet);
    methods->addSpacing(12);
    methods->addWidget(rbtListaMet);
    methods->addWidget(btpMetodo);
    methods->addStretch();

    auto* layout = new QVBoxLayout(panPrincipal);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(gpbPeriodo);
    layout->addWidget(grpMetodo);
    layout->addStretch();

    connect(depDataIni, &hostfw::TDateEditPlus::textEdited, this, [this] {
        m_core.edtDataIniTyped(depDataIni->text());
        repaintFromCore();
    });
    connect(depDataFin, &hostfw::TDateEditPlus::textEdited, this, [this] {
        m_core.edtDataFinTyped(depDataFin->text());
        repaintFromCore();
    });
    connect(depDataIni, &hostfw::TDateEditPlus::datePicked, this, [this](const QDate& d) {
        m_core.depDataIniPicked(d);
        repaintFromCore();
    });
    connect(depDataFin, &hostfw::TDateEditPlus::datePicked, this, [this](const QDate& d) {
        m_core.depDataFinPicked(d);
        repaintFromCore();
    });
    connect(depDataIni, &hostfw::TDateEditPlus::editingFinished, this, [this] {
        if (!hostfw::RunAction([this] { m_core.depDataIniExit(); }))
            focusFailed();
    });
    connect(depDataFin, &hostfw::TDateEditPlus::editingFinished, this, [this] {
        if (!hostfw::RunAction([this] { m_core.depDataFinExit(); }))
            focusFailed();
    });
    connect(rbtTodosMet, &QRadioButton::clicked, this, [this] {
        m_core.rbtTodosMetClick();
        repaintFromCore();
    });
    connect(rbtListaMet, &QRadioButton::clicked, this, [this] {
        m_core.rbtListaMetClick();
        repaintFromCore();
    });
    connect(btpMetodo, &QToolButton::clicked, this, [this] {
        hostfw::RunAction([this] { m_core.btpMetodoClick(); });
        repaintFromCore();
    });
    repaintFromCore();
}

void TfrmAvalNutric::repaintFromCore()
{
    edtDataIni->setText(m_core.edtDataIni());
    edtDataFin->setText(m_core.edtDataFin());
    btpMetodo->setEnabled(m_core.btpMetodoEnabled());
    btpMetodo->setToolTip(m_core.chosenMethods().isEmpty()
                              ? QStringLiteral("Pesquisar")
                              : QStringLiteral("Pesquisar (%1)").arg(m_core.chosenMethods()));
}

void TfrmAvalNutric::focusFailed()
{
    switch (m_core.focus()) {
    case AvalNutricForm::Focus::depDataIni:
        depDataIni->lineEdit()->setFocus();
        break;
    case AvalNutricForm::Focus::depDataFin:
        depDataFin->lineEdit()->setFocus();
        break;
    case AvalNutricForm::Focus::rbtListaMet:
        rbtListaMet->setFocus();
        break;
    case AvalNutricForm::Focus::None:
        break;
    }
}

void TfrmAvalNutric::showEvent(QShowEvent* event)
{
    hostfw::TfrmDadosGerRel::showEvent(event);
    repaint();
    hostfw::RunAction([this] { m_core.FormActivate(); });
}

void TfrmAvalNutric::closeEvent(QCloseEvent* event)
{
    m_core.FormClose();
    hostfw::TfrmDadosGerRel::closeEvent(event);
}

bool TfrmAvalNutric::PrepareReport()
{
    // The boxes as shown are what the check reads.
    m_core.edtDataIniTyped(depDataIni->text());
    m_core.edtDataFinTyped(depDataFin->text());
    if (const QDate d = depDataIni->GetDate(); d.isValid())
        m_core.depDataIniPicked(d);
    if (const QDate d = depDataFin->GetDate(); d.isValid())
        m_core.depDataFinPicked(d);
    repaintFromCore();
    const bool ok = hostfw::RunAction([this] { m_data = m_core.PrepareReport(); });
    if (!ok)
        focusFailed();
    return ok;
}

void TfrmAvalNutric::PaintReport(QPagedPaintDevice& device)
{
    const std::unique_ptr<QTextDocument> document = reportDocument(m_data);
    paintReport(*document, device, hostfw::Now());
}

}  // namespace report
