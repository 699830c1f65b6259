#pragma once

#include "delta.h"
#include "packet.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

namespace records {

// The JSON form of packets and deltas, shared by the client and the server.
//
//   packet: {"fields": [{"name","type","size"}...], "rows": [[...], ...]}
//   delta:  {"fields": [...], "keys": ["CDFILIAL", ...],
//            "changes": [{"op": "insert", "new": [...]},
//                        {"op": "update", "old": [...], "new": [...]},
//                        {"op": "delete", "old": [...]}]}
//
// Null is JSON null; dates are ISO-8601 text; blobs are base64 text; reals are JSON
// numbers. Field labels and display attributes do not travel: the layouts hold them.
// The decoders throw records::Error with a text that says what is wrong.

QJsonValue encodeValue(const FieldDef& field, const QVariant& value);
QVariant decodeValue(const FieldDef& field, const QJsonValue& value);

QJsonObject encodeFields(const FieldList& fields);
FieldList decodeFields(const QJsonValue& value);

QJsonObject encodePacket(const Packet& packet);
// The "rows" part of a packet alone.
QJsonArray encodeRows(const Packet& packet);
Packet decodePacket(const QJsonValue& value);

QJsonObject encodeDelta(const Delta& delta);
Delta decodeDelta(const QJsonValue& value);

// Element index of a payload that is an array of packets (GetDados, GetPercentil...).
Packet packetAt(const QJsonValue& payload, int index);

}  // namespace records
