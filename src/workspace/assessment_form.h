#pragma once

// The assessment form's non-widget core: the consultation's datasets, the patient
// header, the page shown, the enabled state of the actions and the routines behind
// them. The widget form TfrmAvalNutrEnerg binds to it; the tests and the command line
// drive it directly.

#include "catalogue_progress.h"
#include "net_connection.h"

#include "hostfw/busy.h"
#include "records/dataset.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace workspace {

class AssessmentForm;

// The calculation run behind Calculate (sbtCalcular, mnuCalcular, Ctrl+E). The
// evaluation engine provides it; the module and the command line install it.
class CalculationRun
{
public:
    virtual ~CalculationRun() = default;
    virtual void run(AssessmentForm& form) = 0;
};

enum class OuterPage { tshAvalNutr, tshDiagNutri, tshPadrao };
enum class InnerPage { tshMetoAval, tshAvaliacao };
enum class EnergPage { tshMetodoEnerg, tshResulEnerg, tshNutrRecom };

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

    // Pages shown
    OuterPage pgcPadrao = OuterPage::tshAvalNutr;
    InnerPage pgcAvalNutr = InnerPage::tshMetoAval;
    EnergPage pgcAvalEnerg = EnergPage::tshMetodoEnerg;

    // Private state of the form
    const QString& sexLetter() const { return m_sexLetter; }
    bool deceased() const { return m_deceased; }
    bool loaded() const { return m_loaded; }
    bool created() const { return m_created; }

    // Enabled state of the actions the widgets show
    struct Actions
    {
        bool sbtCalcular = false;
        bool sbtAutomatico = true;
        bool sbtAmputado = false;
        bool sbtMaturSex = false;
        bool sbtEstimado = false;
        bool editButtons = true;  // the base form's Alterar/Confirmar/Cancelar
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

    // The method filter over cdsMetoAval for the patient shown.
    void applyMethodFilter();
    // Brings the server's catalogue up to the module's tables (after GetDados).
    void seedCatalogue();
    // "Atualizar Métodos": rewrites the server's catalogue from the module's tables,
    // then refreshes the page. Only on the method page.
    void sbtAutomaticoClick();
    // The refresh of the page shown (sbtVerificarClick).
    void sbtVerificarClick();
    // Calculate: the installed calculation run over the page shown.
    void setCalculationRun(CalculationRun* run) { m_calculationRun = run; }
    void sbtCalcularClick();
    // The page-change handling of the inner page control of the assessment tab.
    void pgcAvalNutrChange();

    // The reference check of a method row being edited (cdsMetoAval), and its energy
    // variant (cdsMetoAvalEnerg, method "35" only). With referenceRequired a selected
    // method without a reference stops the post.
    void Vd_Referencia(bool referenceRequired);
    void Vd_ReferenciaEnerg(bool referenceRequired);
    // The column of the method grids the user is in (the widgets keep it up to date).
    QString dbgMetoAvalColumn;
    QString dbgMetoAvalEnergColumn;

    // The consultation key and the coded age of the reference queries.
    records::ConsultationKey key() const;
    double codedAge() const;
    int ageYears() const;

signals:
    // The header, a page, the enabled actions or a dataset changed: repaint.
    void changed();

private:
    void prepareDataSets();
    void loadConsultation();
    void updateActions();
    void checkReference(records::DataSet& methods, bool referenceRequired, bool inReferenceColumn,
                        bool energy);
    records::DataSet& fetchReferences(const QString& useFlag, const QString& code,
                                      const QString& method);

    hostfw::BusyIndicator* m_busy = nullptr;
    SeedProgress* m_seedProgress = nullptr;
    CalculationRun* m_calculationRun = nullptr;
    QString m_sexLetter;
    bool m_deceased = false;
    bool m_loaded = false;
    bool m_created = false;
    Actions m_actions;
};

}  // namespace workspace
