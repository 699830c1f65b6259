#pragma once

// Calculate: runs every selected method of the page shown and rewrites that page's
// result lines. On the result page of the assessment tab it is the anthropometric
// pass below; the energy and recommendation pages run the passes their engines
// install; any other page calculates nothing. Every page ends with the page check.

#include "reference_queries.h"

#include "workspace/assessment_form.h"

#include <functional>

namespace anthropometry {

class AnthropometricRun : public workspace::CalculationRun
{
public:
    using Pass = std::function<void(workspace::AssessmentForm&)>;

    // The whole run, in this order: the preparation; the busy animation shown; the
    // pass of the page shown; the page check (sbtVerificarClick); the animation hidden.
    // An error ends the run after the animation is hidden and the grids repaint again;
    // the lines written up to then stay on the server.
    void run(workspace::AssessmentForm& form) override;

    // Runs first, on every page (the recommendation page sets an empty adequate
    // weight edit to "0").
    void setPreparation(Pass pass) { m_preparation = std::move(pass); }
    // The energy pass, run on the energy results page (tshPadrao, tshResulEnerg).
    void setEnergyPass(Pass pass) { m_energyPass = std::move(pass); }
    // The nutrient recommendation pass (tshPadrao, tshNutrRecom).
    void setRecommendationPass(Pass pass) { m_recommendationPass = std::move(pass); }

    // The anthropometric pass on the result page (tshAvaliacao): the recorded values
    // are refreshed (Atualiza_DadosInf), the stored result lines deleted and every
    // selected method row run by the dispatch table.
    void anthropometricPass(workspace::AssessmentForm& form);

    // The datasets the routines load from the reference tables.
    ReferenceQueries& queries() { return m_queries; }

private:
    Pass m_preparation;
    Pass m_energyPass;
    Pass m_recommendationPass;
    ReferenceQueries m_queries;
};

}  // namespace anthropometry
