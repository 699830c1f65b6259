#include "energy_grids.h"

#include "core_grid.h"

#include "hostfw/action.h"
#include "workspace/assessment_form.h"
#include "workspace/energy_page.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

namespace workspace {
namespace {

const QString kSelection = QStringLiteral("IDTABELAAV");
const QString kReference = QStringLiteral("CDTABELACO");
const QString kValue = QStringLiteral("DSINFOAVAL");

}  // namespace

// ---------------------------------------------------------------- method grid

EnergyMethodGridDelegate::EnergyMethodGridDelegate(AssessmentForm& core, QTableView* view)
    : MethodGridDelegate(core, view)
{
}

bool EnergyMethodGridDelegate::showsButton(const QModelIndex& index) const
{
    return fieldOf(index) == kReference && index.row() == m_view->currentIndex().row()
           && !m_core.readOnly() && m_core.energyPage().referenceButtonVisible(index.row());
}

void EnergyMethodGridDelegate::openList()
{
    hostfw::RunAction([this] { m_core.energyPage().dbgMetoAvalEnergEditButtonClick(); });
}

void EnergyMethodGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                            const QModelIndex& index) const
{
    const QString text = static_cast<QLineEdit*>(editor)->text();
    if (text == index.data(Qt::EditRole).toString())
        return;
    hostfw::RunAction([&] { m_core.energyPage().typeMethodReference(text); });
}

EnergyMethodGridBinder::EnergyMethodGridBinder(AssessmentForm& core, QTableView* view,
                                               CoreGridModel* model)
    : CoreGridBinder(core, view, model, core.cdsMetoAvalEnerg,
                     new EnergyMethodGridDelegate(core, view))
{
    connect(view, &QAbstractItemView::clicked, this, &EnergyMethodGridBinder::onClicked);
}

void EnergyMethodGridBinder::onCurrentChanged(const QModelIndex& current,
                                              const QModelIndex& previous)
{
    if (!current.isValid())
        return;
    EnergyPage& page = m_core.energyPage();
    const QString field = m_model->fieldAt(current.column());
    if (current.row() == m_rows.recNo()) {
        page.dbgMetoAvalEnergColumn = field;
        m_view->viewport()->update();
        return;
    }
    // Leaving a row being edited posts it (its reference checked in the column the user
    // was in); a refusal keeps the grid on it.
    const bool moved = hostfw::RunAction([&] {
        if (m_rows.isEditing())
            page.postMethodRow();
        page.dbgMetoAvalEnergColumn = field;
        m_rows.moveTo(current.row());
        m_core.repaint();
    });
    if (!moved)
        revertTo(previous.isValid() ? previous.column() : current.column());
    m_view->viewport()->update();
}

void EnergyMethodGridBinder::onClicked(const QModelIndex& index)
{
    if (m_model->fieldAt(index.column()) != kSelection || index.row() != m_rows.recNo())
        return;
    hostfw::RunAction([this] { m_core.energyPage().toggleMethod(); });
}

bool EnergyMethodGridBinder::handleKey(const QKeyEvent* key, const QString& field)
{
    if (key->key() == Qt::Key_Space && field == kSelection) {
        hostfw::RunAction([this] { m_core.energyPage().toggleMethod(); });
        return true;
    }
    if (opensList(key) && field == kReference) {
        hostfw::RunAction([this] { m_core.energyPage().dbgMetoAvalEnergEditButtonClick(); });
        return true;
    }
    return false;
}

int EnergyMethodGridBinder::syncColumn() const
{
    return m_model->columnOf(m_core.energyPage().dbgMetoAvalEnergColumn);
}

// ---------------------------------------------------------------- data grid

EnergyDataGridDelegate::EnergyDataGridDelegate(AssessmentForm& core, QTableView* view)
    : CoreGridDelegate(core, view)
{
}

bool EnergyDataGridDelegate::showsButton(const QModelIndex& index) const
{
    return fieldOf(index) == kValue && index.row() == m_view->currentIndex().row()
           && !m_core.readOnly();
}

void EnergyDataGridDelegate::openList()
{
    hostfw::RunAction([this] { m_core.energyPage().dbgDadoAvalEnergEditButtonClick(); });
}

EnergyDataGridBinder::EnergyDataGridBinder(AssessmentForm& core, QTableView* view,
                                           CoreGridModel* model)
    : CoreGridBinder(core, view, model, core.cdsDadoAvalEnerg,
                     new EnergyDataGridDelegate(core, view))
{
}

void EnergyDataGridBinder::onCurrentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (!current.isValid())
        return;
    if (current.row() != m_rows.recNo()
        && !hostfw::RunAction([&] { m_rows.moveTo(current.row()); })) {
        revertTo(previous.isValid() ? previous.column() : current.column());
        return;
    }
    m_view->viewport()->update();
}

bool EnergyDataGridBinder::handleKey(const QKeyEvent* key, const QString& field)
{
    if (opensList(key) && field == kValue) {
        hostfw::RunAction([this] { m_core.energyPage().dbgDadoAvalEnergEditButtonClick(); });
        return true;
    }
    return false;
}

}  // namespace workspace
