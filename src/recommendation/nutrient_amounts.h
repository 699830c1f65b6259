#pragma once

// The nutrient amounts of a recommendation per meal: for each chosen nutrient the middle
// of its recommended range (GetPesqNutrPaci, by sex, life stage and patient type) at the
// current weight, at the ideal weight(s) of the method chosen on the recommendation page
// and at the adequate weight; per kilogram of body weight or an absolute amount per day.
// The module and the command line install the routine on the recommendation page and the
// pass on the calculation run.

#include "workspace/assessment_form.h"
#include "workspace/calculation_run.h"

namespace recommendation {

// Computes and stores (SetNutrePaci) the nutrient rows of the current recommendation for
// the chosen-nutrient codes of the page. A nutrient without any weight to compute for is
// skipped. An adequate weight that is not a number ends with its message before anything
// is written; server failures pass on.
void Calcula_RecomNutri(workspace::AssessmentForm& form);

class RecommendationPass
{
public:
    // Every recommendation of the consultation computed again from the first: its nutrient
    // rows deleted on the server and written anew; the grids repaint again at the end and
    // on an error, and the rows written up to then stay on the server.
    void operator()(workspace::AssessmentForm& form);

    // Installs Calcula_RecomNutri on the form's recommendation page.
    static void installRoutine(workspace::AssessmentForm& form);
    // Installs this pass as the run's recommendation pass, and the preparation that gives
    // an empty adequate weight of the recommendation page the value "0"; the pass must outlive the
    // run.
    void install(workspace::CalculationRun& run);
};

}  // namespace recommendation
