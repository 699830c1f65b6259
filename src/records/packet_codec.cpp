#include "packet_codec.h"

#include "error.h"

#include <QByteArray>
#include <QDateTime>

#include <cmath>

namespace records {
namespace {

QJsonArray encodeRow(const FieldList& fields, const QVariantList& row)
{
    if (row.size() != fields.size())
        throw Error(QStringLiteral("Linha com %1 valores para %2 campos.")
                        .arg(row.size())
                        .arg(fields.size()));
    QJsonArray out;
    for (int i = 0; i < fields.size(); ++i)
        out.append(encodeValue(fields[i], row[i]));
    return out;
}

QVariantList decodeRow(const FieldList& fields, const QJsonValue& value)
{
    if (!value.isArray())
        throw Error(QStringLiteral("Linha do pacote não é uma lista."));
    const QJsonArray row = value.toArray();
    if (row.size() != fields.size())
        throw Error(QStringLiteral("Linha com %1 valores para %2 campos.")
                        .arg(row.size())
                        .arg(fields.size()));
    QVariantList out;
    out.reserve(row.size());
    for (int i = 0; i < fields.size(); ++i)
        out.append(decodeValue(fields[i], row[i]));
    return out;
}

}  // namespace

QJsonValue encodeValue(const FieldDef& field, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QJsonValue(QJsonValue::Null);
    switch (field.type) {
    case FieldType::String:
        return value.toString();
    case FieldType::Integer:
        return QJsonValue(value.toLongLong());
    case FieldType::Real: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            throw Error(QStringLiteral("Valor não finito no campo '%1'.").arg(field.name));
        return d;
    }
    case FieldType::DateTime:
        return formatDateTime(value.toDateTime());
    case FieldType::Blob: {
        const QByteArray bytes = value.typeId() == QMetaType::QByteArray
                                     ? value.toByteArray()
                                     : value.toString().toUtf8();
        return QString::fromLatin1(bytes.toBase64());
    }
    }
    return QJsonValue(QJsonValue::Null);
}

QVariant decodeValue(const FieldDef& field, const QJsonValue& value)
{
    if (value.isNull() || value.isUndefined())
        return {};
    auto wrong = [&field]() {
        return Error(QStringLiteral("Valor inválido para o campo '%1'.").arg(field.name));
    };
    switch (field.type) {
    case FieldType::String:
        if (!value.isString())
            throw wrong();
        return value.toString();
    case FieldType::Integer: {
        if (!value.isDouble())
            throw wrong();
        const double d = value.toDouble();
        if (d != std::floor(d))
            throw wrong();
        return QVariant(static_cast<qlonglong>(d));
    }
    case FieldType::Real:
        if (!value.isDouble())
            throw wrong();
        return value.toDouble();
    case FieldType::DateTime: {
        const QDateTime dt = value.isString() ? parseDateTime(value.toString()) : QDateTime();
        if (!dt.isValid())
            throw Error(QStringLiteral("Data inválida no campo '%1'.").arg(field.name));
        return dt;
    }
    case FieldType::Blob: {
        if (!value.isString())
            throw wrong();
        auto decoded = QByteArray::fromBase64Encoding(value.toString().toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            throw wrong();
        return *decoded;
    }
    }
    return {};
}

QJsonObject encodeFields(const FieldList& fields)
{
    QJsonArray list;
    for (const FieldDef& f : fields) {
        list.append(QJsonObject{{QStringLiteral("name"), f.name},
                                {QStringLiteral("type"), fieldTypeName(f.type)},
                                {QStringLiteral("size"), f.size}});
    }
    return QJsonObject{{QStringLiteral("fields"), list}};
}

FieldList decodeFields(const QJsonValue& value)
{
    if (!value.isArray())
        throw Error(QStringLiteral("Lista de campos ausente."));
    FieldList fields;
    for (const QJsonValue& v : value.toArray()) {
        const QJsonObject o = v.toObject();
        const QString name = o.value(QStringLiteral("name")).toString();
        const auto type = fieldTypeFromName(o.value(QStringLiteral("type")).toString());
        if (name.isEmpty() || !type)
            throw Error(QStringLiteral("Campo mal definido no pacote."));
        FieldDef f;
        f.name = name;
        f.type = *type;
        f.size = o.value(QStringLiteral("size")).toInt();
        fields.append(f);
    }
    return fields;
}

QJsonArray encodeRows(const Packet& packet)
{
    QJsonArray rows;
    for (const QVariantList& row : packet.rows)
        rows.append(encodeRow(packet.fields, row));
    return rows;
}

QJsonObject encodePacket(const Packet& packet)
{
    QJsonObject out = encodeFields(packet.fields);
    out.insert(QStringLiteral("rows"), encodeRows(packet));
    return out;
}

Packet decodePacket(const QJsonValue& value)
{
    if (!value.isObject())
        throw Error(QStringLiteral("Pacote de dados inválido."));
    const QJsonObject o = value.toObject();
    Packet packet;
    packet.fields = decodeFields(o.value(QStringLiteral("fields")));
    const QJsonValue rows = o.value(QStringLiteral("rows"));
    if (!rows.isArray())
        throw Error(QStringLiteral("Pacote de dados sem linhas."));
    for (const QJsonValue& row : rows.toArray())
        packet.rows.append(decodeRow(packet.fields, row));
    return packet;
}

QJsonObject encodeDelta(const Delta& delta)
{
    QJsonObject out = encodeFields(delta.fields);
    out.insert(QStringLiteral("keys"), QJsonArray::fromStringList(delta.keyFields));
    QJsonArray changes;
    for (const DeltaChange& c : delta.changes) {
        QJsonObject change{{QStringLiteral("op"), deltaKindName(c.kind)}};
        if (c.kind != DeltaChange::Kind::Insert)
            change.insert(QStringLiteral("old"), encodeRow(delta.fields, c.oldValues));
        if (c.kind != DeltaChange::Kind::Delete)
            change.insert(QStringLiteral("new"), encodeRow(delta.fields, c.newValues));
        changes.append(change);
    }
    out.insert(QStringLiteral("changes"), changes);
    return out;
}

Delta decodeDelta(const QJsonValue& value)
{
    if (!value.isObject())
        throw Error(QStringLiteral("Delta inválido."));
    const QJsonObject o = value.toObject();
    Delta delta;
    delta.fields = decodeFields(o.value(QStringLiteral("fields")));
    const QJsonValue keys = o.value(QStringLiteral("keys"));
    if (!keys.isArray())
        throw Error(QStringLiteral("Delta sem campos-chave."));
    for (const QJsonValue& k : keys.toArray()) {
        if (indexOfField(delta.fields, k.toString()) < 0)
            throw Error(QStringLiteral("Campo-chave desconhecido: '%1'.").arg(k.toString()));
        delta.keyFields.append(k.toString());
    }
    const QJsonValue changes = o.value(QStringLiteral("changes"));
    if (!changes.isArray())
        throw Error(QStringLiteral("Delta sem alterações."));
    for (const QJsonValue& v : changes.toArray()) {
        const QJsonObject c = v.toObject();
        const auto kind = deltaKindFromName(c.value(QStringLiteral("op")).toString());
        if (!kind)
            throw Error(QStringLiteral("Operação desconhecida no delta."));
        DeltaChange change;
        change.kind = *kind;
        if (*kind != DeltaChange::Kind::Insert)
            change.oldValues = decodeRow(delta.fields, c.value(QStringLiteral("old")));
        if (*kind != DeltaChange::Kind::Delete)
            change.newValues = decodeRow(delta.fields, c.value(QStringLiteral("new")));
        delta.changes.append(change);
    }
    return delta;
}

Packet packetAt(const QJsonValue& payload, int index)
{
    if (!payload.isArray() || index < 0 || index >= payload.toArray().size())
        throw Error(QStringLiteral("Resposta do servidor sem o elemento %1.").arg(index));
    return decodePacket(payload.toArray().at(index));
}

}  // namespace records
