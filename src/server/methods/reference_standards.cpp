#include "reference_standards.h"

#include "reference_percentiles.h"

#include "../reference/percentile_lookup.h"

#include <QRegularExpression>

#include <optional>

namespace server::methods {
namespace {

using reference::StandardEntry;

// The standard GetPCT answers stands for the median.
const QString kMedian = QStringLiteral("050");

// The oldest age the reference queries take, in years.
constexpr int kOldestYears = 200;

QString percentileCodeArg(const Params& p, int index)
{
    const QString code = p.code(index, 3);
    static const QRegularExpression threeDigits(QStringLiteral("^[0-9]{3}$"));
    if (!threeDigits.match(code).hasMatch())
        p.fail(index, QStringLiteral("deve ser um código de percentil de três dígitos (\"050\"), "
                                     "não '%1'")
                          .arg(code));
    return code;
}

// The age text of the patient header: whole years, or empty when the age is not known.
std::optional<int> yearsArg(const Params& p, int index)
{
    const QString text = p.text(index).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    if (!digits.match(text).hasMatch() || text.toInt() > kOldestYears)
        p.fail(index, QStringLiteral("deve ser a idade em anos completos (0 a %1), não '%2'")
                          .arg(kOldestYears)
                          .arg(text));
    return text.toInt();
}

}  // namespace

void registerReferenceStandards(RouteTable& routes, Database& db)
{
    routes.add(
        QStringLiteral("GetPCT"),
        {api::arg::text(QStringLiteral("sexo")), api::arg::text(QStringLiteral("referência")),
         api::arg::text(QStringLiteral("método")),
         api::arg::number(QStringLiteral("idade codificada"))},
        [&db](const Params& p) -> QJsonValue {
            const std::optional<QString> sex = tableSex(p, 0);
            const QString ref = p.code(1, 2);
            const QString method = p.code(2, 2);
            const int months = ageInMonths(p, 3);
            model::PacketBuilder packet(records::layouts::cdsPCT());
            if (!sex)
                return packet.json();
            const std::optional<double> standard =
                storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                    const QList<StandardEntry> fixed =
                        reference::standardsAt(tx, ref, method, kMedian, months);
                    if (!fixed.isEmpty())
                        return std::optional<double>(
                            *sex == QLatin1String("M") ? fixed.first().male : fixed.first().female);
                    const auto median = reference::findPercentile(
                        reference::percentilesAt(tx, ref, method, *sex, months), kMedian);
                    return median ? std::optional<double>(median->value) : std::nullopt;
                });
            if (standard)
                packet.row().set(QStringLiteral("VRTABEDIET"), *standard);
            return packet.json();
        });

    routes.add(QStringLiteral("GetPercentFix"),
               {api::arg::text(QStringLiteral("referência")),
                api::arg::text(QStringLiteral("percentil")),
                api::arg::text(QStringLiteral("método")), api::arg::text(QStringLiteral("idade"))},
               [&db](const Params& p) -> QJsonValue {
                   const QString ref = p.code(0, 2);
                   const QString code = percentileCodeArg(p, 1);
                   const QString method = p.code(2, 2);
                   const std::optional<int> years = yearsArg(p, 3);
                   model::PacketBuilder packet(records::layouts::cdsPercentiFix());
                   if (!years)
                       return packet.json();
                   const QList<StandardEntry> rows =
                       storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                           return reference::standardsAt(tx, ref, method, code, *years * 12);
                       });
                   for (const StandardEntry& s : rows)
                       packet.row()
                           .set(QStringLiteral("CDREFEBIBL"), s.reference)
                           .set(QStringLiteral("NMREFEBIBL"), s.referenceName)
                           .set(QStringLiteral("CDTBMETOAVAL"), s.owner)
                           .set(QStringLiteral("CDPERCENTIL"), s.code)
                           .set(QStringLiteral("VRIDADINIDI"), double(s.fromMonths / 12))
                           .set(QStringLiteral("VRIDADFINDI"), double(s.toMonths / 12))
                           .set(QStringLiteral("VRSEXOFEMI"), s.female)
                           .set(QStringLiteral("VRSEXOMASC"), s.male);
                   return packet.json();
               });
}

}  // namespace server::methods
