#pragma once

// The estimated height and weight dialog (TfrmCalcEstimado) without its widgets: the
// Chumlea equations from the knee height (height, and weight with the arm and, in the
// 1988 set, the calf and the subscapular skinfold), written into the weight ("01") and
// height ("02") rows of the data grid of the assessment form with an observation naming
// the estimate. The widgets (tfrm_calc_estimado.h) and the command line drive it.

#include "hostfw/messages.h"

#include <QList>
#include <QString>

#include <optional>

namespace workspace {
class AssessmentForm;
}

namespace dialogs {

// The dialog's message table (msgPadrao): the equation set named in the observations.
const hostfw::TMessages& msgCalcEstimado();

// The equations, in cm, kg and the coded age (years, then months as hundredths).
// Height by Chumlea (1985): "M" and any other sex letter.
double chumleaHeight(const QString& sexLetter, double knee, double codedAge);
// Weight by Chumlea (1988) from calf, knee, arm and subscapular skinfold (mm).
double chumleaWeight1988(const QString& sexLetter, double calf, double knee, double arm,
                         double subscapular);
// Weight by Chumlea (1987) from knee and arm, in the age bands 6 to 19, 19 to 60 and 60
// on; nothing below 6 years.
std::optional<double> chumleaWeight1987(const QString& sexLetter, double codedAge, double knee,
                                        double arm);

class EstimateDialog
{
public:
    // rdgChumlea items
    static constexpr int kChumlea1987 = 0;
    static constexpr int kChumlea1988 = 1;

    explicit EstimateDialog(workspace::AssessmentForm& form);
    EstimateDialog(const EstimateDialog&) = delete;
    EstimateDialog& operator=(const EstimateDialog&) = delete;

    // The equation set chosen (1988 when the dialog opens) and the edits as typed, with
    // a point or the decimal comma; an empty edit is not given.
    int rdgChumlea = kChumlea1988;
    QString nedJoelho;  // knee height, cm
    QString nedPantu;   // calf circumference, cm
    QString nedCMB;     // arm circumference, cm
    QString nedPCS;     // subscapular skinfold, mm

    // Choosing an equation set. The calf and subscapular inputs and their labels
    // (lblCircPan, nedPantu, lblCirPanCM, lblPrCutSub, nedPCS, lblPrCutCM) are enabled
    // exactly with the 1988 set.
    void rdgChumleaClick(int index);
    bool calfAndSkinfoldEnabled() const { return rdgChumlea == kChumlea1988; }

    // What the dialog says before it is confirmed: that the 1987 set has no weight
    // equation for a patient under 6 years; empty otherwise.
    QString weightNotice() const;

    // One estimate written into the data grid.
    struct Estimate
    {
        QString dataType;     // "01" weight (kg), "02" height (m)
        QString value;        // as stored, "#,##0.00"
        QString observation;  // "Peso Estimado Chumlea (1988)", ...
        bool stored = false;  // false when the consultation's grid has no such row
        bool operator==(const Estimate&) const = default;
    };

    // Confirmar: the weight when its inputs are all given and not zero, the height when
    // the knee height is; each written into its row of the data grid (a row that is not
    // there is left alone) with the estimate flag of the result page set, so that the
    // observation stays. A value that is not a number or is negative, a weight asked of
    // the 1987 set below 6 years and an estimate that comes out at zero or below show
    // their message and end the action (hostfw::Abort) with nothing written. Nothing is
    // done for a read-only consultation. Answers the estimates computed, in the order
    // written (weight, then height).
    QList<Estimate> sbtConfirmaClick();

private:
    std::optional<double> measure(const QString& text, const QString& label) const;

    workspace::AssessmentForm& m_form;
};

}  // namespace dialogs
