#pragma once

// The energy pass of the calculation run, on the results page of the energy tab
// (tshResulEnerg): the panel (weight, height, ideal-weight choice, adequate weight) is
// checked and stored as recorded values, the recorded values refreshed, the
// consultation's energy result lines deleted on the server, and every selected energy
// method evaluated for the current weight, the ideal weight(s) of the chosen
// ideal-weight method and the adequate weight. The module and the command line install
// it with install().

#include "energy_tab_family.h"

#include "workspace/assessment_form.h"
#include "workspace/calculation_run.h"

namespace energy {

class EnergyPass
{
public:
    // The pass; a message ends it with the grids repainting again and the lines written up
    // to then kept on the server.
    void operator()(workspace::AssessmentForm& form);

    // Installs this pass as the run's energy pass; the pass must outlive the run.
    void install(workspace::CalculationRun& run);
};

// The ideal-weight pass (anthropometry::IdealWeightPass) for the energy method code: the
// method's equation at each ideal weight left in form.idealWeights, and its ideal-weight
// lines ("05" and "06"; "03" for Ireton-Jones) naming the chosen method and the weights.
// Other codes write nothing.
void idealWeightLines(workspace::AssessmentForm& form, const QString& energyMethod);

}  // namespace energy
