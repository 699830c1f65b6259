#pragma once

// The ideal weight family: the patient's ideal (reference) weight by frame size against
// the Metropolitan Life tables (with the frame and, for Grant, the adequacy of the
// current weight), by a reference BMI of the server (Must, Burr Phillips, Frisancho),
// by fixed formulas (Lorenz, the 1998 BMI range, Weech for children) and by the weight
// for age and for height of the growth references.
//
// Each routine writes its numbered result lines and shows no message: missing inputs
// write nothing, a sex or a reference without classification gets the
// no-classification line. Lorenz, IMC-OMS and Weech also run silently for the energy
// and recommendation pages (Calcula_Metodo_PesoIdeal): they then read the energy
// panel's weight and height, write no line and leave their result in the form's ideal
// weights (workspace/ideal_weights.h).

#include <QString>

#include <functional>

namespace workspace {
class AssessmentForm;
}

namespace anthropometry {

class Evaluation;

void Calcula_PesoIdeal(Evaluation& ev);            // Peso Ideal (Metropolitan Life)
void Calcula_PesoIdeal_Must(Evaluation& ev);       // Peso Ideal (Must)
void Calcula_PesoIdeal_BurrPhi(Evaluation& ev);    // Peso Ideal (Burr Phillips)
void Calcula_PesoIdeal_Frisancho(Evaluation& ev);  // Peso Ideal (Frisancho)
void Calcula_PesoIdeal_Grant(Evaluation& ev);      // Peso Ideal (Grant)
// writeLines: the calculation run (recorded values in, result lines out); clear: the
// silent mode (medPeso and medAltura in, the form's ideal weights out).
void Calcula_PesoIdeal_Lorenz(Evaluation& ev, bool writeLines);  // Peso Ideal (Lorenz)
void Calcula_PesoIdeal_Imc(Evaluation& ev, bool writeLines);     // Peso Ideal (IMC-OMS)
void Calcula_PesoIdeal_Weech(Evaluation& ev, bool writeLines);   // Peso Ideal (Weech)
void Calcula_PesoIdeal_Idade(Evaluation& ev);                    // Peso Ideal para Idade (NCHS)
void Calcula_PesoIdeal_Altura(Evaluation& ev);                   // Peso Ideal para Altura (NCHS)

// The frame (compleição) of a frame index r = height in cm / wrist in cm: its code
// ("0" small, "1" medium, "2" large) and text. Men ("M"): small above 10.4, large below
// 9.6; every other letter: small above 11.0, large below 10.1; the limits are medium.
struct Frame
{
    QString code;
    QString text;
};
Frame frameOf(const QString& sexLetter, double r);

// The ideal-weight pass of the energy page: evaluates the energy equation of the energy
// method code at each ideal weight left in form.idealWeights and writes its energy
// result lines. The energy engine provides it; whoever wires the module or the command
// line hands it to Calcula_Metodo_PesoIdeal.
using IdealWeightPass =
    std::function<void(workspace::AssessmentForm& form, const QString& energyMethod)>;

// The ideal weight of the method chosen on the energy page (energyMethod not empty:
// cbbPesoIdeal) or on the recommendation page (energyMethod empty: cbbPesoIdealRec):
// form.idealWeights is cleared, then the chosen method of cdsInfPesoIdeal is run
// silently when it is Lorenz ("20"), IMC-OMS ("22") or Weech ("23"); any other leaves
// both weights 0. With an energy method code, energyPass (when given) then runs for it.
void Calcula_Metodo_PesoIdeal(workspace::AssessmentForm& form, const QString& energyMethod,
                              const IdealWeightPass& energyPass = {});

}  // namespace anthropometry
