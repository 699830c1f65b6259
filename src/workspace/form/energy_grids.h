#pragma once

// The two editable grids of the energy tab bound to the energy page's core: the method
// grid dbgMetoAvalEnerg (the selection mark toggled by a click or the space bar, the
// reference of catch-up growth typed or picked, a row being edited posted when the
// user leaves it) and the factor grid dbgDadoAvalEnerg (no typing: every value comes
// from the list of its "Valor" button).

#include "grid_binder.h"
#include "method_grid.h"

namespace workspace {

class EnergyMethodGridDelegate : public MethodGridDelegate
{
    Q_OBJECT

public:
    EnergyMethodGridDelegate(AssessmentForm& core, QTableView* view);

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    bool showsButton(const QModelIndex& index) const override;

protected:
    void openList() override;
};

class EnergyMethodGridBinder : public CoreGridBinder
{
    Q_OBJECT

public:
    EnergyMethodGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model);

private:
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool handleKey(const QKeyEvent* key, const QString& field) override;
    int syncColumn() const override;
    void onClicked(const QModelIndex& index);
};

class EnergyDataGridDelegate : public CoreGridDelegate
{
    Q_OBJECT

public:
    EnergyDataGridDelegate(AssessmentForm& core, QTableView* view);

    // The "Valor" cell of the current row, on a consultation that can be changed.
    bool showsButton(const QModelIndex& index) const override;

protected:
    void openList() override;
};

class EnergyDataGridBinder : public CoreGridBinder
{
    Q_OBJECT

public:
    EnergyDataGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model);

private:
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool handleKey(const QKeyEvent* key, const QString& field) override;
};

}  // namespace workspace
