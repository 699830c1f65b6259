#pragma once

// The anthropometric pass of the calculation run, on the result page of the assessment
// tab (tshAvaliacao): the recorded values are refreshed (Atualiza_DadosInf), the stored
// result lines deleted and every selected method row run by the dispatch table. The
// module and the command line install it with install().

#include "reference_queries.h"

#include "workspace/assessment_form.h"
#include "workspace/calculation_run.h"

namespace anthropometry {

class AssessmentPass
{
public:
    // The pass; an error ends it with the grids repainting again and the lines written
    // up to then kept on the server.
    void operator()(workspace::AssessmentForm& form);

    // Installs this pass as the run's assessment pass; the pass must outlive the run.
    void install(workspace::CalculationRun& run);

    // The datasets the routines load from the reference tables.
    ReferenceQueries& queries() { return m_queries; }

private:
    ReferenceQueries m_queries;
};

}  // namespace anthropometry
