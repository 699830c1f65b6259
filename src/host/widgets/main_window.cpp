#include "host/widgets/main_window.h"

#include "host/widgets/patient_picker_dialog.h"

#include "hostfw/action.h"
#include "hostfw/widgets/mdi_host.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>

namespace host {

MainWindow::MainWindow(records::AppServer& server, ConsultationOpener opener, QWidget* parent)
    : QMainWindow(parent),
      m_server(server),
      m_opener(std::move(opener))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("avalnutri"));

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);

    createMenus();

    m_serverLabel = new QLabel(this);
    m_serverLabel->setObjectName(QStringLiteral("serverLabel"));
    statusBar()->addPermanentWidget(m_serverLabel);
    statusBar()->showMessage(QStringLiteral("Use Arquivo > Abrir consulta... para escolher o "
                                            "paciente e a data da consulta."));

    resize(1024, 720);
    hostfw::setMdiHost(m_mdiArea);
}

void MainWindow::createMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    fileMenu->setObjectName(QStringLiteral("menuArquivo"));

    m_openAction = fileMenu->addAction(QStringLiteral("&Abrir consulta..."));
    m_openAction->setObjectName(QStringLiteral("actionAbrirConsulta"));
    m_openAction->setShortcut(QKeySequence::Open);
    connect(m_openAction, &QAction::triggered, this, &MainWindow::openConsultation);

    fileMenu->addSeparator();
    QAction* quit = fileMenu->addAction(QStringLiteral("&Sair"));
    quit->setObjectName(QStringLiteral("actionSair"));
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(quit, &QAction::triggered, this, &QMainWindow::close);

    QMenu* windowMenu = menuBar()->addMenu(QStringLiteral("&Janela"));
    windowMenu->setObjectName(QStringLiteral("menuJanela"));
    QAction* cascade = windowMenu->addAction(QStringLiteral("&Cascata"));
    cascade->setObjectName(QStringLiteral("actionCascata"));
    connect(cascade, &QAction::triggered, m_mdiArea, &QMdiArea::cascadeSubWindows);
    QAction* tile = windowMenu->addAction(QStringLiteral("&Lado a lado"));
    tile->setObjectName(QStringLiteral("actionLadoALado"));
    connect(tile, &QAction::triggered, m_mdiArea, &QMdiArea::tileSubWindows);
}

void MainWindow::setServerDescription(const QString& address)
{
    m_serverLabel->setText(QStringLiteral("Servidor: %1").arg(address));
}

bool MainWindow::openChoice(const ConsultationChoice& choice)
{
    const bool done = hostfw::RunAction([&] { m_opener(choice); });
    if (done)
        statusBar()->showMessage(QStringLiteral("Consulta aberta: %1 (%2), %3")
                                     .arg(choice.patient.name, choice.patient.code,
                                          choice.date.toString(QStringLiteral("dd/MM/yyyy"))));
    return done;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    m_mdiArea->closeAllSubWindows();
    if (!m_mdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::openConsultation()
{
    PatientPickerDialog picker(m_server, this);
    if (picker.exec() != QDialog::Accepted || !picker.choice())
        return;
    openChoice(*picker.choice());
}

}  // namespace host
