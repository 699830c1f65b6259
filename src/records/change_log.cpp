#include "change_log.h"

namespace records {

int ChangeLog::find(RowId id) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].id == id)
            return i;
    }
    return -1;
}

bool ChangeLog::sameData(const QVariantList& a, const QVariantList& b) const
{
    if (a.size() != b.size())
        return false;
    for (int c = 0; c < a.size(); ++c) {
        if (a[c] != b[c] && !m_ignored.contains(c))
            return false;
    }
    return true;
}

void ChangeLog::rowInserted(RowId id)
{
    m_entries.append({id, DeltaChange::Kind::Insert, {}});
}

void ChangeLog::rowEdited(RowId id, const QVariantList& original, const QVariantList& newValues)
{
    const int i = find(id);
    if (i < 0) {
        if (!sameData(original, newValues))
            m_entries.append({id, DeltaChange::Kind::Update, original});
        return;
    }
    // An update edited back to the original values is no change any more.
    if (m_entries[i].kind == DeltaChange::Kind::Update
        && sameData(m_entries[i].original, newValues))
        m_entries.removeAt(i);
}

void ChangeLog::rowDeleted(RowId id, const QVariantList& original)
{
    const int i = find(id);
    if (i < 0) {
        m_entries.append({id, DeltaChange::Kind::Delete, original});
        return;
    }
    if (m_entries[i].kind == DeltaChange::Kind::Insert) {
        m_entries.removeAt(i);
        return;
    }
    m_entries[i].kind = DeltaChange::Kind::Delete;  // keeps the original values
}

Delta ChangeLog::delta(const FieldList& fields, const QStringList& keyFields,
                       const std::function<QVariantList(RowId)>& currentValues) const
{
    Delta d;
    d.fields = fields;
    d.keyFields = keyFields;
    for (const Entry& e : m_entries) {
        DeltaChange c;
        c.kind = e.kind;
        if (e.kind != DeltaChange::Kind::Insert)
            c.oldValues = e.original;
        if (e.kind != DeltaChange::Kind::Delete)
            c.newValues = currentValues(e.id);
        d.changes.append(c);
    }
    return d;
}

}  // namespace records
