#pragma once

// The energy equations of the energy tab (Necessidades Nutricionais), writing their lines
// into the energy result lines (cdsResuAvalEnerg, written through with SetResuAvalEnerg):
// basal and total expenditure by Harris-Benedict with the factors of Long, by the RDA
// and by the body surface of Du Bois with the allowances of Escudero; the total of
// Ireton-Jones (1991); the daily range of hospitalised patients (Ogawa) and of obese
// patients (Halpern).
//
// The first four take the weight to evaluate and a mode: the current weight of the panel
// (lines "01", "02"), the adequate weight (lines "03", "04", the typed text named in the
// description) or an ideal weight (no line: the basal and total texts are left in the
// form's ideal weights for the ideal-weight lines). Factors and flags come from the
// recorded values of the consultation; the height from the energy panel.

#include <QString>

#include <optional>

namespace workspace {
class AssessmentForm;
}

namespace energy {

enum class Mode
{
    Avaliacao,  // "AVALIACAO": the current weight
    PesoAdeq,   // "PESOADEQ": the adequate weight
    PesoIdeal,  // "PESOIDEAL": an ideal weight
};

void Calcula_Harris(workspace::AssessmentForm& form, double weight, Mode mode);       // "30"
void Calcula_RDA(workspace::AssessmentForm& form, double weight, Mode mode);          // "32"
void Calcula_DuBois(workspace::AssessmentForm& form, double weight, Mode mode);       // "33"
void Calcula_IretonJones(workspace::AssessmentForm& form, double weight, Mode mode);  // "34"
void Calcula_PacienteHospital(workspace::AssessmentForm& form);                       // "31"
void Calcula_PacienteObesos(workspace::AssessmentForm& form);                         // "36"

// A number typed on the energy panel, with a decimal comma or point; nothing when the
// text is empty or not a number.
std::optional<double> typedNumber(const QString& text);

}  // namespace energy
