#include "reference_percentiles.h"

#include "../reference/coded_age.h"
#include "../reference/percentile_lookup.h"
#include "records/method_codes.h"

#include <optional>

namespace server::methods {
namespace {

using reference::PercentileEntry;

// The table owner of GetImcPesoTeorico: the theoretical weights of "IMC/Peso Teórico -
// Must", and the percentiles taken as its minimum, middle and maximum BMI.
const QString kTheoreticalOwner = records::method::kImcMust;
const QString kTheoreticalMin = QStringLiteral("015");
const QString kTheoreticalMed = QStringLiteral("050");
const QString kTheoreticalMax = QStringLiteral("085");

QJsonObject recordPacket(const records::DataSetLayout& layout,
                         const std::optional<PercentileEntry>& entry)
{
    model::PacketBuilder packet(layout);
    if (entry)
        packet.row()
            .set(QStringLiteral("VRPERCENTIL"), entry->value)
            .set(QStringLiteral("NMPERCENTIL"), entry->name)
            .set(QStringLiteral("CDPERCENTIL"), entry->code)
            .set(QStringLiteral("NMREFEBIBL"), entry->referenceName)
            .set(QStringLiteral("CDREFEBIBL"), entry->reference);
    return packet.json();
}

QJsonValue percentilePayload(const QList<PercentileEntry>& percentiles, double value)
{
    model::PacketBuilder codes(records::layouts::cdsPesqPer());
    for (const PercentileEntry& p : percentiles)
        codes.row().set(QStringLiteral("CDPERCENTIL"), p.code);
    const reference::PercentileBracket bracket = reference::bracketValue(percentiles, value);
    return QJsonArray{codes.json(),
                      recordPacket(records::layouts::cdsPercentilMaior(), bracket.atOrBelow),
                      recordPacket(records::layouts::cdsPercentilMenor(), bracket.atOrAbove)};
}

}  // namespace

std::optional<QString> tableSex(const Params& p, int index)
{
    const QString letter = p.text(index);
    if (letter == QLatin1String("M") || letter == QLatin1String("F"))
        return letter;
    if (letter == QLatin1String("D") || letter == QLatin1String("I"))
        return std::nullopt;
    p.fail(index, QStringLiteral("deve ser \"M\", \"F\", \"D\" ou \"I\", não '%1'").arg(letter));
}

int ageInMonths(const Params& p, int index)
{
    const std::optional<reference::CodedAge> age = reference::decodeCodedAge(p.number(index));
    if (!age)
        p.fail(index, QStringLiteral("não é uma idade codificada (anos e dois dígitos de meses, "
                                     "de 0 a 11: 5,03 é 5 anos e 3 meses): %1")
                          .arg(p.number(index)));
    return age->totalMonths();
}

void registerReferencePercentiles(RouteTable& routes, Database& db)
{
    routes.add(
        QStringLiteral("GetPercentil"),
        {api::arg::text(QStringLiteral("referência")), api::arg::text(QStringLiteral("método")),
         api::arg::number(QStringLiteral("idade codificada")),
         api::arg::text(QStringLiteral("sexo")), api::arg::text(QStringLiteral("referência")),
         api::arg::number(QStringLiteral("valor medido"))},
        [&db](const Params& p) -> QJsonValue {
            const QString ref = p.code(0, 2);
            const QString method = p.code(1, 2);
            const int months = ageInMonths(p, 2);
            const std::optional<QString> sex = tableSex(p, 3);
            const QString again = p.code(4, 2);
            if (!again.isEmpty() && again != ref)
                p.fail(4, QStringLiteral("('%1') difere da referência do argumento 1 ('%2')")
                              .arg(again, ref));
            const double value = p.number(5);
            if (!sex)
                return percentilePayload({}, value);
            return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                return percentilePayload(reference::percentilesAt(tx, ref, method, *sex, months),
                                         value);
            });
        });

    routes.add(QStringLiteral("GetImcPesoTeorico"),
               {api::arg::text(QStringLiteral("referência")),
                api::arg::number(QStringLiteral("idade codificada")),
                api::arg::text(QStringLiteral("sexo"))},
               [&db](const Params& p) -> QJsonValue {
                   const QString ref = p.code(0, 2);
                   const int months = ageInMonths(p, 1);
                   const std::optional<QString> sex = tableSex(p, 2);
                   model::PacketBuilder packet(records::layouts::cdsImcPesoTeorico());
                   if (!sex)
                       return packet.json();
                   const QList<PercentileEntry> table =
                       storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                           return reference::percentilesAt(tx, ref, kTheoreticalOwner, *sex,
                                                           months);
                       });
                   const auto min = reference::findPercentile(table, kTheoreticalMin);
                   const auto med = reference::findPercentile(table, kTheoreticalMed);
                   const auto max = reference::findPercentile(table, kTheoreticalMax);
                   if (min && med && max)
                       packet.row()
                           .set(QStringLiteral("VRTABEDIET_MED"), med->value)
                           .set(QStringLiteral("VRTABEDIET_MIN"), min->value)
                           .set(QStringLiteral("VRTABEDIET_MAX"), max->value);
                   return packet.json();
               });
}

}  // namespace server::methods
