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

#include <functional>
#include <memory>
#include <optional>

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

    // The method filter over cdsMetoAval for the patient shown.
    void applyMethodFilter();
    // Brings the server's catalogue up to the module's tables (after GetDados).
    void seedCatalogue();
    // The same from a fresh GetDados, as on switching to the energy tab.
    void seedCatalogueFromServer();
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
    // Shows a page as the tabs and the menu entries do: choosing the assessment tab
    // without an inner page shows its method page. A method row still being edited is
    // posted before the result page is entered (so the data it needs are listed); when
    // that post is refused the method page stays.
    void showPage(OuterPage outer, std::optional<InnerPage> inner = std::nullopt,
                  std::optional<EnergPage> energ = std::nullopt);

    // --- The method page (dbgMetoAval over cdsMetoAval) ---
    // Toggles the current method, as a click in the selection column or the space bar
    // do: nothing for a deceased patient, an empty list or when the current column is
    // not IDTABELAAV. The result list is closed first. Unselecting clears the reference;
    // selecting a member of the body mass index group while another member is selected
    // is refused with the message naming the selected one; otherwise the method's
    // default reference is put in and checked. The row stays in edit until it is left
    // or confirmed. Returns whether the row was toggled.
    bool toggleMethod();
    // Moves the method list to a visible row, posting the row being edited first (the
    // user leaving a row). A refused post stays on the edited row and passes the error.
    void moveMethodRow(int row);
    // The column of dbgMetoAval the user moves to; leaving the reference column checks
    // the reference typed (reference not required). A refused reference keeps the
    // reference column.
    void setMethodColumn(const QString& field);
    // Whether a cell of dbgMetoAval takes typing: only the reference of a method that
    // uses a reference table, never for a deceased patient.
    bool methodCellEditable(int row, const QString& field) const;
    // Whether the reference cell of a row shows its ellipsis button.
    bool referenceButtonVisible(int row) const;
    // Typing in the reference cell of the current row (ignored for a method without a
    // reference table and for a deceased patient); checked when the column is left.
    void typeMethodReference(const QString& text);
    // The ellipsis of the reference cell: the pick list of every reference of the
    // method; the one picked goes into CDTABELACO and NMREFEBIBL.
    void dbgMetoAvalEditButtonClick();
    // Posts the method row being edited (check of the reference, write to the server).
    void postMethodRow();

    // For the command line, as a user would do it: locate the method, select it when it
    // is not selected, type the reference when one is given (a method without a
    // reference table refuses one), post. unselectMethod unselects and posts. Messages
    // are shown and end the call (hostfw::Abort); false when the consultation is
    // read-only and nothing changed.
    bool selectMethod(const QString& code, const std::optional<QString>& reference = {});
    bool unselectMethod(const QString& code);

    // --- The result page (dbgDadosAval over cdsDadosAval) ---
    // The key filter of the current data row for a key typed in the column: the key to
    // put in the cell, or nothing when it is ignored. A refused second limb shows its
    // message and stops (hostfw::Abort).
    std::optional<QChar> dbgDadosAvalKeyPress(const QString& field, QChar key);
    // Whether a cell of dbgDadosAval takes typing: the value except on edema,
    // amputation and maturation rows; the unit of a marked amputation row.
    bool dataCellEditable(int row, const QString& field) const;
    // Whether the value cell of a row shows the button of its answer list.
    bool answerButtonVisible(int row) const;
    // The text typed in a cell of the current data row goes into the row being edited
    // (the row is put in edit). Leaving the value column checks the number: a value that
    // is neither empty nor a number shows the message and keeps the row in edit.
    void setDataCell(const QString& field, const QString& text);
    void dbgDadosAvalColExit(const QString& field);
    // Moves the data grid to a visible row, posting the row being edited first.
    void moveDataRow(int row);
    // The button of a coded value: the limb checks, the answer list, the code picked
    // stored and the row posted.
    void dbgDadosAvalEditButtonClick();
    // Posts the data row being edited: the checks before the post, then the value goes
    // to the recorded value of every method that needs it.
    void postDataRow();

    // For the command line, on the result page (showPage). recordValue types the text
    // into the value of the data type as the key filter lets it through (a point or a
    // comma becomes the decimal comma), refusing what could not be typed, then posts;
    // recordAnswer stores the code of a coded answer as the answer list would (marking
    // a limb checks the count of limbs); recordLimbCount types the number of limbs
    // ("1" or "2") of a marked amputation row. Messages are shown and end the call
    // (hostfw::Abort), the row left in edit (sbtCancelarClick gives it up); a failed
    // server call raises its records::Error. false when the consultation is read-only
    // and nothing changed.
    bool recordValue(const QString& dataType, const QString& typed);
    bool recordAnswer(const QString& dataType, const QString& code);
    bool recordLimbCount(const QString& dataType, const QString& count);

    // Set by the estimate dialog while it writes weight and height: the post of the
    // data row keeps the observation it wrote.
    bool estimateFlag = false;

    // Before a calculation: the recorded values of the page's methods (anthropometric
    // or energy, by the page shown) are spread again to every method that needs them.
    void Atualiza_DadosInf();
    // The texts of the two filters of GetAtualizaDados.
    static QString anthropometricFilter();
    static QString energyFilter();

    // The inherited buttons: Alterar, Confirmar (then the refresh), Cancelar, Procurar.
    void sbtAlterarClick();
    void sbtConfirmarClick();
    void sbtCancelarClick();
    void sbtProcurarClick();

    // The reference check of a method row being edited (cdsMetoAval), and its energy
    // variant (cdsMetoAvalEnerg, only for the methods whose descriptor asks for it). With
    // referenceRequired a selected method without a reference stops the post.
    void Vd_Referencia(bool referenceRequired);
    void Vd_ReferenciaEnerg(bool referenceRequired);
    // The column of the method grids the user is in (the widgets keep it up to date).
    QString dbgMetoAvalColumn = QStringLiteral("IDTABELAAV");
    QString dbgMetoAvalEnergColumn;

    // The consultation key and the coded age of the reference queries.
    records::ConsultationKey key() const;
    double codedAge() const;
    int ageYears() const;

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
    void checkReference(records::DataSet& methods, bool referenceRequired, bool inReferenceColumn,
                        bool energy);
    records::DataSet& fetchReferences(const QString& useFlag, const QString& code,
                                      const QString& method);
    void prepareMethodList();
    void prepareDataGrid();
    bool readOnly() const { return m_deceased && m_loaded; }
    void enterResultPage();
    // The grid's own edits: the user's (checked and spread to the recorded values), the
    // separators brought to the comma when the page is entered (spread, not refused),
    // and those of a read-only consultation, which change only what the grid shows.
    enum class DataEdit
    {
        User,
        Normalise,
        Quiet
    };
    void loadDataGrid(bool normalise);
    void normaliseDataRow(bool separators, DataEdit mode);
    void checkDataRowBeforePost(records::DataSet& ds);
    void propagateDataRow(records::DataSet& ds);
    void propagateRecordedValue(const QString& dataType, const QVariant& value,
                                const QVariant& observation);
    void recountLimbs();
    void checkLimbForAnswer(const QString& dataType) const;
    void storeAnswer(const QString& code);
    records::DataSet* answerList(const QString& dataType);
    void locateDataRow(const QString& dataType);
    void locateMethodRow(const QString& code);
    void refuseBodyMassIndexConflict(const QString& code);
    // Runs step; whether it succeeds or throws, the enabled actions and the views follow.
    void repaintAfter(const std::function<void()>& step);
    QString currentDataType() const;

    hostfw::BusyIndicator* m_busy = nullptr;
    SeedProgress* m_seedProgress = nullptr;
    CalculationRun* m_calculationRun = nullptr;
    QString m_sexLetter;
    std::optional<records::ConsultationKey> m_loadedKey;  // of this form's last completed load
    bool m_loadPending = false;                           // a load started and did not complete
    bool m_deceased = false;
    bool m_loaded = false;
    DataEdit m_dataEdit = DataEdit::User;
    Actions m_actions;
};

}  // namespace workspace
