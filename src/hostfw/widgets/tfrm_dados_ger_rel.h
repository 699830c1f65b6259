#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QWidget;

namespace hostfw {

// The host's base of report forms: a work area (panPrincipal) for the selection
// controls above a bar with the screen and report codes and the Visualizar (preview),
// Imprimir (print), Salvar Como (save as PDF) and Fechar buttons. The three report steps
// first ask the derived form to prepare the report (its checks and query: false ends
// the step) and then have it paint the report onto the preview's printer, the chosen
// printer or a PDF file.
class TfrmDadosGerRel : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmDadosGerRel(QWidget* parent = nullptr);

    QWidget* panPrincipal = nullptr;
    QLabel* lblCodigoTela = nullptr;
    QLabel* lblCodigoRel = nullptr;
    QPushButton* sbtVisualizar = nullptr;
    QPushButton* sbtImprimir = nullptr;
    QPushButton* sbtSalvar = nullptr;
    QPushButton* sbtFechar = nullptr;

    void setScreenCode(const QString& code);
    void setReportCode(const QString& code);

    // The report steps of the buttons. Save as writes the PDF to the path given, or to
    // the one the user picks when it is empty; answers whether the file was written.
    void Visualizar();
    void Imprimir();
    bool SalvarComo(const QString& path = {});

    // Test and tooling seam: how the preview and print dialogs are run (exec() unless
    // set); the previous runner is returned.
    using DialogRunner = std::function<int(QDialog&)>;
    static DialogRunner setDialogRunner(DialogRunner runner);

protected:
    // The derived form's checks and query; false when the step must end.
    virtual bool PrepareReport() = 0;
    // Paints the prepared report onto the device's pages.
    virtual void PaintReport(QPagedPaintDevice& device) = 0;
};

}  // namespace hostfw
