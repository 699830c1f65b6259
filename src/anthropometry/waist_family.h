#pragma once

// The waist and hip family: central fat distribution from the waist circumference alone
// or from the waist-to-hip ratio, each plainly and by the 1998 world-health cut-offs.
// The cut-offs are fixed by sex; no routine asks the server for anything. An absent or
// non-positive measure writes nothing; a sex that is neither male nor female gets the
// no-classification line (the plain waist method takes the female limits instead).

namespace anthropometry {

class Evaluation;

void Calcula_RCQ(Evaluation& ev);             // Relação Cintura Quadril (no catalogue entry)
void Calcula_CircunfCintura(Evaluation& ev);  // Circunferência da Cintura
void Calcula_RCQOms98(Evaluation& ev);        // RCQ (OMS 1998)
void Calcula_CircCintOms98(Evaluation& ev);   // Circunferência Cintura (OMS 1998)

}  // namespace anthropometry
