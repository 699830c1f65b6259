// What happens when the user moves between the pages of the assessment tab.

#include "assessment_form.h"
#include "calculation_run.h"
#include "catalogue_seeding.h"
#include "diagnosis_page.h"
#include "energy_page.h"
#include "method_page.h"
#include "module_context.h"
#include "recommendation_page.h"
#include "result_page.h"

#include "hostfw/reply_check.h"
#include "records/error.h"
#include "records/packet_codec.h"

namespace workspace {

void AssessmentForm::pgcAvalNutrChange()
{
    if (pgcPadrao == OuterPage::tshAvalNutr && pgcAvalNutr == InnerPage::tshAvaliacao) {
        // The dialogs' buttons follow the data row the grid lands on (the maturation row
        // is listed only when sexual maturation is selected).
        m_actions.sbtEstimado = false;
        m_actions.sbtAmputado = false;
        m_actions.sbtMaturSex = false;
        m_resultPage->enterPage();
    } else if (pgcPadrao == OuterPage::tshPadrao) {
        m_energyPage->pgcAvalEnergChange();
        if (pgcAvalEnerg == EnergPage::tshNutrRecom)
            m_recommendationPage->enterPage();
    } else if (pgcPadrao == OuterPage::tshDiagNutri && (m_loaded || m_loadPending)) {
        m_diagnosisPage->tshDiagNutriEnter();
    }
    updateActions();
    emit changed();
}

void AssessmentForm::showPage(OuterPage outer, std::optional<InnerPage> inner,
                              std::optional<EnergPage> energ)
{
    // The other tabs stay closed while the diagnosis is being edited.
    if (pgcPadrao == OuterPage::tshDiagNutri && outer != pgcPadrao && cdsDiagNutri.isEditing()) {
        emit changed();
        return;
    }
    // Choosing the assessment tab always shows its method page first.
    if (outer == OuterPage::tshAvalNutr && !inner)
        inner = InnerPage::tshMetoAval;
    const bool toResults = outer == OuterPage::tshAvalNutr && inner == InnerPage::tshAvaliacao;
    if (toResults && cdsMetoAval.isEditing()) {
        try {
            m_methodPage->postMethodRow();
        } catch (...) {
            emit changed();  // the tabs go back to the method page
            throw;
        }
    }
    // Likewise an energy method row still being edited before the factors it needs are
    // listed.
    const bool toEnergyResults =
        outer == OuterPage::tshPadrao && energ.value_or(pgcAvalEnerg) == EnergPage::tshResulEnerg;
    if (toEnergyResults && cdsMetoAvalEnerg.isEditing()) {
        try {
            m_energyPage->postMethodRow();
        } catch (...) {
            emit changed();  // the tabs go back to the method page
            throw;
        }
    }
    const bool toEnergy = outer == OuterPage::tshPadrao && pgcPadrao != OuterPage::tshPadrao;
    pgcPadrao = outer;
    if (inner)
        pgcAvalNutr = *inner;
    if (energ)
        pgcAvalEnerg = *energ;
    if (toEnergy && m_loaded)
        seedCatalogueFromServer();
    pgcAvalNutrChange();
}

void AssessmentForm::seedCatalogueFromServer()
{
    oleDados = hostfw::CheckResultServ(netAvalNutrEnerg.GetDados(key(), codedAge()), true, 0);
    cdsInsMetoAval.loadPacket(records::packetAt(oleDados, 2));
    cdsInsTipoDado.loadPacket(records::packetAt(oleDados, 3));
    cdsInsDadoAval.loadPacket(records::packetAt(oleDados, 4));
    seedCatalogue();
}

void AssessmentForm::seedCatalogue()
{
    CatalogueSeeder(cdsInsMetoAval, cdsInsTipoDado, cdsInsDadoAval, m_seedProgress).seed();
}

void AssessmentForm::sbtAutomaticoClick()
{
    if (pgcPadrao != OuterPage::tshAvalNutr || pgcAvalNutr != InnerPage::tshMetoAval)
        return;
    CatalogueSeeder(cdsInsMetoAval, cdsInsTipoDado, cdsInsDadoAval, m_seedProgress)
        .updateMethods([this] { sbtVerificarClick(); });
}

void AssessmentForm::sbtCalcularClick()
{
    if (!m_calculationRun)
        throw records::Error(QStringLiteral("O cálculo não está disponível neste módulo."));
    m_calculationRun->run(*this);
}

void AssessmentForm::sbtVerificarClick()
{
    if (pgcPadrao == OuterPage::tshDiagNutri) {
        cdsDiagNutri.loadPacket(records::decodePacket(
            hostfw::CheckResultServ(netAvalNutrEnerg.GetDiag(key()), true, 0)));
    } else {
        oleDados = hostfw::CheckResultServ(netAvalNutrEnerg.GetDados(key(), codedAge()), true, 0);
        if (pgcPadrao == OuterPage::tshAvalNutr && pgcAvalNutr == InnerPage::tshMetoAval) {
            cdsMetoAval.loadPacket(records::packetAt(oleDados, 0));
            m_methodPage->applyMethodFilter();
        } else if (pgcPadrao == OuterPage::tshAvalNutr) {
            m_resultPage->loadDataGrid(false);
            emit focusRequested(QStringLiteral("dbgDadosAval"));
        } else if (pgcAvalEnerg == EnergPage::tshMetodoEnerg) {
            cdsMetoAvalEnerg.loadPacket(records::packetAt(oleDados, 1));
        } else if (pgcAvalEnerg == EnergPage::tshResulEnerg) {
            m_energyPage->loadDataRows();
        } else {
            cdsNutrePaci.loadPacket(records::packetAt(oleDados, 7));
            cdsNutrRefe.loadPacket(records::packetAt(oleDados, 6));
        }
    }
    updateActions();
    emit changed();
}

}  // namespace workspace
