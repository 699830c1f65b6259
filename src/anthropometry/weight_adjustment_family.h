#pragma once

// The weight adjustment family: the adequacy of the current weight to the ideal weight,
// the weight lost against the usual weight over a period (two ways), the adjusted weight
// of undernourished and of obese patients (by the ideal weight, and by Wilkens from a BMI
// of 24,9), the weight corrected for oedema and for amputated limbs, the weight and the
// height estimated from the knee height (Chumlea 1985) and the frame size (Metropolitan
// Life 1983).
//
// Each routine writes its numbered result lines and shows no message: missing or
// non-positive inputs write nothing, a sex without an equation gets the
// no-classification line. The adequacy and adjustment methods read the ideal weight
// ("17") the ideal weight family records for them.

namespace anthropometry {

class Evaluation;

void Calcula_PerdaPeso(Evaluation& ev);        // % Perda de Peso
void Calcula_PesoAjustado_Ob(Evaluation& ev);  // Peso Ajustado para Obesos (Wilkens)
void Calcula_PesoChumlea85(Evaluation& ev);    // Peso Estimado (Chumlea 1985)
void Calcula_AlturaChumlea85(Evaluation& ev);  // Altura Estimada (Chumlea 1985)
void Calcula_Comp_OsseaML83(Evaluation& ev);   // Compleição Óssea (Metropolitan Life 1983)
void Calcula_AdeqPes(Evaluation& ev);          // Adequação do Peso
void Calcula_PerPes(Evaluation& ev);           // Perda de Peso
void Calcula_PesAjust(Evaluation& ev);         // Peso Ajustado
void Calcula_PesEdema(Evaluation& ev);         // Peso corrigido de Paciente com Edema
void Calcula_PesAmpu(Evaluation& ev);          // Estimativa de Peso na Amputação
void Calcula_PesoObeso(Evaluation& ev);        // Peso Ajustado para Obesos

}  // namespace anthropometry
