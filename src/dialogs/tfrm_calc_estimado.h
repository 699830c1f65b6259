#pragma once

// The estimated height and weight dialog's widgets over its core (estimate_dialog.h):
// the equation set, the knee height for weight and height, the calf, arm and
// subscapular skinfold for the weight, and Confirmar, which runs the core's estimate.

#include "estimate_dialog.h"

#include "hostfw/widgets/tfrm_roti_geral.h"

#include <functional>

class QGroupBox;
class QLabel;
class QRadioButton;

namespace hostfw {
class TNumberEdit;
}

namespace dialogs {

class TfrmCalcEstimado : public hostfw::TfrmRotiGeral
{
    Q_OBJECT

public:
    explicit TfrmCalcEstimado(workspace::AssessmentForm& form, QWidget* parent = nullptr);

    EstimateDialog& core() { return m_core; }

    // Runs the dialog modally: QDialog::Accepted once the estimate was written. When a
    // next run is queued the dialog is shown and handed to it instead of a person; a run
    // that neither confirms nor cancels counts as Cancelar.
    int run();
    using Run = std::function<void(TfrmCalcEstimado&)>;
    static void setNextRun(Run run);

    QGroupBox* rdgChumlea = nullptr;
    QRadioButton* rdgChumlea1987 = nullptr;
    QRadioButton* rdgChumlea1988 = nullptr;
    QGroupBox* grbPesoAltura = nullptr;
    QLabel* lblJoelho = nullptr;
    hostfw::TNumberEdit* nedJoelho = nullptr;
    QGroupBox* grbPeso = nullptr;
    QLabel* lblCircPan = nullptr;
    hostfw::TNumberEdit* nedPantu = nullptr;
    QLabel* lblCirPanCM = nullptr;
    QLabel* lblCMB = nullptr;
    hostfw::TNumberEdit* nedCMB = nullptr;
    QLabel* lblPrCutSub = nullptr;
    hostfw::TNumberEdit* nedPCS = nullptr;
    QLabel* lblPrCutCM = nullptr;
    QLabel* lblAviso = nullptr;  // what the core says of the chosen set

protected:
    void sbtConfirmaClick() override;
    void showEvent(QShowEvent* event) override;

private:
    void repaintFromCore();

    EstimateDialog m_core;
};

// The data-entry page's "Altura/Peso Estimado" (sbtEstimadoClick): a new dialog shown
// modally, then the estimate flag of the result page cleared.
void sbtEstimadoClick(workspace::AssessmentForm& form, QWidget* parent);

}  // namespace dialogs
