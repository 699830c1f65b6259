#pragma once

#include "dataset.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace records {

// A table model over a dataset, for a grid: one row per visible row of the dataset
// (filter and index applied), one column per field shown (the fields not hidden, in
// field order, unless setColumns names them), headed by the field labels. Cells show
// the fields' display texts; editing a cell moves the dataset to the row, edits, sets
// the value and posts (so write-through runs); a refused value or a failed post is
// reported through errorOccurred and leaves the dataset browsing.
// The dataset must outlive the model or tell it when it goes (it does on destruction).
class DataSetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The raw value of a cell (QVariant, null when the field is null).
    static constexpr int ValueRole = Qt::UserRole + 1;

    explicit DataSetModel(DataSet& dataSet, QObject* parent = nullptr);
    ~DataSetModel() override;

    DataSet* dataSet() const { return m_dataSet; }
    // The fields shown, in this order; an empty list shows every field not hidden.
    void setColumns(const QStringList& fields);
    QString fieldAt(int column) const;
    int columnOf(const QString& field) const;  // -1 when not shown

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void errorOccurred(const QString& message);

private:
    void onEvent(DataSetEvent event, int row);
    void refreshColumns();
    bool isCell(const QModelIndex& index) const;

    DataSet* m_dataSet;
    int m_listener = 0;
    QStringList m_requested;
    QList<int> m_columns;  // field indices
};

}  // namespace records
