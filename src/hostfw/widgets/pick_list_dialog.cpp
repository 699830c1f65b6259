#include "hostfw/widgets/pick_list_dialog.h"

#include "records/dataset.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace hostfw {

namespace {

constexpr int KeyRole = Qt::UserRole + 1;

// The field that carries the marks of the host's own multiple-choice lists; this
// dialog keeps its marks in check boxes instead.
const QString MarkField = QStringLiteral("IDMARCADO");

PickListDialog::Choice& nextChoice()
{
    static PickListDialog::Choice choice;
    return choice;
}

// Text compared without regard to letter case or accents.
QString searchKey(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            out.append(c);
    }
    return out.toCaseFolded();
}

QWidget* dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

}  // namespace

PickListDialog::PickListDialog(const records::DataSet& dataSet, const PickRequest& request,
                               bool multiple, QWidget* parent)
    : QDialog(parent),
      m_multiple(multiple),
      m_search(new QLineEdit(this)),
      m_table(new QTableView(this)),
      m_model(new QStandardItemModel(this))
{
    setObjectName(QStringLiteral("frmPesquisa"));
    setWindowTitle(request.caption);
    setModal(true);
    m_search->setObjectName(QStringLiteral("edtPesquisa"));
    m_table->setObjectName(QStringLiteral("grdPesquisa"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setSectionsClickable(true);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Confirmar"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Pesquisar:"), this));
    layout->addWidget(m_search);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(560, 420);

    fill(dataSet, request);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_search, &QLineEdit::textEdited, this, &PickListDialog::search);
    connect(m_search, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &PickListDialog::setSearchColumn);
    connect(m_table, &QTableView::doubleClicked, this, [this] {
        if (m_multiple)
            toggleCurrent();
        else
            accept();
    });
    m_search->installEventFilter(this);
    m_search->setFocus();
}

bool PickListDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Up, down and page keys in the search box move through the list.
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QApplication::sendEvent(m_table, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PickListDialog::fill(const records::DataSet& dataSet, const PickRequest& request)
{
    QList<QString> columns;
    QStringList labels;
    for (const records::FieldDef& field : dataSet.fields()) {
        if (field.hidden || field.name.compare(MarkField, Qt::CaseInsensitive) == 0)
            continue;
        columns.append(field.name);
        labels.append(field.displayLabel());
    }
    m_model->setColumnCount(int(columns.size()));
    m_model->setHorizontalHeaderLabels(labels);
    for (int row = 0; row < dataSet.recordCount(); ++row) {
        QList<QStandardItem*> items;
        for (const QString& name : columns)
            items.append(new QStandardItem(dataSet.displayTextAt(row, name)));
        if (items.isEmpty())
            items.append(new QStandardItem);
        if (m_multiple) {
            const QString key = dataSet.asStringAt(row, request.keyField);
            items.first()->setData(key, KeyRole);
            items.first()->setCheckable(true);
            items.first()->setCheckState(request.chosen.contains(key) ? Qt::Checked
                                                                      : Qt::Unchecked);
        }
        m_model->appendRow(items);
    }
    m_table->resizeColumnsToContents();
    const int current = m_multiple ? 0 : dataSet.recNo();
    setCurrentRow(current >= 0 ? current : 0);
}

int PickListDialog::run()
{
    Choice choice = std::exchange(nextChoice(), Choice());
    if (!choice)
        return exec();
    setResult(QDialog::Rejected);
    show();
    choice(*this);
    if (isVisible())
        reject();
    return result();
}

void PickListDialog::setNextChoice(Choice choice)
{
    nextChoice() = std::move(choice);
}

void PickListDialog::search(const QString& text)
{
    if (m_search->text() != text)
        m_search->setText(text);
    if (text.isEmpty())
        return;
    const QString wanted = searchKey(text);
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (searchKey(cellText(row, m_searchColumn)).startsWith(wanted)) {
            setCurrentRow(row);
            return;
        }
    }
}

void PickListDialog::setSearchColumn(int column)
{
    if (column < 0 || column >= m_model->columnCount())
        return;
    m_searchColumn = column;
    search(m_search->text());
}

bool PickListDialog::setCurrentRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return false;
    const QModelIndex index = m_model->index(row, 0);
    m_table->setCurrentIndex(index);
    m_table->selectRow(row);
    m_table->scrollTo(index);
    return true;
}

void PickListDialog::setChecked(int row, bool checked)
{
    if (QStandardItem* item = m_model->item(row, 0); item && item->isCheckable())
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void PickListDialog::toggleCurrent()
{
    const int row = currentRow();
    if (row >= 0)
        setChecked(row, !isChecked(row));
}

int PickListDialog::currentRow() const
{
    const QModelIndex index = m_table->currentIndex();
    return index.isValid() ? index.row() : -1;
}

int PickListDialog::rowCount() const
{
    return m_model->rowCount();
}

bool PickListDialog::isChecked(int row) const
{
    const QStandardItem* item = m_model->item(row, 0);
    return item && item->isCheckable() && item->checkState() == Qt::Checked;
}

QStringList PickListDialog::checkedCodes() const
{
    QStringList codes;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (isChecked(row))
            codes.append(m_model->item(row, 0)->data(KeyRole).toString());
    }
    return codes;
}

QString PickListDialog::cellText(int row, int column) const
{
    const QStandardItem* item = m_model->item(row, column);
    return item ? item->text() : QString();
}

std::optional<int> DialogPickListChooser::chooseOne(const records::DataSet& dataSet,
                                                    const PickRequest& request)
{
    PickListDialog dialog(dataSet, request, false, dialogParent());
    if (dialog.run() != QDialog::Accepted || dialog.currentRow() < 0)
        return std::nullopt;
    return dialog.currentRow();
}

std::optional<QStringList> DialogPickListChooser::chooseMany(const records::DataSet& dataSet,
                                                             const PickRequest& request)
{
    PickListDialog dialog(dataSet, request, true, dialogParent());
    if (dialog.run() != QDialog::Accepted)
        return std::nullopt;
    return dialog.checkedCodes();
}

}  // namespace hostfw
