#pragma once

// The method grid dbgMetoAval bound to the form's core: the selection column drawn as a
// check box and toggled by a click or the space bar, the reference column typed or
// chosen with its ellipsis button, and the keys a read-only consultation ignores.

#include <QObject>
#include <QStyledItemDelegate>

class QTableView;

namespace workspace {

class AssessmentForm;
class CoreGridModel;

class MethodGridDelegate : public QStyledItemDelegate
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
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // Whether the reference cell of the row shows its button now (current row only).
    bool showsButton(const QModelIndex& index) const;

private:
    AssessmentForm& m_core;
    QTableView* m_view;
};

class MethodGridBinder : public QObject
{
    Q_OBJECT

public:
    MethodGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model);

    // Puts the grid's current cell where the core's cursor is.
    void sync();
    // The reference cell of the current row receives the focus.
    void focusReference();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void onClicked(const QModelIndex& index);
    void revertTo(int column);

    AssessmentForm& m_core;
    QTableView* m_view;
    CoreGridModel* m_model;
    bool m_following = false;
};

}  // namespace workspace
