#include "host/widgets/main_window.h"

#include "host/widgets/change_history_dialog.h"
#include "host/widgets/patient_picker_dialog.h"

#include "hostfw/action.h"
#include "hostfw/widgets/mdi_host.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

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

    m_userLabel = new QLabel(this);
    m_userLabel->setObjectName(QStringLiteral("userLabel"));
    statusBar()->addPermanentWidget(m_userLabel);
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

    QMenu* consultationMenu = menuBar()->addMenu(QStringLiteral("&Consulta"));
    consultationMenu->setObjectName(QStringLiteral("menuConsulta"));
    m_historyAction = consultationMenu->addAction(QStringLiteral("&Histórico de alterações..."));
    m_historyAction->setObjectName(QStringLiteral("actionHistoricoAlteracoes"));
    m_historyAction->setToolTip(QStringLiteral("Histórico de alterações da consulta aberta"));
    m_historyAction->setEnabled(false);
    connect(m_historyAction, &QAction::triggered, this, &MainWindow::showChangeHistory);

    QToolBar* toolBar = addToolBar(QStringLiteral("Consulta"));
    toolBar->setObjectName(QStringLiteral("toolBarConsulta"));
    toolBar->addAction(m_openAction);
    toolBar->addAction(m_historyAction);

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

void MainWindow::setUserDescription(const QString& text)
{
    m_userLabel->setText(text);
}

QString MainWindow::userDescription() const
{
    return m_userLabel->text();
}

std::optional<ConsultationChoice> MainWindow::currentConsultation() const
{
    if (QMdiSubWindow* active = m_mdiArea->activeSubWindow()) {
        for (const auto& [window, choice] : m_windows) {
            if (window == active)
                return choice;
        }
    }
    return m_lastOpened;
}

QDialog* MainWindow::showChangeHistory()
{
    const std::optional<ConsultationChoice> choice = currentConsultation();
    if (!choice)
        return nullptr;
    QList<ChangeRow> rows;
    if (!hostfw::RunAction([&] { rows = readChangeHistory(m_server, *choice); }))
        return nullptr;
    auto* dialog = new ChangeHistoryDialog(std::move(rows), *choice, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

bool MainWindow::openChoice(const ConsultationChoice& choice)
{
    const QList<QMdiSubWindow*> before = m_mdiArea->subWindowList();
    const bool done = hostfw::RunAction([&] { m_opener(choice); });
    // The windows the module opened belong to this consultation.
    m_windows.removeIf([](const auto& entry) { return entry.first.isNull(); });
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (!before.contains(window))
            m_windows.append({window, choice});
    }
    if (done) {
        m_lastOpened = choice;
        m_historyAction->setEnabled(true);
    }
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
