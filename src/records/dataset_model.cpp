#include "dataset_model.h"

#include "error.h"

namespace records {

DataSetModel::DataSetModel(DataSet& dataSet, QObject* parent)
    : QAbstractTableModel(parent),
      m_dataSet(&dataSet)
{
    refreshColumns();
    m_listener = dataSet.addListener([this](DataSetEvent e, int row) { onEvent(e, row); });
}

DataSetModel::~DataSetModel()
{
    if (m_dataSet)
        m_dataSet->removeListener(m_listener);
}

void DataSetModel::setColumns(const QStringList& fields)
{
    if (m_dataSet) {
        for (const QString& f : fields)
            m_dataSet->field(f);  // throws for an unknown name
    }
    beginResetModel();
    m_requested = fields;
    refreshColumns();
    endResetModel();
}

void DataSetModel::refreshColumns()
{
    m_columns.clear();
    if (!m_dataSet)
        return;
    const FieldList& fields = m_dataSet->fields();
    if (!m_requested.isEmpty()) {
        for (const QString& f : m_requested) {
            const int col = m_dataSet->fieldIndex(f);
            if (col >= 0)
                m_columns.append(col);
        }
        return;
    }
    for (int i = 0; i < fields.size(); ++i) {
        if (!fields[i].hidden)
            m_columns.append(i);
    }
}

QString DataSetModel::fieldAt(int column) const
{
    if (!m_dataSet || column < 0 || column >= m_columns.size())
        return {};
    return m_dataSet->fields()[m_columns[column]].name;
}

int DataSetModel::columnOf(const QString& field) const
{
    if (!m_dataSet)
        return -1;
    return m_columns.indexOf(m_dataSet->fieldIndex(field));
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_dataSet ? 0 : m_dataSet->recordCount();
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

bool DataSetModel::isCell(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && !index.parent().isValid()
           && index.row() < rowCount() && index.column() < columnCount();
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!m_dataSet || !isCell(index))
        return {};
    const QString field = fieldAt(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return m_dataSet->displayTextAt(index.row(), field);
    case Qt::EditRole:
        return m_dataSet->asStringAt(index.row(), field);
    case ValueRole:
        return m_dataSet->valueAt(index.row(), field);
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (!m_dataSet || section < 0 || section >= m_columns.size())
        return {};
    return m_dataSet->fields()[m_columns[section]].displayLabel();
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    if (!m_dataSet || !isCell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    const FieldDef& def = m_dataSet->fields()[m_columns[index.column()]];
    if (!def.readOnly && !def.calculated)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !m_dataSet || !isCell(index)
        || !(flags(index) & Qt::ItemIsEditable))
        return false;
    DataSet& ds = *m_dataSet;
    const QString field = fieldAt(index.column());
    QString failure;
    try {
        if (!ds.moveTo(index.row()))
            return false;
        ds.edit();
        ds.setValue(field, value);
        ds.post();
        return true;
    } catch (const Error& e) {
        failure = e.message();
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    // A refused value or a failed post leaves the dataset browsing.
    try {
        if (m_dataSet && ds.isEditing())
            ds.cancel();
    } catch (const std::exception&) {
        // the first error is the one the user needs to see
    }
    emit errorOccurred(failure);
    return false;
}

void DataSetModel::onEvent(DataSetEvent event, int row)
{
    switch (event) {
    case DataSetEvent::Destroyed:
        beginResetModel();
        m_dataSet = nullptr;
        m_columns.clear();
        endResetModel();
        return;
    case DataSetEvent::RowChanged:
        if (row >= 0 && row < rowCount() && !m_columns.isEmpty())
            emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
        return;
    case DataSetEvent::Reset:
        beginResetModel();
        refreshColumns();
        endResetModel();
        return;
    }
}

}  // namespace records
