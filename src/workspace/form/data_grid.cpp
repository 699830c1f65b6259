#include "data_grid.h"

#include "core_grid.h"

#include "hostfw/action.h"
#include "workspace/assessment_form.h"
#include "workspace/data_key_filter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>
#include <QTimer>

namespace workspace {
namespace {

const QString kValue = QStringLiteral("DSINFOAVAL");
const QString kUnit = QStringLiteral("DSUNIDDADO");
const char* const kFieldProperty = "avalnutriField";

QString fieldOf(const QModelIndex& index)
{
    const auto* model = qobject_cast<const records::DataSetModel*>(index.model());
    return model ? model->fieldAt(index.column()) : QString();
}

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

bool typesText(const QKeyEvent* key)
{
    const bool command =
        key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return !command && !key->text().isEmpty() && key->text().at(0).isPrint();
}

bool opensList(const QKeyEvent* key)
{
    return key->key() == Qt::Key_F4 ||
           ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers().testFlag(Qt::ControlModifier));
}

}  // namespace

// ---------------------------------------------------------------- delegate

DataGridDelegate::DataGridDelegate(AssessmentForm& core, QTableView* view)
    : QStyledItemDelegate(view), m_core(core), m_view(view)
{
}

bool DataGridDelegate::showsButton(const QModelIndex& index) const
{
    return fieldOf(index) == kValue && index.row() == m_view->currentIndex().row() &&
           m_core.answerButtonVisible(index.row());
}

void DataGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (showsButton(index))
        paintEllipsis(painter, option, m_view);
}

QWidget* DataGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const
{
    auto* edit = new QLineEdit(parent);
    const QString field = fieldOf(index);
    edit->setObjectName(field == kUnit ? QStringLiteral("edtMembros") : QStringLiteral("edtValor"));
    edit->setProperty(kFieldProperty, field);
    edit->setMaxLength(field == kUnit ? 1 : 9);  // one digit: the number of limbs
    edit->installEventFilter(const_cast<DataGridDelegate*>(this));
    return edit;
}

bool DataGridDelegate::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        QChar typed;
        if (key->key() == Qt::Key_Backspace)
            typed = kBackspace;
        else if (!command && !key->text().isEmpty() && key->text().at(0).isPrint())
            typed = key->text().at(0);
        if (!typed.isNull()) {
            const QString field = edit->property(kFieldProperty).toString();
            std::optional<QChar> accepted;
            hostfw::RunAction([&] { accepted = m_core.dbgDadosAvalKeyPress(field, typed); });
            if (!accepted)
                return true;
            if (*accepted != typed) {
                edit->insert(QString(*accepted));
                return true;
            }
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

void DataGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                    const QModelIndex& index) const
{
    const QString text = static_cast<QLineEdit*>(editor)->text();
    const QString field = fieldOf(index);
    if (text == index.data(Qt::EditRole).toString())
        return;
    if (hostfw::RunAction([&] { m_core.setDataCell(field, text); }))
        hostfw::RunAction([&] { m_core.dbgDadosAvalColExit(field); });
}

bool DataGridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::MouseButtonPress && showsButton(index)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (ellipsisRect(option.rect).contains(mouse->position().toPoint())) {
            hostfw::RunAction([this] { m_core.dbgDadosAvalEditButtonClick(); });
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

// ---------------------------------------------------------------- binder

DataGridBinder::DataGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model)
    : QObject(view), m_core(core), m_view(view), m_model(model)
{
    view->setItemDelegate(new DataGridDelegate(core, view));
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    view->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (!m_following)
                    onCurrentChanged(current, previous);
            });
}

void DataGridBinder::onCurrentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (!current.isValid())
        return;
    const int column = previous.isValid() ? previous.column() : current.column();
    // Leaving the value column of a row being edited checks the number first.
    if (previous.isValid() && previous.row() == m_core.cdsDadosAval.recNo() &&
        previous.column() != current.column() &&
        !hostfw::RunAction([&] { m_core.dbgDadosAvalColExit(m_model->fieldAt(previous.column())); })) {
        revertTo(column);
        return;
    }
    if (current.row() != m_core.cdsDadosAval.recNo() &&
        !hostfw::RunAction([&] { m_core.moveDataRow(current.row()); })) {
        revertTo(column);
        return;
    }
    m_view->viewport()->update();
}

void DataGridBinder::revertTo(int column)
{
    QTimer::singleShot(0, this, [this, column] {
        followCursor(m_view, m_following, m_core.cdsDadosAval.recNo(), column);
        m_view->viewport()->update();
    });
}

bool DataGridBinder::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete && key->modifiers().testFlag(Qt::ControlModifier))
        return true;
    if (m_core.deceased() && m_core.loaded())
        return !isNavigation(key);
    if (opensList(key) && m_model->fieldAt(m_view->currentIndex().column()) == kValue) {
        hostfw::RunAction([this] { m_core.dbgDadosAvalEditButtonClick(); });
        return true;
    }
    // Typing in a cell that takes no typing does nothing (no search by first letter).
    if (typesText(key) && !(m_model->flags(m_view->currentIndex()) & Qt::ItemIsEditable))
        return true;
    return QObject::eventFilter(watched, event);
}

void DataGridBinder::sync()
{
    // While the grid's dataset goes through its rows the views are not told; they
    // follow once it is done.
    if (m_core.cdsDadosAval.controlsDisabled())
        return;
    followCursor(m_view, m_following, m_core.cdsDadosAval.recNo());
    m_view->viewport()->update();
}

}  // namespace workspace
