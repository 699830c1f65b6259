#pragma once

#include "host/consultation.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;

namespace records {
class AppServer;
}

namespace host {

// The host's main window: an MDI area into which the module puts its form, a menu to
// open a consultation, and the server in use on the status line. Creating it makes its
// MDI area the host's (hostfw::setMdiHost).
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Opens the chosen consultation (the module's IniProc in the host application).
    using ConsultationOpener = std::function<void(const ConsultationChoice&)>;

    MainWindow(records::AppServer& server, ConsultationOpener opener, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdiArea; }
    QAction* openConsultationAction() const { return m_openAction; }
    QAction* changeHistoryAction() const { return m_historyAction; }

    // The server shown on the status line ("Servidor: 127.0.0.1:8512").
    void setServerDescription(const QString& address);
    // Who is logged in, on the status line ("Usuário: Ana Souza (CRN-3 12345)").
    void setUserDescription(const QString& text);
    QString userDescription() const;

    // The consultation of the active module window, else the last one opened.
    std::optional<ConsultationChoice> currentConsultation() const;

    // Opens the chosen consultation through the opener; an error the module raises is
    // shown and the window carries on. False when it did not complete.
    bool openChoice(const ConsultationChoice& choice);

public slots:
    // Shows the picker; on OK opens the choice.
    void openConsultation();
    // "Histórico de alterações" of the current consultation, in a window-modal dialog
    // (nullptr when the history could not be read; the error is shown).
    QDialog* showChangeHistory();

protected:
    // Closes the module's windows first, through their own close handling, so the module
    // knows its form is gone before the area that holds it is destroyed. A window that
    // refuses to close keeps the host open.
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();

    records::AppServer& m_server;
    ConsultationOpener m_opener;
    QMdiArea* m_mdiArea = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_historyAction = nullptr;
    QLabel* m_serverLabel = nullptr;
    QLabel* m_userLabel = nullptr;
    // The module's windows and the consultation each shows (closed ones drop out as null).
    QList<std::pair<QPointer<QMdiSubWindow>, ConsultationChoice>> m_windows;
    std::optional<ConsultationChoice> m_lastOpened;
};

}  // namespace host
