#pragma once

// What the two grids of the assessment pages do alike: a delegate whose cell of the
// current row may show a list button, and a binder that keeps the grid on the core's
// cursor, lets the core refuse a move, and takes the keys every grid takes the same way.

#include <QObject>
#include <QStyledItemDelegate>

class QKeyEvent;
class QTableView;

namespace records {
class DataSet;
}

namespace workspace {

class AssessmentForm;
class CoreGridModel;

// The field of a cell of a dataset model ("" for another model).
QString fieldOf(const QModelIndex& index);
// A key that types a printable character (without Ctrl, Alt or Meta).
bool typesText(const QKeyEvent* key);
// F4 or Ctrl+Enter: opens the list of the current cell.
bool opensList(const QKeyEvent* key);

class CoreGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // Whether the cell shows its list button now (current row only).
    virtual bool showsButton(const QModelIndex& index) const = 0;

protected:
    CoreGridDelegate(AssessmentForm& core, QTableView* view);

    // A click on the list button.
    virtual void openList() = 0;

    AssessmentForm& m_core;
    QTableView* m_view;
};

class CoreGridBinder : public QObject
{
    Q_OBJECT

public:
    // Puts the grid's current cell where the core's cursor is.
    void sync();

protected:
    // Binds view (showing rows through model) with delegate, which the view takes.
    CoreGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model,
                   records::DataSet& rows, QStyledItemDelegate* delegate);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // The user (not the binder) moved the grid's current cell.
    virtual void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous) = 0;
    // A key on the grid of a consultation that can be changed, in the current cell's
    // field; true when the grid handled it.
    virtual bool handleKey(const QKeyEvent* key, const QString& field) = 0;
    // The column sync puts the current cell on; -1 keeps the grid's.
    virtual int syncColumn() const { return -1; }

    // Puts the grid back on the core's row, at column, once the click or key that moved
    // it has been handled.
    void revertTo(int column);

    AssessmentForm& m_core;
    QTableView* m_view;
    CoreGridModel* m_model;
    records::DataSet& m_rows;
    bool m_following = false;
};

}  // namespace workspace
