#include "grid_binder.h"

#include "core_grid.h"

#include "hostfw/action.h"
#include "workspace/assessment_form.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>
#include <QTimer>

namespace workspace {
namespace {

bool isNavigation(const QKeyEvent* key)
{
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Shift:
        return true;
    default:
        return false;
    }
}

}  // namespace

QString fieldOf(const QModelIndex& index)
{
    const auto* model = qobject_cast<const records::DataSetModel*>(index.model());
    return model ? model->fieldAt(index.column()) : QString();
}

bool typesText(const QKeyEvent* key)
{
    const bool command =
        key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return !command && !key->text().isEmpty() && key->text().at(0).isPrint();
}

bool opensList(const QKeyEvent* key)
{
    return key->key() == Qt::Key_F4
           || ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
               && key->modifiers().testFlag(Qt::ControlModifier));
}

// ---------------------------------------------------------------- delegate

CoreGridDelegate::CoreGridDelegate(AssessmentForm& core, QTableView* view)
    : QStyledItemDelegate(view),
      m_core(core),
      m_view(view)
{
}

void CoreGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (showsButton(index))
        paintEllipsis(painter, option, m_view);
}

bool CoreGridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::MouseButtonPress && showsButton(index)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (ellipsisRect(option.rect).contains(mouse->position().toPoint())) {
            openList();
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

// ---------------------------------------------------------------- binder

CoreGridBinder::CoreGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model,
                               records::DataSet& rows, QStyledItemDelegate* delegate)
    : QObject(view),
      m_core(core),
      m_view(view),
      m_model(model),
      m_rows(rows)
{
    view->setItemDelegate(delegate);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed);
    view->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (!m_following)
                    onCurrentChanged(current, previous);
            });
}

void CoreGridBinder::revertTo(int column)
{
    QTimer::singleShot(0, this, [this, column] {
        followCursor(m_view, m_following, m_rows.recNo(), column);
        m_view->viewport()->update();
    });
}

bool CoreGridBinder::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete && key->modifiers().testFlag(Qt::ControlModifier))
        return true;
    if (m_core.deceased() && m_core.loaded())
        return !isNavigation(key);
    if (handleKey(key, m_model->fieldAt(m_view->currentIndex().column())))
        return true;
    // Typing in a cell that takes no typing does nothing (no search by first letter).
    if (typesText(key) && !(m_model->flags(m_view->currentIndex()) & Qt::ItemIsEditable))
        return true;
    return QObject::eventFilter(watched, event);
}

void CoreGridBinder::sync()
{
    // While the grid's dataset goes through its rows the views are not told; they
    // follow once it is done.
    if (m_rows.controlsDisabled())
        return;
    followCursor(m_view, m_following, m_rows.recNo(), syncColumn());
    m_view->viewport()->update();
}

}  // namespace workspace
