#pragma once

// The data grid dbgDadosAval bound to the form's core: the key filter of its cells,
// the button of the coded answers, and the checks made when the user leaves the value
// column or the row.

#include <QObject>
#include <QStyledItemDelegate>

class QTableView;

namespace workspace {

class AssessmentForm;
class CoreGridModel;

class DataGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    DataGridDelegate(AssessmentForm& core, QTableView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    bool showsButton(const QModelIndex& index) const;

protected:
    // The key filter of the cell editors.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AssessmentForm& m_core;
    QTableView* m_view;
};

class DataGridBinder : public QObject
{
    Q_OBJECT

public:
    DataGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model);

    void sync();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void revertTo(int column);

    AssessmentForm& m_core;
    QTableView* m_view;
    CoreGridModel* m_model;
    bool m_following = false;
};

}  // namespace workspace
