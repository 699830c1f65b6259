#pragma once

// The arm anthropometry family: the triceps skinfold, the arm circumference and the arm
// muscle circumference against a standard of the reference (adequacy in per cent of it),
// and the skinfold, the muscle circumference and the muscle and fat areas of the arm
// against the reference's percentiles.
//
// Each routine reads the data grid of its method (the fat area its recorded values),
// writes its numbered result lines and shows no message: missing inputs write nothing, a
// sex that is neither male nor female or a reference that gives nothing gets the
// no-classification line.

#include <QString>

namespace anthropometry {

class Evaluation;

void Calcula_PCT(Evaluation& ev);   // Prega Cutânea Triciptal
void Calcula_CMB(Evaluation& ev);   // Circunferência Muscular do Braço
void Calcula_CB(Evaluation& ev);    // Circunferência do Braço
void Calcula_AMB(Evaluation& ev);   // Área Muscular do Braço
void Calcula_AMBC(Evaluation& ev);  // AMBC (área muscular do braço corrigida)
void Calcula_AGB(Evaluation& ev);   // AGB (Área Gordurosa do Braço)

}  // namespace anthropometry
