#include "core_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionViewItem>
#include <QTableView>

namespace workspace {

CoreGridModel::CoreGridModel(records::DataSet& dataSet, Editable editable, QObject* parent)
    : records::DataSetModel(dataSet, parent),
      m_editable(std::move(editable))
{
}

Qt::ItemFlags CoreGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = records::DataSetModel::flags(index) & ~Qt::ItemIsEditable;
    if (f != Qt::NoItemFlags && m_editable && m_editable(index.row(), fieldAt(index.column())))
        f |= Qt::ItemIsEditable;
    return f;
}

QTableView* makeGrid(QWidget* parent, const QString& name, records::DataSetModel* model)
{
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    return view;
}

QRect ellipsisRect(const QRect& cell)
{
    const int width = qMin(20, cell.width() / 2);
    return QRect(cell.right() - width + 1, cell.top() + 1, width - 1, cell.height() - 2);
}

void paintEllipsis(QPainter* painter, const QStyleOptionViewItem& option, const QWidget* widget)
{
    QStyleOptionButton button;
    button.rect = ellipsisRect(option.rect);
    button.text = QStringLiteral("…");
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
}

void followCursor(QTableView* view, bool& following, int row, int column)
{
    QAbstractItemModel* model = view->model();
    if (!model || row < 0 || row >= model->rowCount())
        return;
    const QModelIndex current = view->currentIndex();
    const int col = column >= 0 ? column : (current.isValid() ? current.column() : 0);
    const QModelIndex target = model->index(row, qBound(0, col, model->columnCount() - 1));
    if (target == current)
        return;
    following = true;
    view->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    following = false;
}

}  // namespace workspace
