#include "percentile_lookup.h"

namespace server::reference {

QList<PercentileEntry> percentilesAt(storage::Transaction& tx, const QString& reference,
                                     const QString& owner, const QString& sex, int months)
{
    const QList<storage::SqlRow> rows = tx.select(
        QStringLiteral("SELECT p.CDPERCENTIL, p.NMPERCENTIL, p.VRPERCENTIL, p.CDREFEBIBL, "
                       "r.NMREFEBIBL FROM refepercentil p "
                       "JOIN refebibl r ON r.CDREFEBIBL = p.CDREFEBIBL "
                       "WHERE p.CDREFEBIBL = ? AND p.CDTBMETOAVAL = ? AND p.CDSEXO = ? "
                       "AND p.NRIDADEINI <= ? AND p.NRIDADEFIN >= ? "
                       "ORDER BY p.CDPERCENTIL"),
        {reference, owner, sex, months, months});
    QList<PercentileEntry> out;
    out.reserve(rows.size());
    for (const storage::SqlRow& r : rows)
        out.append(
            {r[0].toString(), r[1].toString(), r[2].toDouble(), r[3].toString(), r[4].toString()});
    return out;
}

QList<StandardEntry> standardsAt(storage::Transaction& tx, const QString& reference,
                                 const QString& owner, const QString& code, int months)
{
    const QList<storage::SqlRow> rows = tx.select(
        QStringLiteral("SELECT s.CDREFEBIBL, r.NMREFEBIBL, s.CDTBMETOAVAL, s.CDPERCENTIL, "
                       "s.NRIDADEINI, s.NRIDADEFIN, s.VRSEXOMASC, s.VRSEXOFEMI FROM refepadrao s "
                       "JOIN refebibl r ON r.CDREFEBIBL = s.CDREFEBIBL "
                       "WHERE s.CDREFEBIBL = ? AND s.CDTBMETOAVAL = ? AND s.CDPERCENTIL = ? "
                       "AND s.NRIDADEINI <= ? AND s.NRIDADEFIN >= ? ORDER BY s.NRIDADEINI"),
        {reference, owner, code, months, months});
    QList<StandardEntry> out;
    for (const storage::SqlRow& r : rows)
        out.append({r[0].toString(), r[1].toString(), r[2].toString(), r[3].toString(),
                    r[4].toInt(), r[5].toInt(), r[6].toDouble(), r[7].toDouble()});
    return out;
}

PercentileBracket bracketValue(const QList<PercentileEntry>& percentiles, double value)
{
    PercentileBracket b;
    for (const PercentileEntry& p : percentiles) {
        if (p.value <= value && (!b.atOrBelow || p.value > b.atOrBelow->value))
            b.atOrBelow = p;
        if (p.value >= value && (!b.atOrAbove || p.value < b.atOrAbove->value))
            b.atOrAbove = p;
    }
    return b;
}

std::optional<PercentileEntry> findPercentile(const QList<PercentileEntry>& percentiles,
                                              const QString& code)
{
    for (const PercentileEntry& p : percentiles) {
        if (p.code == code)
            return p;
    }
    return std::nullopt;
}

}  // namespace server::reference
