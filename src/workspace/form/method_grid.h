#pragma once

// The method grid dbgMetoAval bound to the form's core: the selection column drawn as a
// check box and toggled by a click or the space bar, the reference column typed or
// chosen with its ellipsis button, and the keys a read-only consultation ignores.

#include "grid_binder.h"

namespace workspace {

class MethodGridDelegate : public CoreGridDelegate
{
    Q_OBJECT

public:
    MethodGridDelegate(AssessmentForm& core, QTableView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

    // The reference cell of the current row.
    bool showsButton(const QModelIndex& index) const override;

protected:
    void openList() override;
};

class MethodGridBinder : public CoreGridBinder
{
    Q_OBJECT

public:
    MethodGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model);

    // The reference cell of the current row receives the focus.
    void focusReference();

private:
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool handleKey(const QKeyEvent* key, const QString& field) override;
    int syncColumn() const override;
    void onClicked(const QModelIndex& index);
};

}  // namespace workspace
