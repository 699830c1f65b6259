#include "reference_seed.h"

#include <QSet>
#include <QStringList>

#include <functional>

namespace server::reference {
namespace {

constexpr int kRowsPerInsert = 100;

// Inserts rowCount rows of columnCount values each, kRowsPerInsert rows a statement;
// bind(i, params) appends the values of row i.
void insertRows(storage::Transaction& tx, const QString& head, int columnCount, qsizetype rowCount,
                const std::function<void(qsizetype, QVariantList&)>& bind)
{
    QStringList marks(columnCount, QStringLiteral("?"));
    const QString tuple = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    for (qsizetype start = 0; start < rowCount; start += kRowsPerInsert) {
        const int count = static_cast<int>(std::min<qsizetype>(kRowsPerInsert, rowCount - start));
        QString sql = head;
        QVariantList params;
        params.reserve(count * columnCount);
        for (int i = 0; i < count; ++i) {
            sql += i == 0 ? tuple : QStringLiteral(", ") + tuple;
            bind(start + i, params);
        }
        tx.execute(sql, params);
    }
}

void insertPercentiles(storage::Transaction& tx, const QList<PercentileRow>& rows)
{
    insertRows(tx,
               QStringLiteral("INSERT INTO refepercentil (CDREFEBIBL, CDTBMETOAVAL, CDSEXO, "
                              "NRIDADEINI, NRIDADEFIN, CDPERCENTIL, NMPERCENTIL, VRPERCENTIL) "
                              "VALUES "),
               8, rows.size(), [&](qsizetype i, QVariantList& params) {
                   const PercentileRow& r = rows[i];
                   params << r.reference << r.owner << r.sex << r.fromMonths << r.toMonths << r.code
                          << r.name << r.value;
               });
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
        if (tx.exists(QStringLiteral("SELECT 1 FROM refelista WHERE CDLISTA = ? AND "
                                     "CDDONO = ? AND CDREFEBIBL = ?"),
                      {l.list, l.owner, l.reference}))
            continue;
        tx.execute(QStringLiteral("INSERT INTO refelista (CDLISTA, CDDONO, CDREFEBIBL) "
                                  "VALUES (?, ?, ?)"),
                   {l.list, l.owner, l.reference});
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

    QSet<QPair<QString, QString>> curves;
    for (const CurvePoint& c : set.curves) {
        if (!curves.contains({c.reference, c.curve})) {
            curves.insert({c.reference, c.curve});
            tx.execute(QStringLiteral("DELETE FROM refecurva WHERE CDREFEBIBL = ? AND CDCURVA = ?"),
                       {c.reference, c.curve});
        }
    }
    insertRows(
        tx,
        QStringLiteral("INSERT INTO refecurva (CDREFEBIBL, CDCURVA, CDSEXO, CDSERIE, VREIXO, "
                       "VRVALOR) VALUES "),
        6, set.curves.size(), [&](qsizetype i, QVariantList& params) {
            const CurvePoint& c = set.curves[i];
            params << c.reference << c.curve << c.sex << c.series << c.x << c.value;
        });
    counts.curves = static_cast<int>(set.curves.size());
    return counts;
}

}  // namespace server::reference
