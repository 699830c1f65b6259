#pragma once

// The calculation run behind Calculate (sbtCalcular, mnuCalcular, Ctrl+E): runs the
// pass of the page shown and rewrites that page's result lines. Each page's engine
// provides its pass (the assessment results page the anthropometric pass, the energy
// results page the energy equations, the recommendation page the nutrient amounts);
// the module and the command line install them. A page without a pass calculates
// nothing; every page ends with the page check.

#include <functional>

namespace workspace {

class AssessmentForm;

class CalculationRun
{
public:
    using Pass = std::function<void(AssessmentForm&)>;

    // The pages that calculate.
    enum class Page
    {
        Assessment,      // tshAvalNutr, tshAvaliacao
        Energy,          // tshPadrao, tshResulEnerg
        Recommendation,  // tshPadrao, tshNutrRecom
    };

    // The whole run, in this order: the preparation; the busy animation shown; the
    // pass of the page shown; the page check (sbtVerificarClick); the animation hidden.
    // Nothing for a deceased patient. An error ends the run after the animation is
    // hidden and passes on; the lines written up to then stay on the server.
    void run(AssessmentForm& form) const;

    // Runs first, on every page (the recommendation page sets an empty adequate
    // weight edit to "0").
    void setPreparation(Pass pass) { m_preparation = std::move(pass); }
    void setPass(Page page, Pass pass);

private:
    Pass m_preparation;
    Pass m_assessment;
    Pass m_energy;
    Pass m_recommendation;
};

}  // namespace workspace
