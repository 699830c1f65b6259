#include "data_grid.h"

#include "core_grid.h"

#include "hostfw/action.h"
#include "workspace/assessment_form.h"
#include "workspace/data_key_filter.h"
#include "workspace/result_page.h"
#include "workspace/value_fields.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

namespace workspace {
namespace {

using value_fields::kUnit;
using value_fields::kValue;
const char* const kFieldProperty = "avalnutriField";

}  // namespace

// ---------------------------------------------------------------- delegate

DataGridDelegate::DataGridDelegate(AssessmentForm& core, QTableView* view)
    : CoreGridDelegate(core, view)
{
}

bool DataGridDelegate::showsButton(const QModelIndex& index) const
{
    return fieldOf(index) == kValue && index.row() == m_view->currentIndex().row()
           && m_core.resultPage().answerButtonVisible(index.row());
}

void DataGridDelegate::openList()
{
    hostfw::RunAction([this] { m_core.resultPage().dbgDadosAvalEditButtonClick(); });
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
        QChar typed;
        if (key->key() == Qt::Key_Backspace)
            typed = kBackspace;
        else if (typesText(key))
            typed = key->text().at(0);
        if (!typed.isNull()) {
            const QString field = edit->property(kFieldProperty).toString();
            std::optional<QChar> accepted;
            hostfw::RunAction(
                [&] { accepted = m_core.resultPage().dbgDadosAvalKeyPress(field, typed); });
            if (!accepted)
                return true;
            if (*accepted != typed) {
                edit->insert(QString(*accepted));
                return true;
            }
        }
    }
    return CoreGridDelegate::eventFilter(watched, event);
}

void DataGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                    const QModelIndex& index) const
{
    const QString text = static_cast<QLineEdit*>(editor)->text();
    const QString field = fieldOf(index);
    if (text == index.data(Qt::EditRole).toString())
        return;
    if (hostfw::RunAction([&] { m_core.resultPage().setDataCell(field, text); }))
        hostfw::RunAction([&] { m_core.resultPage().dbgDadosAvalColExit(field); });
}

// ---------------------------------------------------------------- binder

DataGridBinder::DataGridBinder(AssessmentForm& core, QTableView* view, CoreGridModel* model)
    : CoreGridBinder(core, view, model, core.cdsDadosAval, new DataGridDelegate(core, view))
{
}

void DataGridBinder::onCurrentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (!current.isValid())
        return;
    const int column = previous.isValid() ? previous.column() : current.column();
    // Leaving the value column of a row being edited checks the number first.
    if (previous.isValid() && previous.row() == m_core.cdsDadosAval.recNo()
        && previous.column() != current.column() && !hostfw::RunAction([&] {
               m_core.resultPage().dbgDadosAvalColExit(m_model->fieldAt(previous.column()));
           })) {
        revertTo(column);
        return;
    }
    if (current.row() != m_core.cdsDadosAval.recNo()
        && !hostfw::RunAction([&] { m_core.resultPage().moveDataRow(current.row()); })) {
        revertTo(column);
        return;
    }
    m_view->viewport()->update();
}

bool DataGridBinder::handleKey(const QKeyEvent* key, const QString& field)
{
    if (opensList(key) && field == kValue) {
        hostfw::RunAction([this] { m_core.resultPage().dbgDadosAvalEditButtonClick(); });
        return true;
    }
    return false;
}

}  // namespace workspace
