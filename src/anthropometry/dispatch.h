#pragma once

// The table from method code to method routine of the anthropometric page: the one
// place that says which routine a selected method row runs.

#include <QString>

#include <span>

namespace anthropometry {

class Evaluation;

using Routine = void (*)(Evaluation&);

struct DispatchEntry
{
    const char* code;         // CDTBMETOAVAL, two characters
    const char* routineName;  // "Calcula_IMC"
    Routine routine;          // nullptr while the routine is not part of the engine yet
};

// Every method code the anthropometric page runs, in code order. The codes "30" to
// "36" are energy methods and are run on the energy page, so they are not here; any
// code not listed runs nothing.
std::span<const DispatchEntry> anthropometricDispatch();

// The entry of a method code (exact two-character text); nullptr when there is none.
const DispatchEntry* findAnthropometricEntry(const QString& code);

// The routine a method code runs; nullptr when it runs nothing.
Routine anthropometricRoutine(const QString& code);

}  // namespace anthropometry
