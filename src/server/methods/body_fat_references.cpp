#include "body_fat_references.h"

#include "reference_percentiles.h"

#include "../reference/body_fat_references.h"

#include <cmath>
#include <optional>

namespace server::methods {
namespace {

namespace body_fat = reference::body_fat;

struct Equation
{
    double constant = 0;
    double slope = 0;
};

std::optional<Equation> equationAt(Transaction& tx, const QString& reference, const QString& sex,
                                   int years)
{
    const QList<SqlRow> rows =
        tx.select(QStringLiteral("SELECT VRCONSTANTE, VRINCLINACAO FROM refedensidade "
                                 "WHERE CDREFEBIBL = ? AND CDSEXO = ? AND NRIDADEINI <= ? "
                                 "AND NRIDADEFIN >= ? ORDER BY NRIDADEINI"),
                  {reference, sex, years, years});
    if (rows.isEmpty())
        return std::nullopt;
    return Equation{rows.first().value(0).toDouble(), rows.first().value(1).toDouble()};
}

}  // namespace

void registerBodyFatReferences(RouteTable& routes, Database& db)
{
    routes.add(
        QStringLiteral("GetCalcSomaPrega"),
        {api::arg::text(QStringLiteral("sexo")), api::arg::text(QStringLiteral("referência")),
         api::arg::number(QStringLiteral("idade em anos")),
         api::arg::number(QStringLiteral("soma das pregas"))},
        [&db](const Params& p) -> QJsonValue {
            const std::optional<QString> sex = tableSex(p, 0);
            const QString reference = p.code(1, 2);
            const double age = p.number(2);
            if (!(age >= 0 && age <= body_fat::kOldestYears))
                p.fail(2, QStringLiteral("não é uma idade em anos de 0 a %1: %2")
                              .arg(body_fat::kOldestYears)
                              .arg(age));
            const double sum = p.number(3);
            if (!(sum > 0) || !std::isfinite(sum))
                p.fail(3, QStringLiteral("deve ser maior que 0 mm: %1").arg(sum));
            model::PacketBuilder packet(records::layouts::cdsCalcSomaPrega());
            if (!sex)
                return packet.json();
            const std::optional<Equation> equation =
                storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                    return equationAt(tx, reference, *sex, static_cast<int>(std::floor(age)));
                });
            if (!equation)
                return packet.json();
            const double density = equation->constant - equation->slope * std::log10(sum);
            const double fat = body_fat::siriFatPercent(density);
            if (density > 0 && fat > 0)
                packet.row().set(QStringLiteral("VRPEPREGAS"), std::round(fat * 1000) / 1000);
            return packet.json();
        });
}

}  // namespace server::methods
