#include "energy_fixture.h"

#include "records/layouts.h"
#include "records/packet_codec.h"
#include "workspace/module_context.h"

namespace energytest {

namespace L = records::layouts;

void PrintTo(const StoredLine& l, std::ostream* os)
{
    *os << l.method.toStdString() << "/" << l.number.toStdString() << " ";
    anthropometrytest::PrintTo(l.line, os);
}

namespace {

records::Reply packet(const records::DataSetLayout& layout, const QList<QVariantList>& rows)
{
    return records::Reply::success(
        records::encodePacket(anthropometrytest::packetOf(layout, rows)));
}

}  // namespace

void EnergyTest::SetUp()
{
    RoutineTest::SetUp();
    server.answer = [this](const QString& method, const QJsonArray& args) {
        if (method == "GetInfoAval")
            return packet(L::cdsInfoAval(), m_recorded.value(args.at(3).toString()));
        if (method == "GetDuBois")
            return packet(L::cdsDuBois(),
                          duBoisRate ? QList<QVariantList>{{*duBoisRate}} : QList<QVariantList>{});
        if (method == "GetAtualizaDados")
            return packet(L::cdsAtualizaDados(), {});
        if (method == "DelResuAvalEnerg")
            stored.clear();
        if (method == "GetResuAvalEnerg") {
            QList<QVariantList> rows;
            for (const StoredLine& s : stored)
                rows.append({"0001", stCdPaciente,
                             QDateTime(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC), s.method,
                             s.number, s.line.value, s.line.label, QVariant(), QVariant()});
            return packet(L::cdsResuAvalEnerg(), rows);
        }
        if (method == "SetResuAvalEnerg") {
            const records::Delta delta = records::decodeDelta(args.at(0));
            auto at = [&](const records::DeltaChange& c, const char* field) {
                return c.newValues.value(records::indexOfField(delta.fields, field)).toString();
            };
            for (const records::DeltaChange& c : delta.changes)
                stored.append({at(c, "CDTBMETOAVAL"),
                               at(c, "CDSEQUAVAL"),
                               {at(c, "DSCONTRESU"), at(c, "DSRESUAVAL")}});
        }
        if (method.startsWith("Get"))  // the panel's stores: nothing recorded yet
            return records::Reply::success(records::encodePacket(records::Packet()));
        return records::Reply::success(QJsonValue());
    };
}

void EnergyTest::record(const QString& method, const QString& dataType, const QString& text)
{
    m_recorded[dataType].append({"0001", stCdPaciente,
                                 QDateTime(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC), method,
                                 dataType, text, QVariant(), QVariant()});
}

}  // namespace energytest
