#pragma once

// Pieces the grids of the form share: a dataset model whose cells are
// editable when the form's core says so, and the ellipsis button drawn in a cell.

#include "records/dataset_model.h"

#include <QRect>

#include <functional>

class QPainter;
class QStyleOptionViewItem;
class QTableView;
class QWidget;

namespace workspace {

class CoreGridModel : public records::DataSetModel
{
    Q_OBJECT

public:
    using Editable = std::function<bool(int row, const QString& field)>;

    CoreGridModel(records::DataSet& dataSet, Editable editable, QObject* parent = nullptr);
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    Editable m_editable;
};

// A grid of the form over model: no row numbers, one row selected, the last column
// stretched.
QTableView* makeGrid(QWidget* parent, const QString& name, records::DataSetModel* model);

// The button at the right end of a cell that opens its list.
QRect ellipsisRect(const QRect& cell);
void paintEllipsis(QPainter* painter, const QStyleOptionViewItem& option, const QWidget* widget);

// Puts the view's current cell on the dataset's current row, keeping the column (or on
// the given column); `following` is true meanwhile, so the binder can tell its own
// moves from the user's.
void followCursor(QTableView* view, bool& following, int row, int column = -1);

}  // namespace workspace
