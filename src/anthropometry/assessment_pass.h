#pragma once

// The anthropometric pass of the calculation run, on the result page of the assessment
// tab (tshAvaliacao): the recorded values are refreshed (Atualiza_DadosInf), the stored
// result lines deleted and every selected method row run by the dispatch table. The
// module and the command line install it with install().

#include "dispatch.h"
#include "reference_queries.h"

#include "workspace/assessment_form.h"
#include "workspace/calculation_run.h"

#include <span>
#include <vector>

namespace anthropometry {

class AssessmentPass
{
public:
    // The pass; an error ends it with the grids repainting again and the lines written
    // up to then kept on the server.
    void operator()(workspace::AssessmentForm& form);

    // Installs this pass as the run's assessment pass; the pass must outlive the run.
    void install(workspace::CalculationRun& run);

    // Routines of the assessment tab that other engines provide (the energy methods of
    // the tab), run like the anthropometric ones. A code the anthropometric table already
    // has keeps its anthropometric routine.
    void addRoutines(std::span<const DispatchEntry> entries);
    // The routine a method code runs: the anthropometric table's, else an added one;
    // nullptr when it runs nothing.
    Routine routineOf(const QString& code) const;

    // The datasets the routines load from the reference tables.
    ReferenceQueries& queries() { return m_queries; }

private:
    ReferenceQueries m_queries;
    std::vector<DispatchEntry> m_added;
};

}  // namespace anthropometry
