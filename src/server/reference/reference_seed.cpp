#include "reference_seed.h"

#include <QSet>

namespace server::reference {
namespace {

constexpr int kRowsPerInsert = 100;

QString insertStatement(int rowCount)
{
    QString sql = QStringLiteral("INSERT INTO refepercentil (CDREFEBIBL, CDTBMETOAVAL, CDSEXO, "
                                 "NRIDADEINI, NRIDADEFIN, CDPERCENTIL, NMPERCENTIL, VRPERCENTIL) "
                                 "VALUES ");
    for (int i = 0; i < rowCount; ++i)
        sql += i == 0 ? QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?)")
                      : QStringLiteral(", (?, ?, ?, ?, ?, ?, ?, ?)");
    return sql;
}

void insertPercentiles(storage::Transaction& tx, const QList<PercentileRow>& rows)
{
    for (qsizetype start = 0; start < rows.size(); start += kRowsPerInsert) {
        const int count =
            static_cast<int>(std::min<qsizetype>(kRowsPerInsert, rows.size() - start));
        QVariantList params;
        params.reserve(count * 8);
        for (int i = 0; i < count; ++i) {
            const PercentileRow& r = rows[start + i];
            params << r.reference << r.owner << r.sex << r.fromMonths << r.toMonths << r.code
                   << r.name << r.value;
        }
        tx.execute(insertStatement(count), params);
    }
}

}  // namespace

SeedCounts seedReferenceSet(storage::Transaction& tx, const ReferenceSet& set)
{
    SeedCounts counts;
    for (const ReferenceEntry& ref : set.references) {
        if (tx.exists(QStringLiteral("SELECT 1 FROM refebibl WHERE CDREFEBIBL = ?"), {ref.code}))
            continue;
        tx.execute(QStringLiteral("INSERT INTO refebibl (CDREFEBIBL, NMREFEBIBL) VALUES (?, ?)"),
                   {ref.code, ref.name});
        ++counts.references;
    }
    for (const ReferenceListing& l : set.listings) {
        if (tx.exists(QStringLiteral("SELECT 1 FROM refelista WHERE CDLISTA = 'METO' AND "
                                     "CDDONO = ? AND CDREFEBIBL = ?"),
                      {l.owner, l.reference}))
            continue;
        tx.execute(QStringLiteral("INSERT INTO refelista (CDLISTA, CDDONO, CDREFEBIBL) "
                                  "VALUES ('METO', ?, ?)"),
                   {l.owner, l.reference});
        ++counts.listings;
    }
    for (const DefaultReference& d : set.defaults) {
        counts.defaults += static_cast<int>(tx.execute(
            QStringLiteral("UPDATE tbmetoaval SET CDTBREFMETOA = ? WHERE CDTBMETOAVAL = ? "
                           "AND (CDTBREFMETOA IS NULL OR CDTBREFMETOA = '')"),
            {d.reference, d.method}));
    }

    QSet<QPair<QString, QString>> tables;
    for (const PercentileRow& r : set.percentiles) {
        const QPair<QString, QString> table{r.reference, r.owner};
        if (tables.contains(table))
            continue;
        tables.insert(table);
        tx.execute(
            QStringLiteral("DELETE FROM refepercentil WHERE CDREFEBIBL = ? AND CDTBMETOAVAL = ?"),
            {r.reference, r.owner});
    }
    insertPercentiles(tx, set.percentiles);
    counts.percentiles = static_cast<int>(set.percentiles.size());

    QSet<QPair<QString, QString>> standardTables;
    for (const StandardRow& r : set.standards) {
        if (!standardTables.contains({r.reference, r.owner})) {
            standardTables.insert({r.reference, r.owner});
            tx.execute(
                QStringLiteral("DELETE FROM refepadrao WHERE CDREFEBIBL = ? AND CDTBMETOAVAL = ?"),
                {r.reference, r.owner});
        }
    }
    for (const StandardRow& r : set.standards)
        tx.execute(QStringLiteral("INSERT INTO refepadrao (CDREFEBIBL, CDTBMETOAVAL, CDPERCENTIL, "
                                  "NRIDADEINI, NRIDADEFIN, VRSEXOMASC, VRSEXOFEMI) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                   {r.reference, r.owner, r.code, r.fromMonths, r.toMonths, r.male, r.female});
    counts.standards = static_cast<int>(set.standards.size());
    return counts;
}

}  // namespace server::reference
