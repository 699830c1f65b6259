#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

namespace hostfw {

// The host's base of small routine dialogs: a work area (panPrincipal) above a bar with
// the screen code on the left and Confirmar / Cancelar on the right. Confirmar runs
// sbtConfirmaClick, which derived dialogs override (the default accepts); Cancelar and
// Esc close the dialog without running it.
class TfrmRotiGeral : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmRotiGeral(QWidget* parent = nullptr);

    QWidget* panPrincipal = nullptr;
    QPushButton* sbtConfirma = nullptr;
    QPushButton* sbtCancela = nullptr;
    QLabel* lblCodigoTela = nullptr;

    void setScreenCode(const QString& code);

protected:
    virtual void sbtConfirmaClick();
};

}  // namespace hostfw
