#pragma once

#include <records/layouts.h>
#include <records/packet.h>

#include <QJsonObject>
#include <QStringList>

#include "../storage/database.h"

namespace server::model {

// {"fields": [...]} of a layout, encoded once per layout: the part of every packet
// built on it that never changes.
QJsonObject encodedFields(const records::DataSetLayout& layout);

// Builds a data packet with the whole field list of a dataset layout, so the client
// loads it directly. Rows start all null; values are given by field name as the
// database holds them (fromSql converts).
class PacketBuilder
{
public:
    explicit PacketBuilder(const records::DataSetLayout& layout);

    // Starts a new row with every field null.
    PacketBuilder& row();
    // Sets a field of the current row; an unknown name is a programming error.
    PacketBuilder& set(const QString& field, const QVariant& sqlValue);
    // One row per database row, the columns given by the field names in order.
    PacketBuilder& rows(const QList<storage::SqlRow>& sqlRows, const QStringList& columns);

    const records::Packet& packet() const { return m_packet; }
    QJsonObject json() const;

private:
    int index(const QString& field) const;

    const records::DataSetLayout* m_layout;
    records::Packet m_packet;
};

}  // namespace server::model
