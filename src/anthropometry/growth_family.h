#pragma once

// The child growth family: weight for age in per cent of the reference (Gomez), height for
// age with weight for height (Waterlow), head circumference among the percentiles of its
// reference, the chest to head circumference ratio, weight and height against the growth
// references of 1977 and 2006 (eleven methods, one routine), the sexual maturation stages
// against the age bands of Tanner's stages, and the energy and protein of catch-up growth
// (Peterson), an energy method that writes energy result lines.
//
// Each routine writes its numbered result lines and shows no message: missing inputs write
// nothing, a sex the method cannot classify gets the no-classification line.

namespace workspace {
class AssessmentForm;
}

namespace anthropometry {

class Evaluation;

void Calcula_AN_GOMEZ(Evaluation& ev);         // P/I (Gomez)
void Calcula_AN_Waterlow(Evaluation& ev);      // A/I e P/A (Waterlow/Batista)
void Calcula_PerCefalico(Evaluation& ev);      // Perímetro Cefálico
void Calcula_PT_PC(Evaluation& ev);            // PT / PC
void Calcula_PesoIdadeAltura(Evaluation& ev);  // "37" to "47", by the method code
void Calcula_MaturacaoSexual(Evaluation& ev);  // Maturação Sexual

// Catch-up growth (Peterson) of the energy tab: the evaluation of method "35" on the
// energy tab's datasets.
void Calcula_Catch_up(Evaluation& ev);
// The same as the energy pass calls it: the reference is that of the method's row in the
// energy tab's method list (cdsMetoAvalEnerg).
void Calcula_Catch_up(workspace::AssessmentForm& form);

}  // namespace anthropometry
