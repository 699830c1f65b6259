// Field values, their texts, the filter and the index of a DataSet.
#include "dataset.h"

#include "error.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace records {
namespace {

const QCollator& nameCollator()
{
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

// Text of a number as the forms read it: "1,5" or "1.5"; blanks around are ignored.
std::optional<double> readNumber(QString text)
{
    text = text.trimmed();
    if (text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('.')))
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double d = text.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

int compareValues(FieldType type, const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);  // nulls first
    switch (type) {
    case FieldType::String:
        return nameCollator().compare(a.toString(), b.toString());
    case FieldType::Blob:
        return a.toByteArray().compare(b.toByteArray());
    case FieldType::Integer: {
        const qlonglong x = a.toLongLong(), y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::Real: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::DateTime: {
        const QDateTime x = a.toDateTime(), y = b.toDateTime();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    }
    return 0;
}

}  // namespace

// ---------------------------------------------------------------- values

QVariant DataSet::coerce(int col, const QVariant& v) const
{
    const FieldDef& f = m_fields[col];
    const auto wrong = [&]() {
        return Error(
            QStringLiteral("Valor inválido para o campo '%1': \"%2\".")
                .arg(f.displayLabel().trimmed().isEmpty() ? f.name : f.displayLabel().trimmed(),
                     v.toString()));
    };
    QVariant in = v;
    if (f.type == FieldType::Integer && !v.isNull()) {
        const int t = v.typeId();
        if (t == QMetaType::Double || t == QMetaType::Float) {
            const double d = v.toDouble();
            if (!std::isfinite(d) || d != std::floor(d))
                throw wrong();
        }
    }
    if (f.type == FieldType::Real && v.typeId() == QMetaType::QString) {
        if (v.toString().trimmed().isEmpty())
            in = QVariant();
        else if (const auto d = readNumber(v.toString()))
            in = *d;
        else
            throw wrong();
    }
    const auto out = coerceToField(f, in);
    if (!out)
        throw wrong();
    if (f.type == FieldType::Real && !out->isNull() && !std::isfinite(out->toDouble()))
        throw wrong();
    if (f.type == FieldType::String && f.size > 0 && out->toString().size() > f.size)
        throw Error(
            QStringLiteral("O campo '%1' aceita no máximo %2 caracteres.").arg(f.name).arg(f.size));
    return *out;
}

const QVariantList* DataSet::currentValues() const
{
    if (isEditing())
        return &m_buffer;
    if (m_pos >= 0 && m_pos < m_view.size())
        return &m_rows[m_view[m_pos]].values;
    return nullptr;
}

const QVariantList& DataSet::rowValues(int row) const
{
    if (m_state == DataSetState::Edit && row == m_pos)
        return m_buffer;
    return m_rows[m_view[row]].values;
}

QVariant DataSet::value(const QString& field) const
{
    const int col = requireField(field);
    const QVariantList* values = currentValues();
    return values ? values->at(col) : QVariant();
}

void DataSet::setValue(const QString& field, const QVariant& value)
{
    const int col = requireField(field);
    if (m_fields[col].calculated && !isEditing()) {
        // Calculated values belong to the row on show, not to its data: never logged.
        if (m_pos < 0)
            return;
        const QVariant v = coerce(col, value);
        m_rows[m_view[m_pos]].values[col] = v;
        notify(DataSetEvent::RowChanged, m_pos);
        return;
    }
    if (!isEditing())
        throw Error(QStringLiteral("%1 não está em edição: o campo '%2' não pode ser alterado.")
                        .arg(m_name, field));
    m_buffer[col] = coerce(col, value);
    if (m_state == DataSetState::Edit)
        notify(DataSetEvent::RowChanged, m_pos);
}

bool DataSet::isNull(const QString& field) const
{
    return value(field).isNull();
}

QString DataSet::textOf(int col, const QVariant& v) const
{
    if (v.isNull())
        return {};
    switch (m_fields[col].type) {
    case FieldType::String:
        return v.toString();
    case FieldType::Integer:
        return QString::number(v.toLongLong());
    case FieldType::Real:
        return QString::number(v.toDouble(), 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
    case FieldType::DateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("dd/MM/yyyy"))
                                        : dt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
    case FieldType::Blob:
        return QString::fromUtf8(v.toByteArray());
    }
    return {};
}

QString DataSet::asString(const QString& field) const
{
    return textOf(requireField(field), value(field));
}

double DataSet::asFloat(const QString& field) const
{
    const int col = requireField(field);
    const QVariant v = value(field);
    if (v.isNull())
        return 0.0;
    switch (m_fields[col].type) {
    case FieldType::Integer:
    case FieldType::Real:
        return v.toDouble();
    case FieldType::DateTime:
        throw Error(QStringLiteral("O campo '%1' não é numérico.").arg(field));
    case FieldType::String:
    case FieldType::Blob:
        break;
    }
    const QString text = textOf(col, v);
    if (text.trimmed().isEmpty())
        return 0.0;
    const auto d = readNumber(text);
    if (!d)
        throw Error(QStringLiteral("\"%1\" não é um valor numérico válido.").arg(text));
    return *d;
}

qint64 DataSet::asInteger(const QString& field) const
{
    const int col = requireField(field);
    const QVariant v = value(field);
    if (v.isNull())
        return 0;
    switch (m_fields[col].type) {
    case FieldType::Integer:
        return v.toLongLong();
    case FieldType::Real:
        return qRound64(v.toDouble());
    case FieldType::DateTime:
        throw Error(QStringLiteral("O campo '%1' não é numérico.").arg(field));
    case FieldType::String:
    case FieldType::Blob:
        break;
    }
    const QString text = textOf(col, v).trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok)
        throw Error(QStringLiteral("\"%1\" não é um valor inteiro válido.").arg(text));
    return n;
}

QString DataSet::displayText(const QString& field) const
{
    const int col = requireField(field);
    if (m_state == DataSetState::Insert || m_pos < 0)
        return textOf(col, value(field));
    return displayTextAt(m_pos, field);
}

QString DataSet::nullFieldList() const
{
    const QVariantList* values = currentValues();
    QString out;
    if (!values)
        return out;
    for (int c = 0; c < m_fields.size(); ++c) {
        if (values->at(c).isNull())
            out += QLatin1Char('_') + m_fields[c].name;
    }
    return out;
}

void DataSet::setEmptyFieldsNull()
{
    if (!isEditing())
        return;
    for (int c = 0; c < m_fields.size(); ++c) {
        const FieldType t = m_fields[c].type;
        const QVariant& v = m_buffer[c];
        if (v.isNull())
            continue;
        if ((t == FieldType::String && v.toString().trimmed().isEmpty())
            || (t == FieldType::Blob && v.toByteArray().isEmpty()))
            m_buffer[c] = QVariant();
    }
}

QVariant DataSet::valueAt(int row, const QString& field) const
{
    const int col = requireField(field);
    if (row < 0 || row >= m_view.size())
        return {};
    return rowValues(row).at(col);
}

QString DataSet::asStringAt(int row, const QString& field) const
{
    return textOf(requireField(field), valueAt(row, field));
}

QString DataSet::displayTextAt(int row, const QString& field) const
{
    const int col = requireField(field);
    if (row < 0 || row >= m_view.size())
        return {};
    const auto handler = m_displayText.constFind(col);
    if (handler != m_displayText.constEnd())
        return (*handler)(*this, row);
    return textOf(col, rowValues(row).at(col));
}

// ---------------------------------------------------------------- filter and index

bool DataSet::rowMatchesFilter(const QVariantList& values) const
{
    for (int i = 0; i < m_filter.size(); ++i) {
        const int col = m_filterColumns[i];
        if (textOf(col, values[col]) != m_filter[i].literal)
            return false;
    }
    return true;
}

void DataSet::rebuildView()
{
    m_view.clear();
    m_view.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i) {
        if (!m_filtered || rowMatchesFilter(m_rows[i].values))
            m_view.append(i);
    }
    if (m_indexColumns.isEmpty())
        return;
    std::stable_sort(m_view.begin(), m_view.end(), [this](int a, int b) {
        for (int col : m_indexColumns) {
            const int c =
                compareValues(m_fields[col].type, m_rows[a].values[col], m_rows[b].values[col]);
            if (c != 0)
                return c < 0;
        }
        return false;
    });
}

void DataSet::setFilter(const QString& text)
{
    ensureNotInBeforeHook("Filter");
    const QList<FilterCondition> conditions = parseFilter(text);
    QList<int> columns;
    for (const FilterCondition& c : conditions) {
        const int col = fieldIndex(c.field);
        if (col < 0)
            throw Error(QStringLiteral("Filtro inválido: o campo '%1' não existe em %2.")
                            .arg(c.field, m_name));
        columns.append(col);
    }
    checkBrowseMode();
    m_filterText = text;
    m_filter = conditions;
    m_filterColumns = columns;
    if (!m_filtered)
        return;
    rebuildView();
    positionOn(0, 0);
    m_bof = true;
    notify(DataSetEvent::Reset);
    fireScroll();
}

void DataSet::setFiltered(bool on)
{
    ensureNotInBeforeHook("Filter");
    if (on == m_filtered)
        return;
    checkBrowseMode();
    m_filtered = on;
    rebuildView();
    positionOn(0, 0);
    m_bof = true;
    notify(DataSetEvent::Reset);
    fireScroll();
}

void DataSet::setIndexFieldNames(const QString& fields)
{
    ensureNotInBeforeHook("Index");
    QList<int> columns;
    for (const QString& name : fields.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int col = fieldIndex(name.trimmed());
        if (col < 0)
            throw Error(QStringLiteral("Índice inválido: o campo '%1' não existe em %2.")
                            .arg(name.trimmed(), m_name));
        columns.append(col);
    }
    checkBrowseMode();
    const RowId id = currentId();
    m_indexText = fields;
    m_indexColumns = columns;
    rebuildView();
    positionOn(id, m_pos);
    notify(DataSetEvent::Reset);
}

}  // namespace records
