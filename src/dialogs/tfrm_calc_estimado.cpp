#include "tfrm_calc_estimado.h"

#include "hostfw/action.h"
#include "hostfw/widgets/number_edit.h"
#include "workspace/assessment_form.h"
#include "workspace/result_page.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace dialogs {
namespace {

TfrmCalcEstimado::Run& nextRun()
{
    static TfrmCalcEstimado::Run run;
    return run;
}

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// A number edit of the dialog: two decimals, no grouping, its text kept in the core.
hostfw::TNumberEdit* numberEdit(const QString& name, QString& coreText, QWidget* parent)
{
    auto* edit = new hostfw::TNumberEdit(parent);
    edit->setObjectName(name);
    edit->setDecimals(2);
    edit->setMaximumWidth(90);
    edit->setAlignment(Qt::AlignRight);
    QObject::connect(edit, &QLineEdit::textChanged,
                     [&coreText](const QString& text) { coreText = text; });
    return edit;
}

// One line of a group: the caption, the edit and its unit.
void addRow(QGridLayout* grid, QLabel* caption, QWidget* edit, QLabel* unit)
{
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(unit, row, 2);
}

}  // namespace

TfrmCalcEstimado::TfrmCalcEstimado(workspace::AssessmentForm& form, QWidget* parent)
    : hostfw::TfrmRotiGeral(parent),
      m_core(form)
{
    setObjectName(QStringLiteral("frmCalcEstimado"));
    setWindowTitle(QStringLiteral("Cálculo Peso/Altura Estimado (Chumlea)"));
    setScreenCode(QStringLiteral("VEX12201"));

    rdgChumlea = new QGroupBox(QStringLiteral("Equação"), panPrincipal);
    rdgChumlea->setObjectName(QStringLiteral("rdgChumlea"));
    rdgChumlea1987 = new QRadioButton(QStringLiteral("Chumlea(1987)"), rdgChumlea);
    rdgChumlea1988 = new QRadioButton(QStringLiteral("Chumlea(1988)"), rdgChumlea);
    auto* items = new QButtonGroup(this);
    items->addButton(rdgChumlea1987, EstimateDialog::kChumlea1987);
    items->addButton(rdgChumlea1988, EstimateDialog::kChumlea1988);
    auto* itemGrid = new QGridLayout(rdgChumlea);
    itemGrid->addWidget(rdgChumlea1987, 0, 0);
    itemGrid->addWidget(rdgChumlea1988, 0, 1);

    grbPesoAltura = new QGroupBox(QStringLiteral("Peso / Altura"), panPrincipal);
    grbPesoAltura->setObjectName(QStringLiteral("grbPesoAltura"));
    auto* kneeGrid = new QGridLayout(grbPesoAltura);
    lblJoelho =
        label(QStringLiteral("lblJoelho"), QStringLiteral("Altura do Joelho"), grbPesoAltura);
    nedJoelho = numberEdit(QStringLiteral("nedJoelho"), m_core.nedJoelho, grbPesoAltura);
    addRow(kneeGrid, lblJoelho, nedJoelho,
           label(QStringLiteral("lblJoelhoCM"), QStringLiteral("(cm)"), grbPesoAltura));

    grbPeso = new QGroupBox(QStringLiteral("Peso"), panPrincipal);
    grbPeso->setObjectName(QStringLiteral("grbPeso"));
    auto* weightGrid = new QGridLayout(grbPeso);
    lblCircPan = label(QStringLiteral("lblCircPan"),
                       QStringLiteral("Circunferência da Panturrilha"), grbPeso);
    nedPantu = numberEdit(QStringLiteral("nedPantu"), m_core.nedPantu, grbPeso);
    lblCirPanCM = label(QStringLiteral("lblCirPanCM"), QStringLiteral("(cm)"), grbPeso);
    addRow(weightGrid, lblCircPan, nedPantu, lblCirPanCM);
    lblCMB = label(QStringLiteral("lblCMB"), QStringLiteral("Circunferência do Braço"), grbPeso);
    nedCMB = numberEdit(QStringLiteral("nedCMB"), m_core.nedCMB, grbPeso);
    addRow(weightGrid, lblCMB, nedCMB,
           label(QStringLiteral("lblCMBCM"), QStringLiteral("(cm)"), grbPeso));
    lblPrCutSub =
        label(QStringLiteral("lblPrCutSub"), QStringLiteral("Prega Cutânea Subscapular"), grbPeso);
    nedPCS = numberEdit(QStringLiteral("nedPCS"), m_core.nedPCS, grbPeso);
    // The skinfold of the 1988 equation is in millimetres.
    lblPrCutCM = label(QStringLiteral("lblPrCutCM"), QStringLiteral("(mm)"), grbPeso);
    addRow(weightGrid, lblPrCutSub, nedPCS, lblPrCutCM);
    // The captions of both groups line up.
    for (QGridLayout* grid : {kneeGrid, weightGrid}) {
        grid->setColumnMinimumWidth(0, 190);
        grid->setColumnStretch(2, 1);
    }

    lblAviso = label(QStringLiteral("lblAviso"), QString(), panPrincipal);
    lblAviso->setStyleSheet(QStringLiteral("color: #a00000;"));
    lblAviso->setWordWrap(true);

    auto* layout = new QVBoxLayout(panPrincipal);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(rdgChumlea);
    layout->addWidget(grbPesoAltura);
    layout->addWidget(grbPeso);
    layout->addWidget(lblAviso);

    connect(items, &QButtonGroup::idClicked, this, [this](int index) {
        m_core.rdgChumleaClick(index);
        repaintFromCore();
    });
    repaintFromCore();
    // Not resizable: the dialog takes the size of what it shows, the notice included.
    QDialog::layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmCalcEstimado::repaintFromCore()
{
    rdgChumlea1987->setChecked(m_core.rdgChumlea == EstimateDialog::kChumlea1987);
    rdgChumlea1988->setChecked(m_core.rdgChumlea == EstimateDialog::kChumlea1988);
    const bool enabled = m_core.calfAndSkinfoldEnabled();
    for (QWidget* w : std::initializer_list<QWidget*>{lblCircPan, nedPantu, lblCirPanCM,
                                                      lblPrCutSub, nedPCS, lblPrCutCM})
        w->setEnabled(enabled);
    const QString notice = m_core.weightNotice();
    lblAviso->setText(notice);
    lblAviso->setVisible(!notice.isEmpty());
}

void TfrmCalcEstimado::showEvent(QShowEvent* event)
{
    // FormActivate: the dialog repaints.
    repaintFromCore();
    hostfw::TfrmRotiGeral::showEvent(event);
}

void TfrmCalcEstimado::sbtConfirmaClick()
{
    // A refused estimate keeps the dialog open with what was typed.
    if (hostfw::RunAction([this] { m_core.sbtConfirmaClick(); }))
        accept();
}

int TfrmCalcEstimado::run()
{
    Run next = std::exchange(nextRun(), Run());
    if (!next)
        return exec();
    setResult(QDialog::Rejected);
    show();
    next(*this);
    if (isVisible())
        reject();
    return result();
}

void TfrmCalcEstimado::setNextRun(Run run)
{
    nextRun() = std::move(run);
}

void sbtEstimadoClick(workspace::AssessmentForm& form, QWidget* parent)
{
    TfrmCalcEstimado dialog(form, parent);
    dialog.run();
    form.resultPage().estimateFlag = false;
}

}  // namespace dialogs
