#include "calculation_run.h"

#include "assessment_form.h"

#include "hostfw/busy.h"

namespace workspace {

void CalculationRun::setPass(Page page, Pass pass)
{
    switch (page) {
    case Page::Assessment:
        m_assessment = std::move(pass);
        break;
    case Page::Energy:
        m_energy = std::move(pass);
        break;
    case Page::Recommendation:
        m_recommendation = std::move(pass);
        break;
    }
}

void CalculationRun::run(AssessmentForm& form) const
{
    // A deceased patient's consultation is read-only: Calculate does nothing.
    if (form.deceased())
        return;
    if (m_preparation)
        m_preparation(form);
    hostfw::BusyGuard busy(form.busyIndicator(), hostfw::AviKind::Processing);
    const Pass* pass = nullptr;
    if (form.pgcPadrao == OuterPage::tshPadrao) {
        if (form.pgcAvalEnerg == EnergPage::tshResulEnerg)
            pass = &m_energy;
        else if (form.pgcAvalEnerg == EnergPage::tshNutrRecom)
            pass = &m_recommendation;
    } else if (form.pgcPadrao == OuterPage::tshAvalNutr
               && form.pgcAvalNutr == InnerPage::tshAvaliacao) {
        pass = &m_assessment;
    }
    if (pass && *pass)
        (*pass)(form);
    form.sbtVerificarClick();
}

}  // namespace workspace
