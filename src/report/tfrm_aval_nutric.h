#pragma once

#include "aval_nutric_form.h"

#include "hostfw/widgets/show_avi.h"
#include "hostfw/widgets/tfrm_dados_ger_rel.h"

class QGroupBox;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace hostfw {
class TDateEditPlus;
}

namespace report {

// The nutritional assessment report form (Avaliação Nutricional, VEX12214, report Vex122)
// over the host's report base form: the period of consultation dates with their
// weekdays and the method choice. The widgets translate clicks into calls on
// AvalNutricForm and repaint from it.
class TfrmAvalNutric : public hostfw::TfrmDadosGerRel
{
    Q_OBJECT

public:
    explicit TfrmAvalNutric(QWidget* parent = nullptr,
                            workspace::NetConnection::Transport transport = {});

    AvalNutricForm& core() { return m_core; }

    QGroupBox* gpbPeriodo = nullptr;
    hostfw::TDateEditPlus* depDataIni = nullptr;
    QLineEdit* edtDataIni = nullptr;
    hostfw::TDateEditPlus* depDataFin = nullptr;
    QLineEdit* edtDataFin = nullptr;
    QGroupBox* grpMetodo = nullptr;
    QRadioButton* rbtTodosMet = nullptr;
    QRadioButton* rbtListaMet = nullptr;
    QToolButton* btpMetodo = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool PrepareReport() override;
    void PaintReport(QPagedPaintDevice& device) override;

private:
    void repaintFromCore();
    void focusFailed();

    AvalNutricForm m_core;
    hostfw::FormBusyIndicator m_busy{this};
    ReportData m_data;
};

}  // namespace report
