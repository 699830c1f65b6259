#include "tfrm_aval_nutr_energ.h"

#include "catalogue_panel.h"
#include "core_grid.h"
#include "data_grid.h"
#include "diagnosis_tab.h"
#include "energy_tab.h"
#include "growth_chart_view.h"
#include "method_grid.h"
#include "recommendation_tab.h"

#include "hostfw/action.h"
#include "records/dataset_model.h"
#include "workspace/diagnosis_page.h"
#include "workspace/method_page.h"
#include "workspace/module_context.h"
#include "workspace/result_page.h"

#include <QAction>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace workspace {
namespace {

QLineEdit* readOnlyEdit(QWidget* parent, const QString& name, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    if (width > 0)
        edit->setFixedWidth(width);
    return edit;
}

// The page of the core that a tab's widget shows, if any.
template <typename Page>
std::optional<Page> pageAt(const std::map<Page, QWidget*>& pages, const QWidget* widget)
{
    for (const auto& [p, w] : pages) {
        if (w == widget)
            return p;
    }
    return std::nullopt;
}

QWidget* page(QTabWidget* tabs, const QString& name, const QString& title)
{
    auto* w = new QWidget(tabs);
    w->setObjectName(name);
    tabs->addTab(w, title);
    return w;
}

}  // namespace

TfrmAvalNutrEnerg::TfrmAvalNutrEnerg(NetConnection::Transport transport, QWidget* parent)
    : hostfw::TfrmPadraoGrid(parent),
      m_core(std::move(transport)),
      m_busy(this)
{
    setObjectName(QStringLiteral("frmAvalNutrEnerg"));
    setWindowTitle(QStringLiteral("Avaliação Nutricional"));
    setScreenCode(QStringLiteral("VEX12200"));
    setHelpContext(11112200);
    setAttribute(Qt::WA_DeleteOnClose);
    m_core.setBusyIndicator(&m_busy);

    m_metoAvalModel = new CoreGridModel(
        m_core.cdsMetoAval,
        [this](int row, const QString& field) {
            return m_core.methodPage().methodCellEditable(row, field);
        },
        this);
    m_metoAvalModel->setColumns({QStringLiteral("IDTABELAAV"), QStringLiteral("NMTBMETOAVAL"),
                                 QStringLiteral("CDTABELACO")});
    m_dadosAvalModel = new CoreGridModel(
        m_core.cdsDadosAval,
        [this](int row, const QString& field) {
            return m_core.resultPage().dataCellEditable(row, field);
        },
        this);
    m_dadosAvalModel->setColumns({QStringLiteral("NMTIPODADO"), QStringLiteral("DSINFOAVAL"),
                                  QStringLiteral("DSUNIDDADO"), QStringLiteral("DSOBSERAVAL")});
    m_resuAvalModel = new records::DataSetModel(m_core.cdsResuAval, this);
    m_resuAvalModel->setColumns({QStringLiteral("NMTBMETOAVAL"), QStringLiteral("DSCONTRESU"),
                                 QStringLiteral("DSRESUAVAL")});

    buildPages();
    buildActions();
    panAtualizaTabela = new CatalogueProgressPanel(centralWidget());
    panAtualizaTabela->setGeometry(200, 160, 360, 70);
    m_core.setSeedProgress(panAtualizaTabela);
    // The selection column is a check box without a title.
    m_core.cdsMetoAval.setFieldLabel(QStringLiteral("IDTABELAAV"), QStringLiteral(" "));
    m_methodGrid = new MethodGridBinder(m_core, dbgMetoAval, m_metoAvalModel);
    m_dataGrid = new DataGridBinder(m_core, dbgDadosAval, m_dadosAvalModel);
    m_energyTab = new EnergyTab(m_core, tshMetodoEnerg, tshResulEnerg);
    dbgMetoAvalEnerg = m_energyTab->dbgMetoAvalEnerg;
    panAltPeso = m_energyTab->panAltPeso;
    dbgDadoAvalEnerg = m_energyTab->dbgDadoAvalEnerg;
    dbgResulEnerg = m_energyTab->dbgResulEnerg;
    m_recommendationTab = new RecommendationTab(m_core, tshNutrRecom);
    connect(&m_core, &AssessmentForm::changed, this, &TfrmAvalNutrEnerg::repaintFromCore);
    connect(&m_core, &AssessmentForm::focusRequested, this, &TfrmAvalNutrEnerg::onFocusRequested);

    hostfw::RunAction([this] { m_core.FormCreate(); });
    repaintFromCore();
}

TfrmAvalNutrEnerg::~TfrmAvalNutrEnerg()
{
    // The core goes before the widgets: the result grid's row changes no longer reach it.
    disconnect(dbgResuaval->selectionModel(), nullptr, this, nullptr);
    if (frmAvalNutrEnerg == this)
        frmAvalNutrEnerg = nullptr;
}

void TfrmAvalNutrEnerg::buildHeader(QWidget* parent)
{
    auto* header = new QHBoxLayout;
    edtNmPaciente = readOnlyEdit(parent, QStringLiteral("edtNmPaciente"), 0);
    edtSexoPaci = readOnlyEdit(parent, QStringLiteral("edtSexoPaci"), 90);
    edtIdade = readOnlyEdit(parent, QStringLiteral("edtIdade"), 40);
    lblIdade = new QLabel(parent);
    lblIdade->setMinimumWidth(lblIdade->fontMetrics().horizontalAdvance(QStringLiteral("Anos ")));
    lblIdade->setObjectName(QStringLiteral("lblIdade"));
    edtMes = readOnlyEdit(parent, QStringLiteral("edtMes"), 32);
    lblMes = new QLabel(parent);
    lblMes->setMinimumWidth(lblMes->fontMetrics().horizontalAdvance(QStringLiteral("Meses ")));
    lblMes->setObjectName(QStringLiteral("lblMes"));
    depDtConsulta = readOnlyEdit(parent, QStringLiteral("depDtConsulta"), 90);

    header->addWidget(new QLabel(QStringLiteral("Paciente"), parent));
    header->addWidget(edtNmPaciente, 1);
    header->addWidget(new QLabel(QStringLiteral("Sexo"), parent));
    header->addWidget(edtSexoPaci);
    header->addWidget(new QLabel(QStringLiteral("Idade"), parent));
    header->addWidget(edtIdade);
    header->addWidget(lblIdade);
    header->addWidget(edtMes);
    header->addWidget(lblMes);
    header->addWidget(new QLabel(QStringLiteral("Consulta"), parent));
    header->addWidget(depDtConsulta);
    static_cast<QVBoxLayout*>(parent->layout())->addLayout(header);
}

void TfrmAvalNutrEnerg::buildPages()
{
    // The header sits above the outer page control.
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    buildHeader(central);
    pgcPadrao->setParent(central);
    layout->addWidget(pgcPadrao, 1);
    setCentralWidget(central);

    tshAvalNutr =
        page(pgcPadrao, QStringLiteral("tshAvalNutr"), QStringLiteral("Avaliação Nutricional"));
    tshDiagNutri =
        page(pgcPadrao, QStringLiteral("tshDiagNutri"), QStringLiteral("Diagnóstico Nutricional"));
    pgcPadrao->addTab(tshPadrao, QStringLiteral("Necessidades Nutricionais"));

    // Assessment: methods, then measurements above results.
    pgcAvalNutr = new QTabWidget(tshAvalNutr);
    pgcAvalNutr->setObjectName(QStringLiteral("pgcAvalNutr"));
    (new QVBoxLayout(tshAvalNutr))->addWidget(pgcAvalNutr);
    tshMetoAval =
        page(pgcAvalNutr, QStringLiteral("tshMetoAval"), QStringLiteral("Método de Avaliação"));
    tshAvaliacao =
        page(pgcAvalNutr, QStringLiteral("tshAvaliacao"), QStringLiteral("Avaliação/Resultado"));
    dbgMetoAval = makeGrid(tshMetoAval, QStringLiteral("dbgMetoAval"), m_metoAvalModel);
    dbgMetoAval->setColumnWidth(0, 27);
    dbgMetoAval->setColumnWidth(1, 364);
    dbgMetoAval->setColumnWidth(2, 111);
    (new QVBoxLayout(tshMetoAval))->addWidget(dbgMetoAval);
    auto* resultTools = new QToolBar(tshAvaliacao);
    resultTools->setObjectName(QStringLiteral("tbrAvaliacao"));
    resultTools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    sbtEstimado = resultTools->addAction(style()->standardIcon(QStyle::SP_FileDialogInfoView),
                                         QStringLiteral("Altura/Peso Estimado"));
    sbtEstimado->setObjectName(QStringLiteral("sbtEstimado"));
    sbtEstimado->setToolTip(QStringLiteral("Altura/Peso Estimado"));
    sbtMaturSex = resultTools->addAction(style()->standardIcon(QStyle::SP_FileDialogListView),
                                         QStringLiteral("Maturação Sexual"));
    sbtMaturSex->setObjectName(QStringLiteral("sbtMaturSex"));
    sbtMaturSex->setToolTip(QStringLiteral("Maturação Sexual"));
    sbtAmputado = resultTools->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                         QStringLiteral("Amputado"));
    sbtAmputado->setObjectName(QStringLiteral("sbtAmputado"));
    sbtCurvaCresc = resultTools->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                           QStringLiteral("Curva de Crescimento"));
    sbtCurvaCresc->setObjectName(QStringLiteral("sbtCurvaCresc"));
    sbtCurvaCresc->setToolTip(QStringLiteral("Curva de Crescimento"));
    sbtCurvaCresc->setCheckable(true);
    connect(sbtEstimado, &QAction::triggered, this, &TfrmAvalNutrEnerg::estimateRequested);
    connect(sbtMaturSex, &QAction::triggered, this, &TfrmAvalNutrEnerg::maturationRequested);
    auto* split = new QSplitter(Qt::Vertical, tshAvaliacao);
    dbgDadosAval = makeGrid(split, QStringLiteral("dbgDadosAval"), m_dadosAvalModel);
    dbgDadosAval->setColumnWidth(0, 213);
    dbgDadosAval->setColumnWidth(1, 92);
    dbgDadosAval->setColumnWidth(2, 36);
    dbgResuaval = makeGrid(split, QStringLiteral("dbgResuaval"), m_resuAvalModel);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({300, 200});
    dbgResuaval->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgResuaval->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgResuaval->setColumnWidth(0, 200);
    dbgResuaval->setColumnWidth(1, 240);
    // The growth chart beside the grids, while its button is down.
    auto* chartSplit = new QSplitter(Qt::Horizontal, tshAvaliacao);
    chartSplit->addWidget(split);
    panCurvaCresc = new GrowthChartPanel(m_core, chartSplit);
    chartSplit->addWidget(panCurvaCresc);
    chartSplit->setStretchFactor(0, 2);
    chartSplit->setStretchFactor(1, 3);
    panCurvaCresc->hide();
    connect(sbtCurvaCresc, &QAction::toggled, this, [this, chartSplit](bool shown) {
        panCurvaCresc->setVisible(shown);
        // A panel shown for the first time gets the larger part of the page.
        if (shown && chartSplit->sizes().value(1) < panCurvaCresc->minimumSizeHint().width()) {
            const int width = chartSplit->width();
            chartSplit->setSizes({width * 2 / 5, width - width * 2 / 5});
        }
    });
    connect(dbgResuaval->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid() && index.row() < m_core.cdsResuAval.recordCount())
                    panCurvaCresc->chooseMethod(
                        m_core.cdsResuAval.asStringAt(index.row(), QStringLiteral("CDTBMETOAVAL")));
            });
    auto* resultLayout = new QVBoxLayout(tshAvaliacao);
    resultLayout->addWidget(resultTools);
    resultLayout->addWidget(chartSplit, 1);

    // Diagnosis: its buttons, the formatting bar and the editor.
    m_diagnosisTab = new DiagnosisTab(m_core, tshDiagNutri, mnuManutencao);
    rceDiag = m_diagnosisTab->rceDiag;

    // Nutritional needs: energy methods, energy results, nutrient recommendation.
    pgcAvalEnerg = new QTabWidget(tshPadrao);
    pgcAvalEnerg->setObjectName(QStringLiteral("pgcAvalEnerg"));
    (new QVBoxLayout(tshPadrao))->addWidget(pgcAvalEnerg);
    tshMetodoEnerg =
        page(pgcAvalEnerg, QStringLiteral("tshMetodoEnerg"), QStringLiteral("Método de Avaliação"));
    tshResulEnerg =
        page(pgcAvalEnerg, QStringLiteral("tshResulEnerg"), QStringLiteral("Avaliação/Resultado"));
    tshNutrRecom = page(pgcAvalEnerg, QStringLiteral("tshNutrRecom"),
                        QStringLiteral("Recomendação de Nutriente"));

    m_outerPages = {{OuterPage::tshAvalNutr, tshAvalNutr},
                    {OuterPage::tshDiagNutri, tshDiagNutri},
                    {OuterPage::tshPadrao, tshPadrao}};
    m_innerPages = {{InnerPage::tshMetoAval, tshMetoAval}, {InnerPage::tshAvaliacao, tshAvaliacao}};
    m_energPages = {{EnergPage::tshMetodoEnerg, tshMetodoEnerg},
                    {EnergPage::tshResulEnerg, tshResulEnerg},
                    {EnergPage::tshNutrRecom, tshNutrRecom}};

    connect(pgcPadrao, &QTabWidget::currentChanged, this, [this](int index) {
        const auto outer = pageAt(m_outerPages, pgcPadrao->widget(index));
        if (m_syncingTabs || !outer)
            return;
        // Choosing the assessment tab always shows the method page first.
        showPage(*outer, *outer == OuterPage::tshAvalNutr
                             ? std::optional<InnerPage>(InnerPage::tshMetoAval)
                             : std::nullopt);
    });
    connect(pgcAvalNutr, &QTabWidget::currentChanged, this, [this](int index) {
        const auto inner = pageAt(m_innerPages, pgcAvalNutr->widget(index));
        if (!m_syncingTabs && inner)
            showPage(OuterPage::tshAvalNutr, *inner);
    });
    connect(pgcAvalEnerg, &QTabWidget::currentChanged, this, [this](int index) {
        const auto energ = pageAt(m_energPages, pgcAvalEnerg->widget(index));
        if (!m_syncingTabs && energ)
            showPage(OuterPage::tshPadrao, std::nullopt, *energ);
    });
}

void TfrmAvalNutrEnerg::buildActions()
{
    sbtCalcular = toolBar->addAction(style()->standardIcon(QStyle::SP_BrowserReload),
                                     QStringLiteral("Calcular"));
    sbtCalcular->setObjectName(QStringLiteral("sbtCalcular"));
    sbtCalcular->setToolTip(QStringLiteral("Calcular"));
    sbtAutomatico = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowDown),
                                       QStringLiteral("Atualizar Métodos"));
    sbtAutomatico->setObjectName(QStringLiteral("sbtAutomatico"));
    sbtAutomatico->setToolTip(QStringLiteral("Atualizar Métodos"));

    auto addCheckable = [](QMenu* menu, const QString& name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        a->setCheckable(true);
        return a;
    };
    mnuAvalNutri = mnuOperacao->addMenu(QStringLiteral("&Avaliação Nutricional"));
    mnuAvalNutri->setObjectName(QStringLiteral("mnuAvalNutri"));
    mnuMetoAval = addCheckable(mnuAvalNutri, QStringLiteral("mnuMetoAval"),
                               QStringLiteral("&Método de Avaliação"));
    mnuAvaliacao = addCheckable(mnuAvalNutri, QStringLiteral("mnuAvaliacao"),
                                QStringLiteral("&Avaliação/Resultado"));
    mnuDiagNutri = addCheckable(mnuOperacao, QStringLiteral("mnuDiagNutri"),
                                QStringLiteral("Diagnóstico Nutricional"));
    mnuCalculo = mnuOperacao->addMenu(QStringLiteral("Necessidades Nutricionais"));
    mnuCalculo->setObjectName(QStringLiteral("mnuCalculo"));
    mnuMetoEnerg = addCheckable(mnuCalculo, QStringLiteral("mnuMetoEnerg"),
                                QStringLiteral("Método de Avaliação"));
    mnuResuEnerg = addCheckable(mnuCalculo, QStringLiteral("mnuResuEnerg"),
                                QStringLiteral("Avaliação/Resultado"));
    mnuNutrRecom = addCheckable(mnuCalculo, QStringLiteral("mnuNutrRecom"),
                                QStringLiteral("Recomendação de Nutriente"));
    mnuAvalNutri->menuAction()->setCheckable(true);
    mnuCalculo->menuAction()->setCheckable(true);

    mnuCalcular = mnuManutencao->addAction(QStringLiteral("Ca&lcular"));
    mnuCalcular->setObjectName(QStringLiteral("mnuCalcular"));
    mnuCalcular->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    mnuAutomatico = mnuManutencao->addAction(QStringLiteral("Atualizar &Métodos"));
    mnuAutomatico->setObjectName(QStringLiteral("mnuAutomatico"));
    mnuAutomatico->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));

    const auto run = [this](void (AssessmentForm::*handler)()) {
        return [this, handler] {
            hostfw::RunAction([this, handler] { (m_core.*handler)(); });
            repaintFromCore();
        };
    };
    connect(sbtAlterar, &QAction::triggered, this, run(&AssessmentForm::sbtAlterarClick));
    connect(sbtConfirmar, &QAction::triggered, this, run(&AssessmentForm::sbtConfirmarClick));
    connect(sbtCancelar, &QAction::triggered, this, run(&AssessmentForm::sbtCancelarClick));
    connect(sbtProcurar, &QAction::triggered, this, run(&AssessmentForm::sbtProcurarClick));
    connect(sbtCalcular, &QAction::triggered, this, run(&AssessmentForm::sbtCalcularClick));
    connect(mnuCalcular, &QAction::triggered, this, run(&AssessmentForm::sbtCalcularClick));

    const auto updateMethods = [this] {
        hostfw::RunAction([this] { m_core.sbtAutomaticoClick(); });
        repaintFromCore();
    };
    connect(sbtAutomatico, &QAction::triggered, this, updateMethods);
    connect(mnuAutomatico, &QAction::triggered, this, updateMethods);
    connect(mnuMetoAval, &QAction::triggered, this,
            [this] { showPage(OuterPage::tshAvalNutr, InnerPage::tshMetoAval); });
    connect(mnuAvaliacao, &QAction::triggered, this,
            [this] { showPage(OuterPage::tshAvalNutr, InnerPage::tshAvaliacao); });
    connect(mnuDiagNutri, &QAction::triggered, this, [this] { showPage(OuterPage::tshDiagNutri); });
    connect(mnuMetoEnerg, &QAction::triggered, this,
            [this] { showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshMetodoEnerg); });
    connect(mnuResuEnerg, &QAction::triggered, this,
            [this] { showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshResulEnerg); });
    connect(mnuNutrRecom, &QAction::triggered, this,
            [this] { showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshNutrRecom); });
}

bool TfrmAvalNutrEnerg::activate()
{
    return hostfw::RunAction([this] { m_core.FormActivate(); });
}

void TfrmAvalNutrEnerg::showPage(OuterPage outer, std::optional<InnerPage> inner,
                                 std::optional<EnergPage> energ)
{
    // The weight panel is left before its page goes (the page change clears it); values
    // it refuses keep the page.
    if (!m_energyTab->leavePanel()) {
        repaintFromCore();
        return;
    }
    hostfw::RunAction([&] { m_core.showPage(outer, inner, energ); });
    repaintFromCore();
    if (m_core.pgcPadrao == OuterPage::tshPadrao && m_core.pgcAvalEnerg == EnergPage::tshResulEnerg)
        m_energyTab->focusWeight();
}

void TfrmAvalNutrEnerg::onFocusRequested(const QString& control)
{
    if (control == u"dbgDadosAval") {
        m_dataGrid->sync();
        dbgDadosAval->setFocus();
    } else if (control == u"CDTABELACO") {
        m_methodGrid->focusReference();
    } else {
        m_energyTab->focus(control);
        m_recommendationTab->focus(control);
    }
}

void TfrmAvalNutrEnerg::repaintFromCore()
{
    edtNmPaciente->setText(m_core.edtNmPaciente);
    edtSexoPaci->setText(m_core.edtSexoPaci);
    edtIdade->setText(m_core.edtIdade);
    lblIdade->setText(m_core.lblIdade);
    edtMes->setText(m_core.edtMes);
    lblMes->setText(m_core.lblMes);
    depDtConsulta->setText(m_core.depDtConsulta.isValid()
                               ? m_core.depDtConsulta.date().toString(QStringLiteral("dd/MM/yyyy"))
                               : QString());

    m_syncingTabs = true;
    pgcPadrao->setCurrentWidget(m_outerPages.at(m_core.pgcPadrao));
    pgcAvalNutr->setCurrentWidget(m_innerPages.at(m_core.pgcAvalNutr));
    pgcAvalEnerg->setCurrentWidget(m_energPages.at(m_core.pgcAvalEnerg));
    m_syncingTabs = false;

    const bool onAval = m_core.pgcPadrao == OuterPage::tshAvalNutr;
    const bool onEnerg = m_core.pgcPadrao == OuterPage::tshPadrao;
    mnuAvalNutri->menuAction()->setChecked(onAval);
    mnuMetoAval->setChecked(onAval && m_core.pgcAvalNutr == InnerPage::tshMetoAval);
    mnuAvaliacao->setChecked(onAval && m_core.pgcAvalNutr == InnerPage::tshAvaliacao);
    mnuDiagNutri->setChecked(m_core.pgcPadrao == OuterPage::tshDiagNutri);
    mnuCalculo->menuAction()->setChecked(onEnerg);
    mnuMetoEnerg->setChecked(onEnerg && m_core.pgcAvalEnerg == EnergPage::tshMetodoEnerg);
    mnuResuEnerg->setChecked(onEnerg && m_core.pgcAvalEnerg == EnergPage::tshResulEnerg);
    mnuNutrRecom->setChecked(onEnerg && m_core.pgcAvalEnerg == EnergPage::tshNutrRecom);

    const AssessmentForm::Actions& a = m_core.actions();
    sbtCalcular->setEnabled(a.sbtCalcular);
    mnuCalcular->setEnabled(a.sbtCalcular);
    sbtAutomatico->setEnabled(a.sbtAutomatico);
    mnuAutomatico->setEnabled(a.sbtAutomatico);
    for (QAction* edit : {sbtAlterar, sbtConfirmar, sbtCancelar})
        edit->setEnabled(a.editButtons);
    sbtEstimado->setEnabled(a.sbtEstimado);
    sbtMaturSex->setEnabled(a.sbtMaturSex);
    sbtAmputado->setEnabled(a.sbtAmputado);
    // The diagnosis tab has its own buttons, and closes the other tabs while edited.
    const DiagnosisPage::Buttons diag = m_core.diagnosisPage().buttons();
    if (m_core.pgcPadrao == OuterPage::tshDiagNutri) {
        sbtAlterar->setEnabled(diag.sbtAlterar);
        sbtConfirmar->setEnabled(diag.sbtConfirmar);
        sbtCancelar->setEnabled(diag.sbtCancelar);
    }
    for (QWidget* other : {tshAvalNutr, static_cast<QWidget*>(tshPadrao)})
        pgcPadrao->setTabEnabled(pgcPadrao->indexOf(other), diag.otherTabs);
    mnuAvalNutri->setEnabled(diag.otherTabs);
    mnuCalculo->setEnabled(diag.otherTabs);
    panCurvaCresc->sync();
    sbtCurvaCresc->setEnabled(panCurvaCresc->hasMethods());
    if (!panCurvaCresc->hasMethods())
        sbtCurvaCresc->setChecked(false);

    m_methodGrid->sync();
    m_dataGrid->sync();
    m_energyTab->sync();
    m_diagnosisTab->sync();
    m_recommendationTab->sync();
}

void TfrmAvalNutrEnerg::closeEvent(QCloseEvent* event)
{
    m_core.FormClose();
    hostfw::TfrmPadraoGrid::closeEvent(event);
}

}  // namespace workspace
