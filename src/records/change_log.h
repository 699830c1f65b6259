#pragma once

#include "delta.h"

#include <QList>
#include <QVariantList>

#include <functional>

namespace records {

// The changes a dataset has made since its rows were last loaded or merged, one entry
// per row touched, in the order the rows were first touched. Repeated edits of a row
// stay one update holding the row's original values; an inserted row stays an insert
// however often it is edited; deleting an inserted row leaves no trace; deleting an
// edited row turns its update into a delete of the original values. Calculated fields
// are no data: changing only them changes nothing.
class ChangeLog
{
public:
    using RowId = quint64;

    // Columns whose values are computed on the client (calculated fields): a difference
    // in them alone is no change.
    void setIgnoredColumns(const QList<int>& columns) { m_ignored = columns; }

    void rowInserted(RowId id);
    // original: the row's values before this edit; newValues: after it.
    void rowEdited(RowId id, const QVariantList& original, const QVariantList& newValues);
    // original: the row's values when it was deleted.
    void rowDeleted(RowId id, const QVariantList& original);

    int count() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    void clear() { m_entries.clear(); }

    // The log as a delta; currentValues gives the present values of a live row.
    Delta delta(const FieldList& fields, const QStringList& keyFields,
                const std::function<QVariantList(RowId)>& currentValues) const;

private:
    struct Entry
    {
        RowId id;
        DeltaChange::Kind kind;
        QVariantList original;  // updates and deletes
    };
    int find(RowId id) const;
    bool sameData(const QVariantList& a, const QVariantList& b) const;

    QList<Entry> m_entries;
    QList<int> m_ignored;
};

}  // namespace records
