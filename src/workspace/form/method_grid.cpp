#include "method_grid.h"

#include "core_grid.h"

#include "hostfw/action.h"
#include "workspace/assessment_form.h"
#include "workspace/method_page.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>

namespace workspace {
namespace {

const QString kSelection = QStringLiteral("IDTABELAAV");
const QString kReference = QStringLiteral("CDTABELACO");

}  // namespace

// ---------------------------------------------------------------- delegate

MethodGridDelegate::MethodGridDelegate(AssessmentForm& core, QTableView* view)
    : CoreGridDelegate(core, view)
{
}

bool MethodGridDelegate::showsButton(const QModelIndex& index) const
{
    return fieldOf(index) == kReference && index.row() == m_view->currentIndex().row()
           && !m_core.deceased() && m_core.methodPage().referenceButtonVisible(index.row());
}

void MethodGridDelegate::openList()
{
    hostfw::RunAction([this] { m_core.methodPage().dbgMetoAvalEditButtonClick(); });
}

void MethodGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    if (fieldOf(index) != kSelection) {
        CoreGridDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.text.clear();
    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    QStyleOptionButton box;
    const int size = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget);
    box.rect =
        QRect(option.rect.center().x() - size / 2, option.rect.center().y() - size / 2, size, size);
    box.state =
        QStyle::State_Enabled
        | (index.data(Qt::EditRole).toString() == u"S" ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, widget);
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
    hostfw::RunAction([&] { m_core.methodPage().typeMethodReference(text); });
}

// ---------------------------------------------------------------- binder

MethodGridBinder::MethodGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model)
    : CoreGridBinder(core, view, model, core.cdsMetoAval, new MethodGridDelegate(core, view))
{
    connect(view, &QAbstractItemView::clicked, this, &MethodGridBinder::onClicked);
}

void MethodGridBinder::onCurrentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (!current.isValid())
        return;
    const int column = previous.isValid() ? previous.column() : current.column();
    if (current.row() != m_core.cdsMetoAval.recNo()
        && !hostfw::RunAction([&] { m_core.methodPage().moveMethodRow(current.row()); })) {
        revertTo(column);
        return;
    }
    const QString field = m_model->fieldAt(current.column());
    if (field != m_core.methodPage().dbgMetoAvalColumn
        && !hostfw::RunAction([&] { m_core.methodPage().setMethodColumn(field); })) {
        revertTo(m_model->columnOf(m_core.methodPage().dbgMetoAvalColumn));
        return;
    }
    m_view->viewport()->update();
}

void MethodGridBinder::onClicked(const QModelIndex& index)
{
    if (m_model->fieldAt(index.column()) != kSelection || index.row() != m_core.cdsMetoAval.recNo())
        return;
    hostfw::RunAction([this] { m_core.methodPage().toggleMethod(); });
}

bool MethodGridBinder::handleKey(const QKeyEvent* key, const QString& field)
{
    if (key->key() == Qt::Key_Space && field == kSelection) {
        hostfw::RunAction([this] { m_core.methodPage().toggleMethod(); });
        return true;
    }
    if (opensList(key) && field == kReference) {
        hostfw::RunAction([this] { m_core.methodPage().dbgMetoAvalEditButtonClick(); });
        return true;
    }
    return false;
}

int MethodGridBinder::syncColumn() const
{
    return m_model->columnOf(m_core.methodPage().dbgMetoAvalColumn);
}

void MethodGridBinder::focusReference()
{
    followCursor(m_view, m_following, m_core.cdsMetoAval.recNo(), m_model->columnOf(kReference));
    m_view->setFocus();
}

}  // namespace workspace
