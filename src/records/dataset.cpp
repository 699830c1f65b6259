#include "dataset.h"

#include "error.h"

namespace records {
namespace {

// Chained After* events deeper than this are a loop, not a design.
constexpr int kMaxHookDepth = 8;

// Resets a flag or a counter when a hook leaves, thrown or not.
template <typename T> class Restore
{
public:
    Restore(T& target, T value) : m_target(target), m_old(target) { m_target = value; }
    ~Restore() { m_target = m_old; }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    T& m_target;
    T m_old;
};

}  // namespace

DataSet::DataSet(const DataSetLayout& layout)
    : m_name(layout.name),
      m_keyFields(layout.keyFields),
      m_layout(&layout)
{
    init(layout.fields);
}

DataSet::DataSet(const FieldList& fields, const QString& name, const QStringList& keyFields)
    : m_name(name),
      m_keyFields(keyFields)
{
    init(fields);
}

DataSet::~DataSet()
{
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        listener(DataSetEvent::Destroyed, -1);
}

void DataSet::init(const FieldList& fields)
{
    m_fields = fields;
    m_log.setIgnoredColumns(calculatedColumns());
    for (const QString& k : m_keyFields) {
        if (fieldIndex(k) < 0)
            throw Error(QStringLiteral("Campo-chave '%1' não existe em %2.").arg(k, m_name));
    }
}

QList<int> DataSet::calculatedColumns() const
{
    QList<int> out;
    for (int c = 0; c < m_fields.size(); ++c) {
        if (m_fields[c].calculated)
            out.append(c);
    }
    return out;
}

int DataSet::requireField(const QString& name) const
{
    const int col = fieldIndex(name);
    if (col < 0)
        throw Error(QStringLiteral("Campo '%1' não existe em %2.").arg(name, m_name));
    return col;
}

const FieldDef& DataSet::field(const QString& name) const
{
    return m_fields[requireField(name)];
}

void DataSet::setFieldLabel(const QString& name, const QString& label)
{
    m_fields[requireField(name)].label = label;
    notify(DataSetEvent::Reset);
}

void DataSet::setFieldHidden(const QString& name, bool hidden)
{
    m_fields[requireField(name)].hidden = hidden;
    notify(DataSetEvent::Reset);
}

void DataSet::setFieldReadOnly(const QString& name, bool readOnly)
{
    m_fields[requireField(name)].readOnly = readOnly;
    notify(DataSetEvent::Reset);
}

void DataSet::setDisplayTextHandler(const QString& field, DisplayTextHandler handler)
{
    const int col = requireField(field);
    if (handler)
        m_displayText.insert(col, std::move(handler));
    else
        m_displayText.remove(col);
    notify(DataSetEvent::Reset);
}

// ---------------------------------------------------------------- hooks and views

void DataSet::ensureNotInBeforeHook(const char* operation) const
{
    if (m_inBeforeHook > 0)
        throw Error(QStringLiteral("%1 não permitido em %2 enquanto um registro é preparado.")
                        .arg(QString::fromLatin1(operation), m_name));
}

void DataSet::runBefore(const Hook& hook)
{
    if (!hook)
        return;
    Restore<int> guard(m_inBeforeHook, m_inBeforeHook + 1);
    hook(*this);
}

void DataSet::runAfter(const Hook& hook, int& depth)
{
    if (!hook)
        return;
    if (depth >= kMaxHookDepth)
        throw Error(QStringLiteral("Eventos encadeados demais em %1.").arg(m_name));
    Restore<int> guard(depth, depth + 1);
    hook(*this);
}

void DataSet::fireScroll()
{
    // Moving the cursor from within AfterScroll does not fire it again.
    if (!afterScroll || m_inAfterScroll)
        return;
    Restore<bool> guard(m_inAfterScroll, true);
    afterScroll(*this);
}

int DataSet::addListener(Listener listener)
{
    const int id = m_nextListener++;
    m_listeners.emplace(id, std::move(listener));
    return id;
}

void DataSet::removeListener(int id)
{
    m_listeners.erase(id);
}

void DataSet::notify(DataSetEvent event, int row)
{
    if (m_controlsDisabled > 0)
        return;
    const auto listeners = m_listeners;  // a listener may remove itself
    for (const auto& [id, listener] : listeners)
        listener(event, row);
}

void DataSet::disableControls()
{
    ++m_controlsDisabled;
}

void DataSet::enableControls()
{
    if (m_controlsDisabled == 0)
        return;
    if (--m_controlsDisabled == 0)
        notify(DataSetEvent::Reset);
}

// ---------------------------------------------------------------- loading

void DataSet::loadPacket(const Packet& packet)
{
    ensureNotInBeforeHook("Abrir");
    const FieldList fields = m_fields.isEmpty() ? packet.fields : m_fields;
    QList<int> source;
    for (const FieldDef& f : fields)
        source.append(indexOfField(packet.fields, f.name));

    QList<Row> rows;
    rows.reserve(packet.rows.size());
    for (const QVariantList& in : packet.rows) {
        Row row;
        row.id = m_nextId++;
        row.values.reserve(fields.size());
        for (int c = 0; c < fields.size(); ++c) {
            const int s = source[c];
            const QVariant raw = s >= 0 && s < in.size() ? in[s] : QVariant();
            const auto v = coerceToField(fields[c], raw);
            if (!v)
                throw Error(QStringLiteral("Valor inválido para o campo '%1' de %2.")
                                .arg(fields[c].name, m_name));
            row.values.append(*v);
        }
        rows.append(std::move(row));
    }

    m_fields = fields;
    m_log.setIgnoredColumns(calculatedColumns());
    m_state = DataSetState::Browse;
    m_buffer.clear();
    m_rows = std::move(rows);
    m_baseRows = m_rows;
    m_log.clear();
    rebuildView();
    m_pos = m_view.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.isEmpty();
    notify(DataSetEvent::Reset);
    runAfter(afterOpen, m_afterOtherDepth);
    fireScroll();
}

void DataSet::clear()
{
    loadPacket(Packet{m_fields, {}});
}

Packet DataSet::toPacket() const
{
    Packet p;
    p.fields = m_fields;
    for (const Row& r : m_rows)
        p.rows.append(r.values);
    return p;
}

// ---------------------------------------------------------------- cursor

int DataSet::storageIndex(RowId id) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].id == id)
            return i;
    }
    return -1;
}

DataSet::RowId DataSet::currentId() const
{
    return m_pos >= 0 && m_pos < m_view.size() ? m_rows[m_view[m_pos]].id : 0;
}

void DataSet::positionOn(RowId id, int fallbackPos)
{
    m_pos = -1;
    for (int i = 0; i < m_view.size() && id != 0; ++i) {
        if (m_rows[m_view[i]].id == id) {
            m_pos = i;
            break;
        }
    }
    if (m_pos < 0 && !m_view.isEmpty())
        m_pos = std::clamp(fallbackPos, 0, int(m_view.size()) - 1);
    m_bof = m_view.isEmpty();
    m_eof = m_view.isEmpty();
}

void DataSet::checkBrowseMode()
{
    if (isEditing())
        post();
}

void DataSet::first()
{
    ensureNotInBeforeHook("First");
    checkBrowseMode();
    m_pos = m_view.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.isEmpty();
    fireScroll();
}

void DataSet::last()
{
    ensureNotInBeforeHook("Last");
    checkBrowseMode();
    m_pos = int(m_view.size()) - 1;
    m_eof = true;
    m_bof = m_view.isEmpty();
    fireScroll();
}

void DataSet::next()
{
    ensureNotInBeforeHook("Next");
    checkBrowseMode();
    if (m_pos + 1 < m_view.size()) {
        ++m_pos;
        m_bof = m_eof = false;
        fireScroll();
    } else {
        m_eof = true;
    }
}

void DataSet::prior()
{
    ensureNotInBeforeHook("Prior");
    checkBrowseMode();
    if (m_pos > 0) {
        --m_pos;
        m_bof = m_eof = false;
        fireScroll();
    } else {
        m_bof = true;
    }
}

bool DataSet::moveTo(int row)
{
    ensureNotInBeforeHook("Mover");
    if (row < 0 || row >= m_view.size())
        return false;
    checkBrowseMode();
    if (row >= m_view.size())  // the post may have hidden rows
        return false;
    const bool moved = row != m_pos;
    m_pos = row;
    m_bof = m_eof = false;
    if (moved)
        fireScroll();
    return true;
}

bool DataSet::locate(const QString& field, const QVariant& value)
{
    return locate(field, QVariantList{value});
}

bool DataSet::locate(const QString& keyFields, const QVariantList& values)
{
    ensureNotInBeforeHook("Locate");
    QList<int> cols;
    for (const QString& name : keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        cols.append(requireField(name.trimmed()));
    if (cols.isEmpty() || cols.size() != values.size())
        throw Error(QStringLiteral("Locate em %1: %2 campos para %3 valores.")
                        .arg(m_name)
                        .arg(cols.size())
                        .arg(values.size()));
    QVariantList wanted;
    for (int i = 0; i < cols.size(); ++i) {
        const auto v = coerceToField(m_fields[cols[i]], values[i]);
        if (!v)
            throw Error(QStringLiteral("Valor inválido para o campo '%1' de %2.")
                            .arg(m_fields[cols[i]].name, m_name));
        wanted.append(*v);
    }
    checkBrowseMode();
    for (int pos = 0; pos < m_view.size(); ++pos) {
        const QVariantList& row = m_rows[m_view[pos]].values;
        bool all = true;
        for (int i = 0; i < cols.size() && all; ++i) {
            const QVariant& have = row[cols[i]];
            all = have.isNull() == wanted[i].isNull() && (have.isNull() || have == wanted[i]);
        }
        if (all) {
            m_pos = pos;
            m_bof = m_eof = false;
            fireScroll();
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- editing

void DataSet::insert()
{
    ensureNotInBeforeHook("Insert");
    checkBrowseMode();
    runBefore(beforeInsert);
    m_insertBefore = currentId();
    m_buffer = QVariantList(m_fields.size());
    m_state = DataSetState::Insert;
    m_bof = m_eof = false;
    runAfter(afterInsert, m_afterOtherDepth);
    fireScroll();
}

void DataSet::append()
{
    ensureNotInBeforeHook("Append");
    checkBrowseMode();
    runBefore(beforeInsert);
    m_insertBefore = 0;
    m_buffer = QVariantList(m_fields.size());
    m_state = DataSetState::Insert;
    m_bof = m_eof = false;
    runAfter(afterInsert, m_afterOtherDepth);
    fireScroll();
}

void DataSet::edit()
{
    ensureNotInBeforeHook("Edit");
    if (isEditing())
        return;
    if (m_view.isEmpty()) {
        insert();
        return;
    }
    runBefore(beforeEdit);
    m_editId = currentId();
    m_buffer = m_rows[m_view[m_pos]].values;
    m_state = DataSetState::Edit;
}

void DataSet::post()
{
    ensureNotInBeforeHook("Post");
    if (!isEditing())
        return;
    runBefore(beforePost);

    const QList<int> oldView = m_view;
    const int oldPos = m_pos;
    RowId id = 0;
    if (m_state == DataSetState::Insert) {
        id = m_nextId++;
        const int at = m_insertBefore ? storageIndex(m_insertBefore) : -1;
        if (at < 0)
            m_rows.append(Row{id, m_buffer});
        else
            m_rows.insert(at, Row{id, m_buffer});
        m_log.rowInserted(id);
    } else {
        id = m_editId;
        const int at = storageIndex(id);
        if (at >= 0) {
            m_log.rowEdited(id, m_rows[at].values, m_buffer);
            m_rows[at].values = m_buffer;
        }
    }
    m_state = DataSetState::Browse;
    m_buffer.clear();
    rebuildView();
    positionOn(id, oldPos);
    if (m_view == oldView && m_pos >= 0)
        notify(DataSetEvent::RowChanged, m_pos);
    else
        notify(DataSetEvent::Reset);
    runAfter(afterPost, m_afterPostDepth);
}

void DataSet::cancel()
{
    ensureNotInBeforeHook("Cancel");
    if (!isEditing())
        return;
    const bool wasEdit = m_state == DataSetState::Edit;
    m_state = DataSetState::Browse;
    m_buffer.clear();
    m_bof = m_eof = m_view.isEmpty();
    if (wasEdit && m_pos >= 0)
        notify(DataSetEvent::RowChanged, m_pos);
    runAfter(afterCancel, m_afterOtherDepth);
}

void DataSet::remove()
{
    ensureNotInBeforeHook("Delete");
    if (m_state == DataSetState::Insert) {
        cancel();
        return;
    }
    if (m_view.isEmpty())
        throw Error(QStringLiteral("Não há registro para excluir em %1.").arg(m_name));
    runBefore(beforeDelete);
    m_state = DataSetState::Browse;
    m_buffer.clear();
    const int oldPos = m_pos;
    const int at = m_view[m_pos];
    m_log.rowDeleted(m_rows[at].id, m_rows[at].values);
    m_rows.removeAt(at);
    rebuildView();
    positionOn(0, oldPos);
    if (oldPos >= m_view.size())
        m_eof = true;  // the last row went: a walk to the end is over
    notify(DataSetEvent::Reset);
    runAfter(afterDelete, m_afterOtherDepth);
    fireScroll();
}

// ---------------------------------------------------------------- change log

Delta DataSet::delta() const
{
    return m_log.delta(m_fields, m_keyFields, [this](RowId id) {
        const int at = storageIndex(id);
        return at >= 0 ? m_rows[at].values : QVariantList(m_fields.size());
    });
}

void DataSet::mergeChangeLog()
{
    m_log.clear();
    m_baseRows = m_rows;
}

void DataSet::cancelUpdates()
{
    if (isEditing()) {
        m_state = DataSetState::Browse;
        m_buffer.clear();
    }
    const RowId id = currentId();
    const int oldPos = m_pos;
    // Calculated values are what the row shows now, not data to undo.
    const QList<int> calculated = calculatedColumns();
    QList<Row> restored = m_baseRows;
    for (Row& row : restored) {
        const int at = calculated.isEmpty() ? -1 : storageIndex(row.id);
        for (int c : calculated) {
            if (at >= 0)
                row.values[c] = m_rows[at].values[c];
        }
    }
    m_rows = std::move(restored);
    m_log.clear();
    rebuildView();
    positionOn(id, oldPos);
    notify(DataSetEvent::Reset);
}

void Seta_Campo_Null(DataSet& dataSet)
{
    dataSet.setEmptyFieldsNull();
}

}  // namespace records
