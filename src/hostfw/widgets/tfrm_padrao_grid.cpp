#include "tfrm_padrao_grid.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>

namespace hostfw {
namespace {

QAction* addButton(QToolBar* bar, const QString& objectName, const QString& text,
                   QStyle::StandardPixmap icon)
{
    QAction* action = bar->addAction(bar->style()->standardIcon(icon), text);
    action->setObjectName(objectName);
    action->setToolTip(text);
    return action;
}

}  // namespace

TfrmPadraoGrid::TfrmPadraoGrid(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmPadraoGrid"));

    toolBar = addToolBar(QStringLiteral("Ferramentas"));
    toolBar->setObjectName(QStringLiteral("tbrPadrao"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    sbtAlterar = addButton(toolBar, QStringLiteral("sbtAlterar"), QStringLiteral("Alterar"),
                           QStyle::SP_FileDialogDetailedView);
    sbtConfirmar = addButton(toolBar, QStringLiteral("sbtConfirmar"), QStringLiteral("Confirmar"),
                             QStyle::SP_DialogApplyButton);
    sbtCancelar = addButton(toolBar, QStringLiteral("sbtCancelar"), QStringLiteral("Cancelar"),
                            QStyle::SP_DialogCancelButton);
    sbtProcurar = addButton(toolBar, QStringLiteral("sbtProcurar"), QStringLiteral("Procurar"),
                            QStyle::SP_FileDialogContentsView);
    toolBar->addSeparator();
    sbtAjuda = addButton(toolBar, QStringLiteral("sbtAjuda"), QStringLiteral("Ajuda"),
                         QStyle::SP_DialogHelpButton);
    sbtImprimir = addButton(toolBar, QStringLiteral("sbtImprimir"), QStringLiteral("Imprimir"),
                            QStyle::SP_FileIcon);
    sbtFechar = addButton(toolBar, QStringLiteral("sbtFechar"), QStringLiteral("Fechar"),
                          QStyle::SP_DialogCloseButton);
    toolBar->addSeparator();

    dbnPadrao = addToolBar(QStringLiteral("Navegador"));
    dbnPadrao->setObjectName(QStringLiteral("dbnPadrao"));
    dbnPadrao->setMovable(false);
    dbnFirst = addButton(dbnPadrao, QStringLiteral("dbnFirst"), QStringLiteral("Primeiro"),
                         QStyle::SP_MediaSkipBackward);
    dbnPrior = addButton(dbnPadrao, QStringLiteral("dbnPrior"), QStringLiteral("Anterior"),
                         QStyle::SP_MediaSeekBackward);
    dbnNext = addButton(dbnPadrao, QStringLiteral("dbnNext"), QStringLiteral("Próximo"),
                        QStyle::SP_MediaSeekForward);
    dbnLast = addButton(dbnPadrao, QStringLiteral("dbnLast"), QStringLiteral("Último"),
                        QStyle::SP_MediaSkipForward);
    lblCodigoTela = new QLabel(this);
    lblCodigoTela->setObjectName(QStringLiteral("lblCodigoTela"));
    lblCodigoTela->setContentsMargins(12, 0, 12, 0);
    dbnPadrao->addWidget(lblCodigoTela);

    mnuOperacao = menuBar()->addMenu(QStringLiteral("&Operação"));
    mnuOperacao->setObjectName(QStringLiteral("mnuOperacao"));
    mnuManutencao = menuBar()->addMenu(QStringLiteral("&Manutenção"));
    mnuManutencao->setObjectName(QStringLiteral("mnuManutencao"));
    for (QAction* a : {sbtAlterar, sbtConfirmar, sbtCancelar, sbtProcurar})
        mnuManutencao->addAction(a);
    mnuManutencao->addSeparator();

    pgcPadrao = new QTabWidget(this);
    pgcPadrao->setObjectName(QStringLiteral("pgcPadrao"));
    tshPadrao = new QWidget(pgcPadrao);
    tshPadrao->setObjectName(QStringLiteral("tshPadrao"));
    setCentralWidget(pgcPadrao);

    connect(sbtFechar, &QAction::triggered, this, &QWidget::close);
}

void TfrmPadraoGrid::setScreenCode(const QString& code)
{
    lblCodigoTela->setText(code);
}

void TfrmPadraoGrid::closeEvent(QCloseEvent* event)
{
    emit closing();
    QMainWindow::closeEvent(event);
}

}  // namespace hostfw
