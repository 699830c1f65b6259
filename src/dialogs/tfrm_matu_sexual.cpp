#include "tfrm_matu_sexual.h"

#include "hostfw/action.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace dialogs {
namespace {

using Column = MaturationDialog::Column;

QString pagePrefix(int page)
{
    return page == MaturationDialog::pgFeminino ? QStringLiteral("Fem") : QStringLiteral("Masc");
}

QString columnLetter(int page, Column column)
{
    if (column == Column::Pubic)
        return QStringLiteral("P");
    return page == MaturationDialog::pgFeminino ? QStringLiteral("M") : QStringLiteral("G");
}

}  // namespace

TfrmMatuSexual::TfrmMatuSexual(workspace::AssessmentForm& form, int years, int months, int page,
                               QWidget* parent)
    : hostfw::TfrmRotiGeral(parent),
      m_core(form, years, months, page)
{
    setObjectName(QStringLiteral("frmMatuSexual"));
    setWindowTitle(QStringLiteral("Maturação Sexual"));
    setScreenCode(QStringLiteral("VEX12202"));

    auto* layout = new QVBoxLayout(panPrincipal);
    layout->setContentsMargins(0, 0, 0, 0);
    nbkSexos = new QStackedWidget(panPrincipal);
    nbkSexos->setObjectName(QStringLiteral("nbkSexos"));
    pgFeminino = buildPage(MaturationDialog::pgFeminino, scbFem, panLeftFem);
    pgMasculino = buildPage(MaturationDialog::pgMasculino, scbMasc, panLeftMasc);
    nbkSexos->addWidget(pgFeminino);
    nbkSexos->addWidget(pgMasculino);
    nbkSexos->setCurrentIndex(m_core.page());
    layout->addWidget(nbkSexos);

    repaintButtons();
    resize(kStagePictureWidth * 2 + 110, 660);
}

QWidget* TfrmMatuSexual::buildPage(int page, QScrollArea*& box, QWidget*& leftPanel)
{
    const bool girls = page == MaturationDialog::pgFeminino;
    auto* pageWidget = new QWidget;
    pageWidget->setObjectName(girls ? QStringLiteral("pgFeminino") : QStringLiteral("pgMasculino"));
    auto* pageLayout = new QVBoxLayout(pageWidget);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    box = new QScrollArea(pageWidget);
    box->setObjectName(girls ? QStringLiteral("scbFem") : QStringLiteral("scbMasc"));
    box->setWidgetResizable(true);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pageLayout->addWidget(box);

    auto* content = new QWidget;
    auto* columns = new QHBoxLayout(content);
    leftPanel = buildColumn(page, Column::Left, girls ? StageKind::Breast : StageKind::Genital,
                            new QButtonGroup(this));
    leftPanel->setObjectName(girls ? QStringLiteral("panLeftFem") : QStringLiteral("panLeftMasc"));
    columns->addWidget(leftPanel);
    columns->addWidget(buildColumn(page, Column::Pubic,
                                   girls ? StageKind::PubicFemale : StageKind::PubicMale,
                                   new QButtonGroup(this)));
    box->setWidget(content);
    return pageWidget;
}

QWidget* TfrmMatuSexual::buildColumn(int page, Column column, StageKind kind, QButtonGroup* group)
{
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setSpacing(2);
    group->setExclusive(true);
    const QString suffix = pagePrefix(page) + columnLetter(page, column);
    for (int stage = 1; stage <= MaturationDialog::kStages; ++stage) {
        auto* picture = new QLabel(panel);
        picture->setObjectName(QStringLiteral("img") + suffix + QString::number(stage));
        picture->setPixmap(QPixmap::fromImage(stagePicture(kind, stage)));
        picture->setFrameShape(QFrame::StyledPanel);
        picture->setFixedSize(kStagePictureWidth + 2, kStagePictureHeight + 2);
        auto* button = new QRadioButton(panel);
        button->setObjectName(QStringLiteral("rbt") + suffix + QString::number(stage));
        // Unlabelled: the picture above names the stage; screen readers get the code.
        button->setAccessibleName(stageCaption(kind, stage));
        group->addButton(button, stage);
        layout->addWidget(picture);
        layout->addWidget(button, 0, Qt::AlignHCenter);
        layout->addSpacing(10);
    }
    layout->addStretch();
    connect(group, &QButtonGroup::idClicked, this, [this, page, column](int stage) {
        if (page == m_core.page())
            m_core.choose(column, stage);
        repaintButtons();
    });
    return panel;
}

QRadioButton* TfrmMatuSexual::radio(const QString& name) const
{
    return findChild<QRadioButton*>(name);
}

void TfrmMatuSexual::repaintButtons()
{
    for (Column column : {Column::Left, Column::Pubic}) {
        for (int stage = 1; stage <= MaturationDialog::kStages; ++stage) {
            QRadioButton* button = radio(m_core.buttonName(column, stage));
            button->setEnabled(m_core.stageEnabled(column, stage));
            const bool chosen = m_core.chosen(column) == stage;
            if (button->isChecked() != chosen) {
                // An exclusive group keeps one button checked; let it go to clear.
                button->group()->setExclusive(false);
                button->setChecked(chosen);
                button->group()->setExclusive(true);
            }
        }
    }
}

void TfrmMatuSexual::sbtConfirmaClick()
{
    auto confirmed = MaturationDialog::Confirmed::Incomplete;
    if (!hostfw::RunAction([&] { confirmed = m_core.sbtConfirmaClick(); }))
        return;
    if (confirmed != MaturationDialog::Confirmed::Incomplete)
        accept();
}

void CriaMatuSexual(workspace::AssessmentForm& form, int years, int months, int page,
                    QWidget* parent)
{
    TfrmMatuSexual dialog(form, years, months, page, parent);
    dialog.exec();
}

}  // namespace dialogs
