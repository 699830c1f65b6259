#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QToolBar;
class QWidget;

namespace hostfw {

// The host's base of grid forms: an outer page control with its first page, the tool
// bar with the edit buttons (Alterar, Confirmar, Cancelar, Procurar) and Help, Print
// and Close, a record navigator, and the operation and maintenance menus. Forms
// derived from it add their pages, buttons and menu items.
class TfrmPadraoGrid : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmPadraoGrid(QWidget* parent = nullptr);

    QTabWidget* pgcPadrao = nullptr;
    QWidget* tshPadrao = nullptr;
    QToolBar* toolBar = nullptr;
    QAction* sbtAlterar = nullptr;
    QAction* sbtConfirmar = nullptr;
    QAction* sbtCancelar = nullptr;
    QAction* sbtProcurar = nullptr;
    QAction* sbtAjuda = nullptr;
    QAction* sbtImprimir = nullptr;
    QAction* sbtFechar = nullptr;
    QToolBar* dbnPadrao = nullptr;  // record navigator
    QAction* dbnFirst = nullptr;
    QAction* dbnPrior = nullptr;
    QAction* dbnNext = nullptr;
    QAction* dbnLast = nullptr;
    QMenu* mnuOperacao = nullptr;
    QMenu* mnuManutencao = nullptr;
    QLabel* lblCodigoTela = nullptr;  // the screen code shown in the tool bar

    void setScreenCode(const QString& code);
    int helpContext() const { return m_helpContext; }
    void setHelpContext(int context) { m_helpContext = context; }

signals:
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int m_helpContext = 0;
};

}  // namespace hostfw
