#pragma once

// The energy methods among the anthropometric methods of the assessment tab, writing
// one line "01" into the ordinary result lines: the basal metabolic rate by
// Harris-Benedict (1919) and by FAO, and the estimated energy requirement (EER) of
// adults, of pregnant and of lactating women. They read the data grid of the tab: a
// value on the grid but empty writes nothing, a weight or height not on it counts as 0
// (and writes nothing, as neither may be 0). Where the sex decides the equation, a sex
// letter other than "M" and "F" gets the no-classification line.

#include "anthropometry/dispatch.h"

#include <span>

namespace anthropometry {
class Evaluation;
}

namespace energy {

void Calcula_TMB_HB1919(anthropometry::Evaluation& ev);  // "61"
void Calcula_TMB_FAO(anthropometry::Evaluation& ev);     // "62"
void Calcula_EER(anthropometry::Evaluation& ev);         // "64"
void Calcula_EERGest(anthropometry::Evaluation& ev);     // "65"
void Calcula_EERLac(anthropometry::Evaluation& ev);      // "66"

// These routines by method code, for the assessment pass (AssessmentPass::addRoutines).
std::span<const anthropometry::DispatchEntry> assessmentTabDispatch();

}  // namespace energy
