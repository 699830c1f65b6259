#pragma once

// The body mass index family: BMI (weight in kg over the square of the height in m)
// classified for adults with theoretical weights, adults by the theoretical-weight
// reference table, amputees (Tzamaloukas), adolescents by percentile, adults by the
// 1998 world-health cut-offs, the elderly and pregnant women by gestational week.
//
// Each routine reads the data grid of the method it is run for, writes its numbered
// result lines and shows no message: missing inputs write nothing or zeros, a patient
// or reference without classification gets the no-classification line.

#include <QString>

namespace anthropometry {

class Evaluation;

void Calcula_IMC(Evaluation& ev);             // IMC/Peso Teórico
void Calcula_IMC_Must(Evaluation& ev);        // IMC/Peso Teórico - Must
void Calcula_IMC_Amputado(Evaluation& ev);    // IMC - Amputado (Tzamaloukas)
void Calcula_IMCAdolescente(Evaluation& ev);  // IMC de Adolescente
void Calcula_IMCOms98(Evaluation& ev);        // IMC (OMS 1998)
void Calcula_IMCIdoso(Evaluation& ev);        // IMC para Idosos
void Calcula_IMCGestante(Evaluation& ev);     // IMC para Gestantes

// The classifications, for the routines and their tests.
// Adults: below 18.5 "Baixo Peso"; below 25 "Adequado ou Eutrófico"; below 30
// "Sobrepeso"; else "Obesidade". The value is compared as given.
QString adultClassification(double bmi);
// The elderly: rounded BMI 22 or less "Baixo Peso"; else unrounded below 27
// "Adequado ou Eutrófico"; else "Sobrepeso".
QString elderlyClassification(double bmi);
// Pregnant women in weeks 6 to 42, on the BMI rounded to three decimals; a BMI in the
// gap between two bands of the week's row gets an empty text.
QString gestationalClassification(double bmi, int week);

}  // namespace anthropometry
