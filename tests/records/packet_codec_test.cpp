#include "records/error.h"
#include "records/packet_codec.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace records;

namespace {

FieldList sampleFields()
{
    return {
        {QStringLiteral("CDFILIAL"), FieldType::String, 4},
        {QStringLiteral("DTCONSPACI"), FieldType::DateTime},
        {QStringLiteral("NRVALOR"), FieldType::Real},
        {QStringLiteral("QTLINHAS"), FieldType::Integer},
        {QStringLiteral("DSHISTAVALNUT"), FieldType::Blob},
    };
}

// Through JSON text and back, as it crosses the wire.
QJsonValue throughText(const QJsonObject& o)
{
    return QJsonDocument::fromJson(QJsonDocument(o).toJson(QJsonDocument::Compact)).object();
}

}  // namespace

TEST(PacketCodec, PacketRoundTripKeepsNullsDatesAccentsRealsAndBlobs)
{
    Packet p;
    p.fields = sampleFields();
    const QDateTime date(QDate(2024, 2, 29), QTime(0, 0), Qt::UTC);
    p.rows.append({QStringLiteral("Ação"), date, 0.1 + 0.2, qlonglong(42),
                   QByteArray("<p>Diagnóstico \x01\xff</p>")});
    p.rows.append({QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});

    const Packet back = decodePacket(throughText(encodePacket(p)));
    ASSERT_EQ(back.fields.size(), 5);
    EXPECT_EQ(back.fields[0].size, 4);
    EXPECT_EQ(back.fields[1].type, FieldType::DateTime);
    ASSERT_EQ(back.rows.size(), 2);
    EXPECT_EQ(back.rows[0][0].toString(), QStringLiteral("Ação"));
    EXPECT_EQ(back.rows[0][1].toDateTime(), date);
    EXPECT_EQ(back.rows[0][2].toDouble(), 0.1 + 0.2);  // exact, not approximately
    EXPECT_EQ(back.rows[0][3].toLongLong(), 42);
    EXPECT_EQ(back.rows[0][4].toByteArray(), QByteArray("<p>Diagnóstico \x01\xff</p>"));
    for (const QVariant& v : back.rows[1])
        EXPECT_TRUE(v.isNull());
}

TEST(PacketCodec, DeltaRoundTripKeepsKindsOriginalValuesAndKeys)
{
    Delta d;
    d.fields = sampleFields();
    d.keyFields = {QStringLiteral("CDFILIAL"), QStringLiteral("DTCONSPACI")};
    const QDateTime date(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC);
    d.changes.append({DeltaChange::Kind::Insert, {}, {"0001", date, 1.5, 1, QVariant()}});
    d.changes.append({DeltaChange::Kind::Update,
                      {"0001", date, 1.5, 1, QVariant()},
                      {"0001", date, 2.5, 1, QByteArray("x")}});
    d.changes.append({DeltaChange::Kind::Delete, {"0002", date, QVariant(), 3, QVariant()}, {}});

    const Delta back = decodeDelta(throughText(encodeDelta(d)));
    EXPECT_EQ(back.keyFields, d.keyFields);
    ASSERT_EQ(back.changes.size(), 3);
    EXPECT_EQ(back.changes[0].kind, DeltaChange::Kind::Insert);
    EXPECT_TRUE(back.changes[0].oldValues.isEmpty());
    EXPECT_EQ(back.changes[1].oldValues[2].toDouble(), 1.5);
    EXPECT_EQ(back.changes[1].newValues[2].toDouble(), 2.5);
    EXPECT_EQ(back.changes[2].kind, DeltaChange::Kind::Delete);
    EXPECT_EQ(back.changes[2].oldValues[0].toString(), QStringLiteral("0002"));
    EXPECT_TRUE(back.changes[2].newValues.isEmpty());
}

TEST(PacketCodec, RefusesMalformedInput)
{
    // clang-format off
    const struct { bool delta; const char* text; } rows[] = {
        {false, R"({"fields":[{"name":"D","type":"datetime"}],"rows":[["2026-02-30"]]})"},  // not a date
        {false, R"({"fields":[{"name":"A","type":"string"}],"rows":[["x","y"]]})"},         // wrong width
        {false, R"({"fields":[{"name":"A","type":"money"}],"rows":[]})"},                  // unknown type
        {false, R"({"fields":[{"name":"A","type":"string"}],"rows":[[1]]})"},              // number for text
        {true, R"({"fields":[{"name":"A","type":"string"}],"keys":["B"],"changes":[]})"},  // key names no field
        {true, R"({"fields":[],"keys":[],"changes":[{"op":"merge"}]})"},                   // unknown operation
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        const QJsonObject o = QJsonDocument::fromJson(QByteArray(r.text)).object();
        EXPECT_THROW(r.delta ? void(decodeDelta(o)) : void(decodePacket(o)), Error);
    }
}

TEST(PacketCodec, DateTextForms)
{
    EXPECT_EQ(parseDateTime(QStringLiteral("2026-12-06")),
              QDateTime(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(parseDateTime(QStringLiteral("2026-12-06T10:20:30.500")),
              QDateTime(QDate(2026, 12, 6), QTime(10, 20, 30, 500), Qt::UTC));
    EXPECT_FALSE(parseDateTime(QStringLiteral("06/12/2026")).isValid());
    EXPECT_FALSE(parseDateTime(QStringLiteral("2026-12-06X10:00")).isValid());
    EXPECT_EQ(formatDateTime(QDateTime(QDate(2024, 2, 29), QTime(0, 0), Qt::UTC)),
              QStringLiteral("2024-02-29T00:00:00.000"));
}
