#include "delta_writer.h"

#include "sql_values.h"

#include "../api/api_error.h"

#include <optional>

namespace server::model {
namespace {

using api::ApiError;
using records::DeltaChange;
using records::FieldDef;

const FieldDef& fieldOf(const records::DataSetLayout& layout, const QString& name)
{
    return layout.fields[records::indexOfField(layout.fields, name)];
}

QString shown(const QVariant& v)
{
    if (isNull(v))
        return QStringLiteral("nulo");
    if (v.typeId() == QMetaType::QDateTime)
        return QLatin1Char('\'') + dateKey(v.toDateTime()) + QLatin1Char('\'');
    return QLatin1Char('\'') + v.toString() + QLatin1Char('\'');
}

// A stored row as the database gave it (for the conditional write) and as field values
// (for the comparison), by column.
struct StoredRow
{
    RowValues raw;
    RowValues values;
};

class Applier
{
public:
    Applier(storage::Transaction& tx, const TableBinding& b, const records::Delta& delta)
        : m_tx(tx),
          m_b(b),
          m_layout(*b.layout),
          m_delta(delta)
    {
    }

    DeltaOutcome run()
    {
        mapFields();
        checkOneConsultation();
        for (int n = 0; n < m_delta.changes.size(); ++n) {
            m_change = n + 1;
            const DeltaChange& c = m_delta.changes[n];
            switch (c.kind) {
            case DeltaChange::Kind::Insert:
                insert(values(c.newValues));
                break;
            case DeltaChange::Kind::Update:
                update(values(c.oldValues), values(c.newValues));
                break;
            case DeltaChange::Kind::Delete:
                remove(values(c.oldValues));
                break;
            }
        }
        return m_outcome;
    }

private:
    [[noreturn]] void fail(const QString& problem) const
    {
        if (m_change > 0)
            throw ApiError::badRequest(
                QStringLiteral("%1, alteração %2: %3").arg(m_b.method).arg(m_change).arg(problem));
        throw ApiError::badRequest(QStringLiteral("%1: %2").arg(m_b.method, problem));
    }

    void mapFields()
    {
        for (const FieldDef& f : m_delta.fields) {
            const int i = records::indexOfField(m_layout.fields, f.name);
            if (i < 0)
                fail(QStringLiteral(
                         "o delta traz o campo desconhecido '%1' (%2 não tem esse campo).")
                         .arg(f.name, m_layout.name));
            const FieldDef& known = m_layout.fields[i];
            if (m_names.contains(known.name))
                fail(QStringLiteral("o delta traz o campo '%1' duas vezes.").arg(known.name));
            if (known.type != f.type)
                fail(QStringLiteral("o campo '%1' deve ser do tipo %2, não %3.")
                         .arg(known.name, records::fieldTypeName(known.type),
                              records::fieldTypeName(f.type)));
            m_names.append(known.name);
        }
        for (const QString& key : m_layout.keyFields) {
            if (!m_names.contains(key))
                fail(QStringLiteral("o delta não traz o campo-chave '%1'.").arg(key));
        }
        for (const QString& name : m_names) {
            if (m_b.columns.contains(name) && !m_layout.keyFields.contains(name))
                m_compared.append(name);
        }
    }

    // The rows of a consultation table (keyed by branch, patient and date) all belong to
    // the consultation of the first row.
    void checkOneConsultation()
    {
        static const QStringList kConsultation = {
            QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"), QStringLiteral("DTCONSPACI")};
        for (const QString& key : kConsultation) {
            if (!m_layout.keyFields.contains(key))
                return;
        }
        auto consultationOf = [this](const RowValues& row) {
            QVariantList out;
            for (const QString& key : kConsultation)
                out.append(toSql(fieldOf(m_layout, key), row.value(key)));
            return out;
        };
        auto describe = [](const RowValues& row) {
            return QStringLiteral("%1/%2/%3")
                .arg(shown(row.value(kConsultation[0])), shown(row.value(kConsultation[1])),
                     shown(row.value(kConsultation[2])));
        };
        std::optional<RowValues> first;
        for (const DeltaChange& c : m_delta.changes) {
            for (const QVariantList* row : {&c.oldValues, &c.newValues}) {
                if (row->isEmpty())
                    continue;
                const RowValues values = this->values(*row);
                if (!first) {
                    first = values;
                } else if (consultationOf(values) != consultationOf(*first)) {
                    fail(QStringLiteral("o delta traz registros de mais de uma consulta (%1 e "
                                        "%2); um delta pertence a uma só consulta.")
                             .arg(describe(*first), describe(values)));
                }
            }
        }
    }

    RowValues values(const QVariantList& row) const
    {
        RowValues out;
        for (int i = 0; i < m_names.size() && i < row.size(); ++i)
            out.insert(m_names[i], row[i]);
        return out;
    }

    void checkKey(const RowValues& row) const
    {
        for (const QString& key : m_layout.keyFields) {
            const QVariant v = row.value(key);
            if (isNull(v) || (v.typeId() == QMetaType::QString && v.toString().isEmpty()))
                fail(QStringLiteral("o campo-chave '%1' está vazio.").arg(key));
        }
    }

    void checkSizes(const RowValues& row) const
    {
        for (auto it = row.begin(); it != row.end(); ++it) {
            const FieldDef& f = fieldOf(m_layout, it.key());
            if (f.type == records::FieldType::String && f.size > 0 && !isNull(it.value())
                && it.value().toString().size() > f.size)
                fail(QStringLiteral("o valor do campo '%1' tem mais de %2 caracteres.")
                         .arg(f.name)
                         .arg(f.size));
        }
    }

    QString where(QVariantList& params, const RowValues& row) const
    {
        QStringList parts;
        for (const QString& key : m_layout.keyFields) {
            parts.append(key + QStringLiteral(" = ?"));
            params.append(toSql(fieldOf(m_layout, key), row.value(key)));
        }
        return parts.join(QStringLiteral(" AND "));
    }

    bool stored(const RowValues& row)
    {
        QVariantList params;
        const QString sql =
            QStringLiteral("SELECT 1 FROM %1 WHERE %2").arg(m_b.table, where(params, row));
        return m_tx.exists(sql, params);
    }

    // The stored row with the key of row: the compared columns only.
    std::optional<StoredRow> storedRow(const RowValues& row)
    {
        QVariantList params;
        const QString cond = where(params, row);
        const QString columns =
            m_compared.isEmpty() ? QStringLiteral("1") : m_compared.join(QStringLiteral(", "));
        const QList<storage::SqlRow> rows = m_tx.select(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(columns, m_b.table, cond), params);
        if (rows.isEmpty())
            return std::nullopt;
        StoredRow out;
        for (int i = 0; i < m_compared.size(); ++i) {
            const QString& name = m_compared[i];
            out.raw.insert(name, rows.first().value(i));
            out.values.insert(name, fromSql(fieldOf(m_layout, name), rows.first().value(i)));
        }
        return out;
    }

    bool sameValue(const FieldDef& f, const QVariant& a, const QVariant& b) const
    {
        if (isNull(a) || isNull(b))
            return isNull(a) && isNull(b);
        return toSql(f, a) == toSql(f, b);
    }

    // Whether the stored values (null for a row never stored) are the original ones.
    bool holdsOriginal(const RowValues& stored, const RowValues& original) const
    {
        for (const QString& name : m_compared) {
            const FieldDef& f = fieldOf(m_layout, name);
            const QVariant value = stored.value(name);
            if (sameValue(f, value, original.value(name)))
                continue;
            if (m_b.shownValue && sameValue(f, m_b.shownValue(name, value), original.value(name)))
                continue;
            return false;
        }
        return true;
    }

    // The key of row and the stored values just read: a write under it touches the row
    // only while no one else changed it.
    QString unchangedCondition(QVariantList& params, const RowValues& row,
                               const StoredRow& stored) const
    {
        QString cond = where(params, row);
        for (const QString& name : m_compared) {
            const QVariant value = stored.raw.value(name);
            if (isNull(value)) {
                cond += QStringLiteral(" AND %1 IS NULL").arg(name);
            } else {
                cond += QStringLiteral(" AND %1 = ?").arg(name);
                params.append(value);
            }
        }
        return cond;
    }

    [[noreturn]] void stale() const { throw ApiError::conflict(staleRowMessage()); }

    // Runs a check of the binding; its refusal is reported with the change's number.
    void hook(const std::function<void(storage::Transaction&, const RowValues&)>& check,
              const RowValues& row)
    {
        if (!check)
            return;
        try {
            check(m_tx, row);
        } catch (const ApiError& e) {
            fail(e.message());
        }
    }

    void check(const RowValues& row)
    {
        checkKey(row);
        checkSizes(row);
        hook(m_b.checkRow, row);
    }

    void insertRow(const RowValues& row)
    {
        QStringList columns;
        QVariantList params;
        for (const QString& name : m_names) {
            if (!m_b.columns.contains(name))
                continue;
            columns.append(name);
            params.append(toSql(fieldOf(m_layout, name), row.value(name)));
        }
        if (m_b.insertExtras) {
            for (const auto& [column, value] : m_b.insertExtras(m_tx, row)) {
                columns.append(column);
                params.append(value);
            }
        }
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks.append(QStringLiteral("?"));
        try {
            m_tx.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(m_b.table, columns.join(QStringLiteral(", ")),
                                  marks.join(QStringLiteral(", "))),
                         params);
        } catch (const storage::StorageError& e) {
            // The row was not there when looked for: another user's transaction stored it
            // since (on PostgreSQL writes run side by side).
            if (e.kind() == storage::StorageError::Kind::Duplicate)
                stale();
            throw;
        }
    }

    void insert(const RowValues& row)
    {
        check(row);
        if (stored(row))
            fail(QStringLiteral("o registro já existe (%1).").arg(describeKey(m_layout, row)));
        insertRow(row);
        ++m_outcome.inserted;
    }

    void update(const RowValues& oldRow, const RowValues& newRow)
    {
        checkKey(oldRow);
        for (const QString& key : m_layout.keyFields) {
            const FieldDef& f = fieldOf(m_layout, key);
            if (toSql(f, oldRow.value(key)) != toSql(f, newRow.value(key)))
                fail(QStringLiteral(
                         "a chave de um registro não pode ser alterada (%1 de %2 para %3).")
                         .arg(key, shown(oldRow.value(key)), shown(newRow.value(key))));
        }
        check(newRow);
        const std::optional<StoredRow> current = storedRow(oldRow);
        if (!current) {
            if (!m_b.offeredRows)
                fail(QStringLiteral("registro não encontrado para alteração (%1).")
                         .arg(describeKey(m_layout, oldRow)));
            // An offered row never stored: the client must have seen it as offered.
            if (!holdsOriginal({}, oldRow))
                stale();
            insertRow(newRow);
            ++m_outcome.inserted;
            return;
        }
        if (!holdsOriginal(current->values, oldRow))
            stale();
        QStringList sets;
        QVariantList params;
        for (const QString& name : m_names) {
            if (!m_b.columns.contains(name) || m_layout.keyFields.contains(name))
                continue;
            sets.append(name + QStringLiteral(" = ?"));
            params.append(toSql(fieldOf(m_layout, name), newRow.value(name)));
        }
        if (!sets.isEmpty()) {
            const QString cond = unchangedCondition(params, oldRow, *current);
            if (m_tx.execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                 .arg(m_b.table, sets.join(QStringLiteral(", ")), cond),
                             params)
                == 0)
                stale();
        }
        ++m_outcome.updated;
    }

    void remove(const RowValues& row)
    {
        checkKey(row);
        if (m_b.offeredRows) {
            hook(m_b.checkRow, row);
            ++m_outcome.hidden;
            return;
        }
        const std::optional<StoredRow> current = storedRow(row);
        if (!current)
            fail(QStringLiteral("registro não encontrado para exclusão (%1).")
                     .arg(describeKey(m_layout, row)));
        if (!holdsOriginal(current->values, row))
            stale();
        hook(m_b.checkDelete, row);
        QVariantList params;
        const QString cond = unchangedCondition(params, row, *current);
        if (m_tx.execute(QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_b.table, cond), params)
            == 0)
            stale();
        ++m_outcome.deleted;
    }

    storage::Transaction& m_tx;
    const TableBinding& m_b;
    const records::DataSetLayout& m_layout;
    const records::Delta& m_delta;
    QStringList m_names;     // layout names of the delta's fields, in the delta's order
    QStringList m_compared;  // the delta's fields stored in the table, keys aside
    int m_change = 0;
    DeltaOutcome m_outcome;
};

}  // namespace

QString staleRowMessage()
{
    return QStringLiteral(
        "Registro alterado por outro usuário. Atualize a consulta e tente novamente.");
}

QString describeKey(const records::DataSetLayout& layout, const RowValues& row)
{
    QStringList parts;
    for (const QString& key : layout.keyFields)
        parts.append(key + QLatin1Char(' ') + shown(row.value(key)));
    return parts.join(QStringLiteral(", "));
}

DeltaOutcome applyDelta(storage::Transaction& tx, const TableBinding& binding,
                        const records::Delta& delta)
{
    return Applier(tx, binding, delta).run();
}

void checkNullFieldList(const QString& method, const records::DataSetLayout& layout,
                        const QString& list)
{
    if (list.isEmpty())
        return;
    if (!list.startsWith(QLatin1Char('_')))
        throw ApiError::badRequest(
            QStringLiteral("%1: lista de campos nulos inválida '%2' (cada campo vem após um '_').")
                .arg(method, list));
    const QStringList names = list.mid(1).split(QLatin1Char('_'));
    for (const QString& name : names) {
        if (records::indexOfField(layout.fields, name) < 0)
            throw ApiError::badRequest(
                QStringLiteral("%1: a lista de campos nulos traz o campo desconhecido '%2'.")
                    .arg(method, name));
    }
}

}  // namespace server::model
