#include "energy_tab.h"

#include "core_grid.h"
#include "energy_grids.h"
#include "energy_panel.h"

#include "workspace/assessment_form.h"
#include "workspace/energy_page.h"

#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace workspace {

EnergyTab::EnergyTab(AssessmentForm& core, QWidget* methodPage, QWidget* resultPage)
    : QObject(methodPage),
      m_core(core)
{
    EnergyPage& page = core.energyPage();
    m_methodModel = new CoreGridModel(
        core.cdsMetoAvalEnerg,
        [&page](int row, const QString& field) { return page.methodCellEditable(row, field); },
        this);
    m_methodModel->setColumns({QStringLiteral("IDTABELAAV"), QStringLiteral("NMTBMETOAVAL"),
                               QStringLiteral("CDTABELACO")});
    // The selection column is a check box without a title.
    core.cdsMetoAvalEnerg.setFieldLabel(QStringLiteral("IDTABELAAV"), QStringLiteral(" "));
    // Values are only picked from lists: no cell takes typing.
    m_dataModel = new CoreGridModel(
        core.cdsDadoAvalEnerg, [](int, const QString&) { return false; }, this);
    m_dataModel->setColumns({QStringLiteral("CDTBMETOAVAL"), QStringLiteral("NMTIPODADO"),
                             QStringLiteral("DSINFOAVAL")});
    m_resultModel = new records::DataSetModel(core.cdsResuAvalEnerg, this);
    m_resultModel->setColumns({QStringLiteral("NMTBMETOAVAL"), QStringLiteral("DSCONTRESU"),
                               QStringLiteral("DSRESUAVAL")});

    dbgMetoAvalEnerg = makeGrid(methodPage, QStringLiteral("dbgMetoAvalEnerg"), m_methodModel);
    dbgMetoAvalEnerg->setColumnWidth(0, 27);
    dbgMetoAvalEnerg->setColumnWidth(1, 364);
    dbgMetoAvalEnerg->setColumnWidth(2, 111);
    (new QVBoxLayout(methodPage))->addWidget(dbgMetoAvalEnerg);
    m_methodGrid = new EnergyMethodGridBinder(core, dbgMetoAvalEnerg, m_methodModel);

    panAltPeso = new EnergyPanel(core, resultPage);
    auto* split = new QSplitter(Qt::Vertical, resultPage);
    dbgDadoAvalEnerg = makeGrid(split, QStringLiteral("dbgDadoAvalEnerg"), m_dataModel);
    dbgDadoAvalEnerg->setColumnWidth(0, 260);
    dbgDadoAvalEnerg->setColumnWidth(1, 200);
    m_dataGrid = new EnergyDataGridBinder(core, dbgDadoAvalEnerg, m_dataModel);
    dbgResulEnerg = makeGrid(split, QStringLiteral("dbgResulEnerg"), m_resultModel);
    dbgResulEnerg->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgResulEnerg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgResulEnerg->setColumnWidth(0, 260);
    dbgResulEnerg->setColumnWidth(1, 300);
    dbgResulEnerg->installEventFilter(this);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({300, 200});
    auto* layout = new QVBoxLayout(resultPage);
    layout->addWidget(panAltPeso);
    layout->addWidget(split, 1);
}

void EnergyTab::sync()
{
    panAltPeso->sync();
    m_methodGrid->sync();
    m_dataGrid->sync();
}

bool EnergyTab::leavePanel()
{
    return panAltPeso->leave();
}

void EnergyTab::focus(const QString& control)
{
    sync();
    QTableView* grid = control == u"dbgDadoAvalEnerg"   ? dbgDadoAvalEnerg
                       : control == u"dbgResuAvalEnerg" ? dbgResulEnerg
                                                        : nullptr;
    if (grid && grid->isVisible() && grid->isEnabled())
        grid->setFocus();
}

bool EnergyTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dbgResulEnerg && event->type() == QEvent::FocusIn)
        m_core.energyPage().dbgResulEnergEnter();
    else if (watched == dbgResulEnerg && event->type() == QEvent::FocusOut)
        m_core.energyPage().dbgResulEnergExit();
    return QObject::eventFilter(watched, event);
}

void EnergyTab::focusWeight()
{
    if (panAltPeso->medPeso->isEnabled() && panAltPeso->medPeso->isVisible())
        panAltPeso->medPeso->setFocus();
}

}  // namespace workspace
