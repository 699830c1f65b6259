#include "assessment_form.h"

#include "calculation_run.h"
#include "data_types.h"
#include "diagnosis_page.h"
#include "energy_page.h"
#include "method_page.h"
#include "module_context.h"
#include "patient_header.h"
#include "recommendation_page.h"
#include "result_page.h"

#include "hostfw/host_settings.h"
#include "hostfw/reply_check.h"
#include "records/choice_lists.h"
#include "records/layouts.h"
#include "records/packet_codec.h"
#include "records/write_through.h"

#include <QJsonArray>

namespace workspace {

namespace L = records::layouts;
namespace C = records::choice_lists;

AssessmentForm::AssessmentForm(NetConnection::Transport transport, QObject* parent)
    : QObject(parent),
      cdsMetoAval(L::cdsMetoAval()),
      cdsMetoAvalEnerg(L::cdsMetoAvalEnerg()),
      cdsInfoAval(L::cdsInfoAval()),
      cdsResuAval(L::cdsResuAval()),
      cdsResuAvalEnerg(L::cdsResuAvalEnerg()),
      cdsNutrRefe(L::cdsNutrRefe()),
      cdsNutrePaci(L::cdsNutrePaci()),
      cdsDiagNutri(L::cdsDiagNutri()),
      cdsDadosAval(L::cdsDadosAval()),
      cdsDadoAvalEnerg(L::cdsDadoAvalEnerg()),
      cdsInsMetoAval(L::cdsInsMetoAval()),
      cdsInsTipoDado(L::cdsInsTipoDado()),
      cdsInsDadoAval(L::cdsInsDadoAval()),
      cdsInfPesoIdeal(L::cdsInfPesoIdeal()),
      cdsPesqDadoAval(L::cdsPesqDadoAval()),
      cdsAtualizaDados(L::cdsAtualizaDados()),
      cdsRefeMeto(L::cdsRefeMeto()),
      cdsRefePeso(L::cdsRefePeso()),
      cdsRefeOssa(L::cdsRefeOssa()),
      cdsTrabFatorTer(C::cdsTrabFatorTer().fields, C::cdsTrabFatorTer().name),
      cdsTrabAtivHarris(C::cdsTrabAtivHarris().fields, C::cdsTrabAtivHarris().name),
      cdsTrabAtivRda(C::cdsTrabAtivRda().fields, C::cdsTrabAtivRda().name),
      cdsTrabAtivDuBois(C::cdsTrabAtivDuBois().fields, C::cdsTrabAtivDuBois().name),
      cdsTrabStatus(C::cdsTrabStatus().fields, C::cdsTrabStatus().name),
      cdsTrabPaciHosp(C::cdsTrabPaciHosp().fields, C::cdsTrabPaciHosp().name),
      cdsTrabPerda(C::cdsTrabPerda().fields, C::cdsTrabPerda().name),
      cdsNaf(C::cdsNaf().fields, C::cdsNaf().name),
      cdsTrimestreGesta(C::cdsTrimestreGesta().fields, C::cdsTrimestreGesta().name),
      cdsTrimestreLac(C::cdsTrimestreLac().fields, C::cdsTrimestreLac().name),
      netAvalNutrEnerg(std::move(transport)),
      m_methodPage(std::make_unique<MethodPage>(*this)),
      m_resultPage(std::make_unique<ResultPage>(*this)),
      m_energyPage(std::make_unique<EnergyPage>(*this)),
      m_diagnosisPage(std::make_unique<DiagnosisPage>(*this)),
      m_recommendationPage(std::make_unique<RecommendationPage>(*this))
{
    cdsDadosAval.setIndexFieldNames(QStringLiteral("NMTIPODADO"));
    netAvalNutrEnerg.BeforeConnect = [](NetConnection& net) {
        net.host = hostfw::WebURL();
        net.port = hostfw::WebPort();
        net.token = hostfw::AccessToken();
    };
    prepareDataSets();
}

AssessmentForm::~AssessmentForm() = default;

void AssessmentForm::prepareDataSets()
{
    // The assessment key comes from the module context before each post.
    const auto fillKey = [](records::DataSet& ds) {
        ds.setValue(QStringLiteral("CDFILIAL"), stCdFilial);
        ds.setValue(QStringLiteral("CDPACIENTE"), stCdPaciente);
        ds.setValue(QStringLiteral("DTCONSPACI"), dtConsulta);
    };
    // The method rows check their reference between the branch and the rest of the key.
    cdsMetoAval.beforePost = [this](records::DataSet& ds) {
        ds.setValue(QStringLiteral("CDFILIAL"), stCdFilial);
        methodPage().Vd_Referencia(true);
        ds.setValue(QStringLiteral("CDPACIENTE"), stCdPaciente);
        ds.setValue(QStringLiteral("DTCONSPACI"), dtConsulta);
        records::Seta_Campo_Null(ds);
    };
    cdsMetoAvalEnerg.beforePost = [this](records::DataSet& ds) {
        ds.setValue(QStringLiteral("CDFILIAL"), stCdFilial);
        energyPage().Vd_ReferenciaEnerg(true);
        ds.setValue(QStringLiteral("CDPACIENTE"), stCdPaciente);
        ds.setValue(QStringLiteral("DTCONSPACI"), dtConsulta);
        records::Seta_Campo_Null(ds);
    };
    cdsInfoAval.beforePost = [fillKey](records::DataSet& ds) {
        fillKey(ds);
        records::Seta_Campo_Null(ds);
    };
    for (records::DataSet* ds : {&cdsResuAval, &cdsResuAvalEnerg}) {
        ds->beforePost = [](records::DataSet& d) {
            d.setValue(QStringLiteral("CDFILIAL"), stCdFilial);
            records::Seta_Campo_Null(d);
        };
    }
    cdsNutrePaci.beforePost = [](records::DataSet& d) {
        d.setValue(QStringLiteral("CDFILIAL"), stCdFilial);
    };
    for (records::DataSet* ds :
         {&cdsMetoAval, &cdsMetoAvalEnerg, &cdsInfoAval, &cdsResuAval, &cdsResuAvalEnerg,
          &cdsNutrePaci, &cdsInsMetoAval, &cdsInsTipoDado, &cdsInsDadoAval})
        records::attachWriteThrough(*ds, netAvalNutrEnerg);
    m_methodPage->prepareMethodList();
    m_resultPage->prepareDataGrid();
    m_energyPage->prepareDataSets();
    m_diagnosisPage->prepareDataSets();
    m_recommendationPage->prepareDataSets();
}

void AssessmentForm::FormCreate()
{
    // A new form holds no consultation: its first activation loads, even for the patient
    // the closed form had loaded.
    stCdPacienteAux.clear();
    m_sexLetter.clear();
    m_deceased = false;
    m_loaded = false;
    m_actions.sbtAmputado = false;
    m_actions.sbtMaturSex = false;
    pgcPadrao = OuterPage::tshAvalNutr;
    pgcAvalNutr = InnerPage::tshMetoAval;
    hostfw::BusyGuard busy(m_busy, hostfw::AviKind::Processing);
    const std::pair<records::DataSet*, const records::ChoiceList*> lists[] = {
        {&cdsTrabFatorTer, &C::cdsTrabFatorTer()},
        {&cdsTrabAtivHarris, &C::cdsTrabAtivHarris()},
        {&cdsTrabAtivRda, &C::cdsTrabAtivRda()},
        {&cdsTrabAtivDuBois, &C::cdsTrabAtivDuBois()},
        {&cdsTrabStatus, &C::cdsTrabStatus()},
        {&cdsTrabPaciHosp, &C::cdsTrabPaciHosp()},
        {&cdsTrabPerda, &C::cdsTrabPerda()},
        {&cdsNaf, &C::cdsNaf()},
        {&cdsTrimestreGesta, &C::cdsTrimestreGesta()},
        {&cdsTrimestreLac, &C::cdsTrimestreLac()},
    };
    for (const auto& [dataSet, list] : lists) {
        dataSet->loadPacket(list->toPacket());
        dataSet->first();
    }
    emit changed();
}

void AssessmentForm::FormActivate()
{
    m_loaded = false;
    emit changed();

    edtNmPaciente = stNmPaciente;
    depDtConsulta = dtConsulta;
    const AgeTexts age = ageTexts(dtNasc, dtConsulta);
    edtIdade = age.years;
    lblIdade = age.yearsLabel;
    edtMes = age.months;
    lblMes = age.monthsLabel;
    if (const auto sex = sexFromHostCode(stSexo)) {
        edtSexoPaci = sex->text;
        m_sexLetter = sex->letter;
    }
    emit changed();

    // The same consultation again: it stays as this form loaded it, read-only when the
    // patient is deceased. A load that did not complete, or another consultation date or
    // branch of the same patient, leaves lists that are not this consultation's (they
    // would be shown, and written, under it): the load runs.
    const records::ConsultationKey k = key();
    const bool sameConsultation =
        !m_loadedKey
        || (m_loadedKey->branch == k.branch && m_loadedKey->patient == k.patient
            && m_loadedKey->date == k.date);
    if (stCdPaciente == stCdPacienteAux && !m_loadPending && sameConsultation) {
        m_loaded = m_loadedKey.has_value();
        updateActions();
        emit changed();
        return;
    }
    m_loadedKey.reset();
    m_loadPending = true;
    try {
        loadConsultation();
        pgcAvalNutrChange();
    } catch (...) {
        // The next activation connects afresh, with the server address of that moment.
        netAvalNutrEnerg.Close();
        throw;
    }
    stCdPacienteAux = stCdPaciente;
    m_loadedKey = k;
    m_loadPending = false;
    m_loaded = true;
    updateActions();
    emit changed();
}

void AssessmentForm::loadConsultation()
{
    oleDados = QJsonArray{QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(),
                          QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue()};
    // A diagnosis being typed belongs to the consultation shown before.
    cdsDiagNutri.cancel();
    cdsDiagNutri.clear();
    hostfw::BusyGuard busy(m_busy, hostfw::AviKind::Processing);
    netAvalNutrEnerg.Open();

    m_deceased =
        hostfw::CheckResultServ(netAvalNutrEnerg.GetObito(stCdPaciente, stCdFilial), true, 0)
            .toBool();
    oleDados = hostfw::CheckResultServ(netAvalNutrEnerg.GetDados(key(), codedAge()), true, 0);

    cdsInsMetoAval.loadPacket(records::packetAt(oleDados, 2));
    cdsInsTipoDado.loadPacket(records::packetAt(oleDados, 3));
    cdsInsDadoAval.loadPacket(records::packetAt(oleDados, 4));
    seedCatalogue();

    cdsMetoAval.loadPacket(records::packetAt(oleDados, 0));
    methodPage().applyMethodFilter();
    cdsMetoAvalEnerg.loadPacket(records::packetAt(oleDados, 1));
    cdsInfPesoIdeal.loadPacket(records::packetAt(oleDados, 5));
    // The nutrient rows first: the recommendations name their nutrients from them.
    cdsNutrePaci.loadPacket(records::packetAt(oleDados, 7));
    cdsNutrRefe.loadPacket(records::packetAt(oleDados, 6));

    cdsResuAval.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(netAvalNutrEnerg.GetResuAval(key()), true, 0)));
    cdsResuAvalEnerg.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(netAvalNutrEnerg.GetResuAvalEnerg(key()), true, 0)));

    cbbPesoIdeal.clear();
    cbbPesoIdealRec.clear();
    for (cdsInfPesoIdeal.first(); !cdsInfPesoIdeal.eof(); cdsInfPesoIdeal.next()) {
        cbbPesoIdeal.append(cdsInfPesoIdeal.asString(QStringLiteral("NMTBMETOAVAL")));
        cbbPesoIdealRec.append(cdsInfPesoIdeal.asString(QStringLiteral("NMTBMETOAVAL")));
    }

    if (pgcPadrao == OuterPage::tshAvalNutr && pgcAvalNutr == InnerPage::tshMetoAval) {
        cdsMetoAval.loadPacket(records::packetAt(oleDados, 0));
        methodPage().applyMethodFilter();
        cdsMetoAval.disableControls();
        try {
            // A method that is not selected keeps no reference.
            for (cdsMetoAval.first(); !cdsMetoAval.eof(); cdsMetoAval.next()) {
                if (cdsMetoAval.asString(QStringLiteral("IDTABELAAV")) == u"N") {
                    cdsMetoAval.edit();
                    cdsMetoAval.setValue(QStringLiteral("CDTABELACO"), QVariant());
                    cdsMetoAval.post();
                }
            }
        } catch (...) {
            cdsMetoAval.enableControls();
            throw;
        }
        cdsMetoAval.enableControls();
        cdsMetoAval.first();
    }
}

void AssessmentForm::reloadConsultation()
{
    if (!m_loadedKey && !m_loadPending)
        return;
    // A load runs when the form's patient is not the one it last loaded.
    stCdPacienteAux.clear();
    FormActivate();
}

void AssessmentForm::FormClose()
{
    boStCriado = false;
    netAvalNutrEnerg.Close();
}

records::ConsultationKey AssessmentForm::key() const
{
    return {stCdFilial, stCdPaciente, dtConsulta};
}

double AssessmentForm::codedAge() const
{
    return workspace::codedAge({edtIdade, lblIdade, edtMes, lblMes});
}

int AssessmentForm::ageYears() const
{
    return edtIdade.toInt();
}

void AssessmentForm::repaint()
{
    updateActions();
    emit changed();
}

void AssessmentForm::updateActions()
{
    const bool onResultPage =
        pgcPadrao == OuterPage::tshAvalNutr && pgcAvalNutr == InnerPage::tshAvaliacao;
    // While a data row is being edited nothing is calculated; the dialogs follow the
    // data row the grid is on.
    const bool browsing = !cdsDadosAval.isEditing();
    const QString type = m_resultPage->currentDataType();
    const bool onEnergyResults =
        pgcPadrao == OuterPage::tshPadrao && pgcAvalEnerg == EnergPage::tshResulEnerg;
    const bool energyBrowsing = !cdsMetoAvalEnerg.isEditing() && !cdsDadoAvalEnerg.isEditing();
    m_actions.sbtCalcular =
        !m_deceased
        && ((onResultPage && !cdsDadosAval.isEmpty() && browsing)
            || (onEnergyResults && !cdsDadoAvalEnerg.isEmpty() && energyBrowsing)
            || (pgcPadrao == OuterPage::tshPadrao && pgcAvalEnerg == EnergPage::tshNutrRecom
                && !cdsNutrRefe.isEditing()));
    m_actions.sbtAutomatico =
        pgcPadrao == OuterPage::tshAvalNutr && pgcAvalNutr == InnerPage::tshMetoAval;
    m_actions.sbtAmputado = false;
    if (onResultPage) {
        m_actions.sbtEstimado = !m_deceased && browsing && data_types::isEstimable(type);
        m_actions.sbtMaturSex = !m_deceased && browsing && data_types::isMaturation(type);
    }
    m_actions.editButtons = !m_deceased && !(onEnergyResults && m_energyPage->resultGridEntered());
    // The panel takes values only when the selected energy methods need data.
    m_actions.energyEdits = !m_deceased && !cdsDadoAvalEnerg.isEmpty();
}

}  // namespace workspace
