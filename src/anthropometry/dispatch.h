#pragma once

// The table from method code to method routine of the assessment tab: the one place
// that says which routine a selected method row runs. What else is known of a method
// (its tab, group, reference list) is in its catalogue descriptor.

#include "records/catalogue_descriptors.h"

#include <QString>

#include <span>

namespace anthropometry {

class Evaluation;

using Routine = void (*)(Evaluation&);

struct DispatchEntry
{
    QLatin1String code;  // CDTBMETOAVAL
    Routine routine;

    // The catalogue descriptor of the code (its routine name among the rest).
    const records::MethodDescriptor& method() const;
};

// Every method code of the assessment tab that has a routine, in code order. A code not
// listed runs nothing; energy methods run on the energy tab.
std::span<const DispatchEntry> anthropometricDispatch();

// The entry of a method code (exact two-character text); nullptr when there is none.
const DispatchEntry* findAnthropometricEntry(const QString& code);

// The routine a method code runs; nullptr when it runs nothing.
Routine anthropometricRoutine(const QString& code);

}  // namespace anthropometry
