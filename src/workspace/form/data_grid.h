#pragma once

// The data grid dbgDadosAval bound to the form's core: the key filter of its cells,
// the button of the coded answers, and the checks made when the user leaves the value
// column or the row.

#include "grid_binder.h"

namespace workspace {

class DataGridDelegate : public CoreGridDelegate
{
    Q_OBJECT

public:
    DataGridDelegate(AssessmentForm& core, QTableView* view);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

    bool showsButton(const QModelIndex& index) const override;

protected:
    // The key filter of the cell editors.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void openList() override;
};

class DataGridBinder : public CoreGridBinder
{
    Q_OBJECT

public:
    DataGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model);

private:
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool handleKey(const QKeyEvent* key, const QString& field) override;
};

}  // namespace workspace
