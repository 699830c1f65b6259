#pragma once

// The assessment form's non-widget core: the consultation (its key, the patient
// header, the datasets, the read-only state of a deceased patient), loading and
// activation, the page shown, the enabled state of the actions and the inherited
// buttons. Each page's routines sit in that page's own core (MethodPage, ResultPage,
// EnergyPage, DiagnosisPage), owned here. The widget form TfrmAvalNutrEnerg binds to them; the
// tests and the command line drive them directly.

#include "catalogue_progress.h"
#include "ideal_weights.h"
#include "net_connection.h"

#include "hostfw/action.h"
#include "hostfw/busy.h"
#include "records/dataset.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace workspace {

class AssessmentForm;

class CalculationRun;
class DiagnosisPage;
class EnergyPage;
class MethodPage;
class RecommendationPage;
class ResultPage;

enum class OuterPage
{
    tshAvalNutr,
    tshDiagNutri,
    tshPadrao
};
enum class InnerPage
{
    tshMetoAval,
    tshAvaliacao
};
enum class EnergPage
{
    tshMetodoEnerg,
    tshResulEnerg,
    tshNutrRecom
};

class AssessmentForm : public QObject
{
    Q_OBJECT

public:
    explicit AssessmentForm(NetConnection::Transport transport = {}, QObject* parent = nullptr);
    ~AssessmentForm() override;

    // Consultation records
    records::DataSet cdsMetoAval;
    records::DataSet cdsMetoAvalEnerg;
    records::DataSet cdsInfoAval;
    records::DataSet cdsResuAval;
    records::DataSet cdsResuAvalEnerg;
    records::DataSet cdsNutrRefe;
    records::DataSet cdsNutrePaci;
    records::DataSet cdsDiagNutri;
    // Working grids
    records::DataSet cdsDadosAval;
    records::DataSet cdsDadoAvalEnerg;
    // Catalogue and queries
    records::DataSet cdsInsMetoAval;
    records::DataSet cdsInsTipoDado;
    records::DataSet cdsInsDadoAval;
    records::DataSet cdsInfPesoIdeal;
    records::DataSet cdsPesqDadoAval;
    records::DataSet cdsAtualizaDados;
    records::DataSet cdsRefeMeto;
    records::DataSet cdsRefePeso;
    records::DataSet cdsRefeOssa;
    // The ten fixed choice lists
    records::DataSet cdsTrabFatorTer;
    records::DataSet cdsTrabAtivHarris;
    records::DataSet cdsTrabAtivRda;
    records::DataSet cdsTrabAtivDuBois;
    records::DataSet cdsTrabStatus;
    records::DataSet cdsTrabPaciHosp;
    records::DataSet cdsTrabPerda;
    records::DataSet cdsNaf;
    records::DataSet cdsTrimestreGesta;
    records::DataSet cdsTrimestreLac;

    NetConnection netAvalNutrEnerg;

    // Patient header (read-only edits of the form)
    QString edtNmPaciente;
    QString edtSexoPaci;
    QString edtIdade;
    QString lblIdade;
    QString edtMes;
    QString lblMes;
    QDateTime depDtConsulta;

    // The items of the two ideal-weight choosers
    QStringList cbbPesoIdeal;
    QStringList cbbPesoIdealRec;
    // The method chosen in each (an item index, -1 for none) and its name ("" for none).
    int cbbPesoIdealIndex = -1;
    int cbbPesoIdealRecIndex = -1;
    // The adequate weight of the recommendation page as typed (medPesoAdRec); the energy
    // page starts from it.
    QString medPesoAdRec;
    QString cbbPesoIdealText() const { return cbbPesoIdeal.value(cbbPesoIdealIndex); }
    QString cbbPesoIdealRecText() const { return cbbPesoIdealRec.value(cbbPesoIdealRecIndex); }
    // The ideal weights of the chosen method and the energy texts at them.
    IdealWeights idealWeights;

    // Pages shown
    OuterPage pgcPadrao = OuterPage::tshAvalNutr;
    InnerPage pgcAvalNutr = InnerPage::tshMetoAval;
    EnergPage pgcAvalEnerg = EnergPage::tshMetodoEnerg;

    // Private state of the form
    const QString& sexLetter() const { return m_sexLetter; }
    bool deceased() const { return m_deceased; }
    bool loaded() const { return m_loaded; }

    // Enabled state of the actions the widgets show
    struct Actions
    {
        bool sbtCalcular = false;
        bool sbtAutomatico = true;
        bool sbtAmputado = false;
        bool sbtMaturSex = false;
        bool sbtEstimado = false;
        bool editButtons = true;  // the base form's Alterar/Confirmar/Cancelar
        // The edits of the energy and nutrient pages (medPeso, medAltura, medPesoAdeq,
        // cbbPesoIdeal, cbbTipoPaci, dbePesoIdeal, medPesoAdRec, cbbPesoIdealRec).
        bool energyEdits = true;
    };
    const Actions& actions() const { return m_actions; }

    // Where the busy animation is shown; the widget form
    // gives its own, tests and the command line recorders (or nothing).
    void setBusyIndicator(hostfw::BusyIndicator* indicator) { m_busy = indicator; }
    // Where the catalogue progress panel (panAtualizaTabela) is shown.
    void setSeedProgress(SeedProgress* progress) { m_seedProgress = progress; }
    hostfw::BusyIndicator* busyIndicator() const { return m_busy; }

    // Events of the form
    void FormCreate();
    void FormActivate();
    void FormClose();
    // Loads the consultation shown again from the server, as after a change the server
    // refused because another user changed it: every unsaved change is dropped and the
    // pages show what is stored. Nothing happens before a consultation was loaded.
    void reloadConsultation();

    // Brings the server's catalogue up to the module's tables (after GetDados).
    void seedCatalogue();
    // The same from a fresh GetDados, as on switching to the energy tab.
    void seedCatalogueFromServer();
    // "Atualizar Métodos": rewrites the server's catalogue from the module's tables,
    // then refreshes the page. Only on the method page.
    void sbtAutomaticoClick();
    // The refresh of the page shown (sbtVerificarClick).
    void sbtVerificarClick();
    // Calculate: the installed calculation run over the page shown (calculation_run.h).
    void setCalculationRun(CalculationRun* run) { m_calculationRun = run; }
    void sbtCalcularClick();
    // The page-change handling of the inner page control of the assessment tab.
    void pgcAvalNutrChange();
    // Shows a page as the tabs and the menu entries do: choosing the assessment tab
    // without an inner page shows its method page. A method row still being edited is
    // posted before the result page of its tab is entered (so the data it needs are
    // listed); when that post is refused the method page stays.
    void showPage(OuterPage outer, std::optional<InnerPage> inner = std::nullopt,
                  std::optional<EnergPage> energ = std::nullopt);

    // The cores of the pages.
    MethodPage& methodPage() { return *m_methodPage; }
    const MethodPage& methodPage() const { return *m_methodPage; }
    ResultPage& resultPage() { return *m_resultPage; }
    const ResultPage& resultPage() const { return *m_resultPage; }
    EnergyPage& energyPage() { return *m_energyPage; }
    DiagnosisPage& diagnosisPage() { return *m_diagnosisPage; }
    const DiagnosisPage& diagnosisPage() const { return *m_diagnosisPage; }
    RecommendationPage& recommendationPage() { return *m_recommendationPage; }

    // The inherited buttons: Alterar, Confirmar (then the refresh), Cancelar, Procurar.
    void sbtAlterarClick();
    void sbtConfirmarClick();
    void sbtCancelarClick();
    void sbtProcurarClick();

    // The consultation key and the coded age of the reference queries.
    records::ConsultationKey key() const;
    double codedAge() const;
    int ageYears() const;

    // A deceased patient's consultation once loaded: nothing in it changes.
    bool readOnly() const { return m_deceased && m_loaded; }
    // The enabled actions follow the datasets, and the views repaint (changed).
    void repaint();

signals:
    // The header, a page, the enabled actions or a dataset changed: repaint.
    void changed();
    // A control should receive the focus: "dbgDadosAval", or "CDTABELACO" (the
    // reference cell of the current method row).
    void focusRequested(const QString& control);

private:
    void prepareDataSets();
    void loadConsultation();
    void updateActions();

    std::unique_ptr<MethodPage> m_methodPage;
    std::unique_ptr<ResultPage> m_resultPage;
    std::unique_ptr<EnergyPage> m_energyPage;
    std::unique_ptr<DiagnosisPage> m_diagnosisPage;
    std::unique_ptr<RecommendationPage> m_recommendationPage;
    hostfw::BusyIndicator* m_busy = nullptr;
    SeedProgress* m_seedProgress = nullptr;
    CalculationRun* m_calculationRun = nullptr;
    QString m_sexLetter;
    std::optional<records::ConsultationKey> m_loadedKey;  // of this form's last completed load
    bool m_loadPending = false;                           // a load started and did not complete
    bool m_deceased = false;
    bool m_loaded = false;
    Actions m_actions;
    hostfw::StaleDataReload m_staleReload{[this] { reloadConsultation(); }};
};

}  // namespace workspace
