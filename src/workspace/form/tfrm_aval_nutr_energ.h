#pragma once

#include "hostfw/widgets/show_avi.h"
#include "hostfw/widgets/tfrm_padrao_grid.h"
#include "workspace/assessment_form.h"

#include <map>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QTableView;
class QTabWidget;

namespace records {
class DataSetModel;
}

namespace workspace {

class CatalogueProgressPanel;
class CoreGridModel;
class DataGridBinder;
class DiagnosisEditor;
class DiagnosisTab;
class EnergyPanel;
class EnergyTab;
class GrowthChartPanel;
class MethodGridBinder;
class RecommendationTab;

// The assessment form: the patient header, the assessment, diagnosis and nutritional
// needs tabs, the tool bar and the menus. Every click becomes a call on the form's
// core (AssessmentForm) inside an action handler; the widgets repaint from the core.
class TfrmAvalNutrEnerg : public hostfw::TfrmPadraoGrid
{
    Q_OBJECT

public:
    explicit TfrmAvalNutrEnerg(NetConnection::Transport transport = {}, QWidget* parent = nullptr);
    ~TfrmAvalNutrEnerg() override;

    AssessmentForm& core() { return m_core; }

    // The form activation (header refresh, and a load when the patient changed).
    // Errors are shown; returns whether it completed.
    bool activate();

    // Patient header
    QLineEdit* edtNmPaciente = nullptr;
    QLineEdit* edtSexoPaci = nullptr;
    QLineEdit* edtIdade = nullptr;
    QLabel* lblIdade = nullptr;
    QLineEdit* edtMes = nullptr;
    QLabel* lblMes = nullptr;
    QLineEdit* depDtConsulta = nullptr;

    // Pages
    QWidget* tshAvalNutr = nullptr;
    QTabWidget* pgcAvalNutr = nullptr;
    QWidget* tshMetoAval = nullptr;
    QWidget* tshAvaliacao = nullptr;
    QWidget* tshDiagNutri = nullptr;
    QTabWidget* pgcAvalEnerg = nullptr;
    QWidget* tshMetodoEnerg = nullptr;
    QWidget* tshResulEnerg = nullptr;
    QWidget* tshNutrRecom = nullptr;

    // Grids
    QTableView* dbgMetoAval = nullptr;
    QTableView* dbgDadosAval = nullptr;
    QTableView* dbgResuaval = nullptr;
    DiagnosisEditor* rceDiag = nullptr;  // under its formatting bar fplDiag
    QTableView* dbgMetoAvalEnerg = nullptr;
    EnergyPanel* panAltPeso = nullptr;  // medPeso, medAltura, cbbPesoIdeal, medPesoAdeq
    QTableView* dbgDadoAvalEnerg = nullptr;
    QTableView* dbgResulEnerg = nullptr;
    CatalogueProgressPanel* panAtualizaTabela = nullptr;
    RecommendationTab* recommendationTab() const { return m_recommendationTab; }

    // Tool bar and menus of the form
    QAction* sbtCalcular = nullptr;
    QAction* sbtAutomatico = nullptr;
    QMenu* mnuAvalNutri = nullptr;
    QAction* mnuMetoAval = nullptr;
    QAction* mnuAvaliacao = nullptr;
    QAction* mnuDiagNutri = nullptr;
    QMenu* mnuCalculo = nullptr;
    QAction* mnuMetoEnerg = nullptr;
    QAction* mnuResuEnerg = nullptr;
    QAction* mnuNutrRecom = nullptr;
    QAction* mnuCalcular = nullptr;
    QAction* mnuAutomatico = nullptr;

    // Buttons of the result page: the estimate and maturation dialogs, and the amputee
    // button, which stays disabled.
    QAction* sbtEstimado = nullptr;
    QAction* sbtMaturSex = nullptr;
    QAction* sbtAmputado = nullptr;
    // The growth chart of the selected growth methods, shown beside the grids.
    QAction* sbtCurvaCresc = nullptr;
    GrowthChartPanel* panCurvaCresc = nullptr;

signals:
    // The dialogs of the result page are asked for (the dialogs connect here).
    void estimateRequested();
    void maturationRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildHeader(QWidget* parent);
    void buildPages();
    void buildActions();
    void showPage(OuterPage outer, std::optional<InnerPage> inner = std::nullopt,
                  std::optional<EnergPage> energ = std::nullopt);
    void repaintFromCore();
    void onFocusRequested(const QString& control);

    AssessmentForm m_core;
    hostfw::FormBusyIndicator m_busy;
    CoreGridModel* m_metoAvalModel = nullptr;
    CoreGridModel* m_dadosAvalModel = nullptr;
    MethodGridBinder* m_methodGrid = nullptr;
    DataGridBinder* m_dataGrid = nullptr;
    EnergyTab* m_energyTab = nullptr;
    DiagnosisTab* m_diagnosisTab = nullptr;
    RecommendationTab* m_recommendationTab = nullptr;
    records::DataSetModel* m_resuAvalModel = nullptr;
    // The tab widget of each page of the core.
    std::map<OuterPage, QWidget*> m_outerPages;
    std::map<InnerPage, QWidget*> m_innerPages;
    std::map<EnergPage, QWidget*> m_energPages;
    bool m_syncingTabs = false;
};

}  // namespace workspace
