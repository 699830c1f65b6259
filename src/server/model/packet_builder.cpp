#include "packet_builder.h"

#include "sql_values.h"

#include <records/packet_codec.h>

#include <mutex>
#include <stdexcept>
#include <unordered_map>

namespace server::model {

QJsonObject encodedFields(const records::DataSetLayout& layout)
{
    // Layouts are static objects: their address names them for the process's life.
    static std::mutex mutex;
    static std::unordered_map<const records::DataSetLayout*, QJsonObject> encoded;
    const std::lock_guard lock(mutex);
    auto it = encoded.find(&layout);
    if (it == encoded.end())
        it = encoded.emplace(&layout, records::encodeFields(layout.fields)).first;
    return it->second;
}

PacketBuilder::PacketBuilder(const records::DataSetLayout& layout) : m_layout(&layout)
{
    m_packet.fields = layout.fields;
}

int PacketBuilder::index(const QString& field) const
{
    const int i = m_packet.fieldIndex(field);
    if (i < 0)
        throw std::logic_error("packet has no field " + field.toStdString());
    return i;
}

PacketBuilder& PacketBuilder::row()
{
    QVariantList values;
    values.resize(m_packet.fields.size());
    m_packet.rows.append(values);
    return *this;
}

PacketBuilder& PacketBuilder::set(const QString& field, const QVariant& sqlValue)
{
    if (m_packet.rows.isEmpty())
        throw std::logic_error("set() before row()");
    const int i = index(field);
    m_packet.rows.last()[i] = fromSql(m_packet.fields[i], sqlValue);
    return *this;
}

PacketBuilder& PacketBuilder::rows(const QList<storage::SqlRow>& sqlRows,
                                   const QStringList& columns)
{
    QList<int> indexes;
    for (const QString& c : columns)
        indexes.append(index(c));
    for (const storage::SqlRow& r : sqlRows) {
        row();
        QVariantList& values = m_packet.rows.last();
        for (int c = 0; c < indexes.size() && c < r.size(); ++c)
            values[indexes[c]] = fromSql(m_packet.fields[indexes[c]], r[c]);
    }
    return *this;
}

QJsonObject PacketBuilder::json() const
{
    QJsonObject out = encodedFields(*m_layout);
    out.insert(QStringLiteral("rows"), records::encodeRows(m_packet));
    return out;
}

}  // namespace server::model
