// The buttons the form inherits from the host's grid form: Alterar, Confirmar,
// Cancelar and Procurar, each acting on the dataset of the page shown.

#include "assessment_form.h"
#include "method_page.h"
#include "result_page.h"

#include "hostfw/pick_list.h"

namespace workspace {
namespace {

bool onPage(const AssessmentForm& f, InnerPage inner)
{
    return f.pgcPadrao == OuterPage::tshAvalNutr && f.pgcAvalNutr == inner;
}

}  // namespace

void AssessmentForm::sbtAlterarClick()
{
    if (readOnly())
        return;
    if (pgcPadrao == OuterPage::tshDiagNutri)
        cdsDiagNutri.edit();
    else if (onPage(*this, InnerPage::tshMetoAval) && !cdsMetoAval.isEmpty())
        cdsMetoAval.edit();
    else if (pgcPadrao == OuterPage::tshPadrao && pgcAvalEnerg == EnergPage::tshMetodoEnerg
             && !cdsMetoAvalEnerg.isEmpty())
        cdsMetoAvalEnerg.edit();
    else if (pgcPadrao == OuterPage::tshPadrao && pgcAvalEnerg == EnergPage::tshNutrRecom
             && !cdsNutrRefe.isEmpty())
        cdsNutrRefe.edit();
    updateActions();
    emit changed();
}

void AssessmentForm::sbtConfirmarClick()
{
    if (pgcPadrao == OuterPage::tshDiagNutri) {
        cdsDiagNutri.post();
    } else if (onPage(*this, InnerPage::tshMetoAval)) {
        m_methodPage->postMethodRow();
    } else if (onPage(*this, InnerPage::tshAvaliacao)) {
        m_resultPage->postDataRow();
    } else {
        for (records::DataSet* ds : {&cdsMetoAvalEnerg, &cdsDadoAvalEnerg, &cdsNutrRefe})
            ds->post();
    }
    sbtVerificarClick();
}

void AssessmentForm::sbtCancelarClick()
{
    if (pgcPadrao == OuterPage::tshDiagNutri) {
        cdsDiagNutri.cancel();
    } else if (onPage(*this, InnerPage::tshMetoAval)) {
        cdsMetoAval.cancel();
    } else if (onPage(*this, InnerPage::tshAvaliacao)) {
        cdsDadosAval.cancel();
    } else {
        for (records::DataSet* ds : {&cdsMetoAvalEnerg, &cdsDadoAvalEnerg, &cdsNutrRefe})
            ds->cancel();
    }
    updateActions();
    emit changed();
}

void AssessmentForm::sbtProcurarClick()
{
    if (onPage(*this, InnerPage::tshMetoAval))
        hostfw::Pesquisar(cdsMetoAval, QStringLiteral("Método de Avaliação"), false, true);
    else if (onPage(*this, InnerPage::tshAvaliacao))
        hostfw::Pesquisar(cdsDadosAval, QStringLiteral("Tipo de Dado"), false, true);
    updateActions();
    emit changed();
}

}  // namespace workspace
