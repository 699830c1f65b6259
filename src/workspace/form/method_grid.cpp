#include "method_grid.h"

#include "core_grid.h"

#include "hostfw/action.h"
#include "workspace/assessment_form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTimer>

namespace workspace {
namespace {

const QString kSelection = QStringLiteral("IDTABELAAV");
const QString kReference = QStringLiteral("CDTABELACO");

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

MethodGridDelegate::MethodGridDelegate(AssessmentForm& core, QTableView* view)
    : QStyledItemDelegate(view), m_core(core), m_view(view)
{
}

bool MethodGridDelegate::showsButton(const QModelIndex& index) const
{
    return fieldOf(index) == kReference && index.row() == m_view->currentIndex().row() &&
           !m_core.deceased() && m_core.referenceButtonVisible(index.row());
}

void MethodGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    if (fieldOf(index) == kSelection) {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        cell.text.clear();
        const QWidget* widget = cell.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        QStyleOptionButton box;
        const int size = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget);
        box.rect = QRect(option.rect.center().x() - size / 2, option.rect.center().y() - size / 2,
                         size, size);
        box.state = QStyle::State_Enabled |
                    (index.data(Qt::EditRole).toString() == u"S" ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, widget);
        return;
    }
    QStyledItemDelegate::paint(painter, option, index);
    if (showsButton(index))
        paintEllipsis(painter, option, m_view);
}

QWidget* MethodGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex&) const
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("edtReferencia"));
    edit->setMaxLength(2);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,2}")), edit));
    return edit;
}

void MethodGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                      const QModelIndex& index) const
{
    const QString text = static_cast<QLineEdit*>(editor)->text();
    if (text == index.data(Qt::EditRole).toString())
        return;
    hostfw::RunAction([&] { m_core.typeMethodReference(text); });
}

bool MethodGridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                     const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::MouseButtonPress && showsButton(index)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (ellipsisRect(option.rect).contains(mouse->position().toPoint())) {
            hostfw::RunAction([this] { m_core.dbgMetoAvalEditButtonClick(); });
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

// ---------------------------------------------------------------- binder

MethodGridBinder::MethodGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model)
    : QObject(view), m_core(core), m_view(view), m_model(model)
{
    view->setItemDelegate(new MethodGridDelegate(core, view));
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    view->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (!m_following)
                    onCurrentChanged(current, previous);
            });
    connect(view, &QAbstractItemView::clicked, this, &MethodGridBinder::onClicked);
}

void MethodGridBinder::onCurrentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (!current.isValid())
        return;
    const int column = previous.isValid() ? previous.column() : current.column();
    if (current.row() != m_core.cdsMetoAval.recNo() &&
        !hostfw::RunAction([&] { m_core.moveMethodRow(current.row()); })) {
        revertTo(column);
        return;
    }
    const QString field = m_model->fieldAt(current.column());
    if (field != m_core.dbgMetoAvalColumn &&
        !hostfw::RunAction([&] { m_core.setMethodColumn(field); })) {
        revertTo(m_model->columnOf(m_core.dbgMetoAvalColumn));
        return;
    }
    m_view->viewport()->update();
}

void MethodGridBinder::revertTo(int column)
{
    // After the click or key that moved the grid has been handled.
    QTimer::singleShot(0, this, [this, column] {
        followCursor(m_view, m_following, m_core.cdsMetoAval.recNo(), column);
        m_view->viewport()->update();
    });
}

void MethodGridBinder::onClicked(const QModelIndex& index)
{
    if (m_model->fieldAt(index.column()) != kSelection || index.row() != m_core.cdsMetoAval.recNo())
        return;
    hostfw::RunAction([this] { m_core.toggleMethod(); });
}

bool MethodGridBinder::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete && key->modifiers().testFlag(Qt::ControlModifier))
        return true;
    if (m_core.deceased() && m_core.loaded())
        return !isNavigation(key);
    const QString field = m_model->fieldAt(m_view->currentIndex().column());
    if (key->key() == Qt::Key_Space && field == kSelection) {
        hostfw::RunAction([this] { m_core.toggleMethod(); });
        return true;
    }
    if (opensList(key) && field == kReference) {
        hostfw::RunAction([this] { m_core.dbgMetoAvalEditButtonClick(); });
        return true;
    }
    // Typing in a cell that takes no typing does nothing (no search by first letter).
    if (typesText(key) && !(m_model->flags(m_view->currentIndex()) & Qt::ItemIsEditable))
        return true;
    return QObject::eventFilter(watched, event);
}

void MethodGridBinder::sync()
{
    // While the grid's dataset goes through its rows the views are not told; they
    // follow once it is done.
    if (m_core.cdsMetoAval.controlsDisabled())
        return;
    followCursor(m_view, m_following, m_core.cdsMetoAval.recNo(),
                 m_model->columnOf(m_core.dbgMetoAvalColumn));
    m_view->viewport()->update();
}

void MethodGridBinder::focusReference()
{
    followCursor(m_view, m_following, m_core.cdsMetoAval.recNo(), m_model->columnOf(kReference));
    m_view->setFocus();
}

}  // namespace workspace
