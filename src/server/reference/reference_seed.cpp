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

// Deletes the rows of table whose (CDREFEBIBL, keyColumn) match each distinct key of rows,
// once per key: the tables a set replaces whole.
template <typename Row, typename KeyOf>
void clearTables(storage::Transaction& tx, const QString& table, const QString& keyColumn,
                 const QList<Row>& rows, KeyOf keyOf)
{
    QSet<QPair<QString, QString>> cleared;
    for (const Row& r : rows) {
        const QPair<QString, QString> key = keyOf(r);
        if (cleared.contains(key))
            continue;
        cleared.insert(key);
        tx.execute(
            QStringLiteral("DELETE FROM %1 WHERE CDREFEBIBL = ? AND %2 = ?").arg(table, keyColumn),
            {key.first, key.second});
    }
}

// Inserts the row unless its key (the first column) is stored; answers 1 when it did.
int insertMissing(storage::Transaction& tx, const QString& table, const QStringList& columns,
                  const QVariantList& values)
{
    if (tx.exists(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(table, columns.first()),
                  {values.first()}))
        return 0;
    const QStringList marks(columns.size(), QStringLiteral("?"));
    tx.execute(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
        values);
    return 1;
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

    clearTables(tx, QStringLiteral("refepercentil"), QStringLiteral("CDTBMETOAVAL"),
                set.percentiles,
                [](const PercentileRow& r) { return qMakePair(r.reference, r.owner); });
    insertRows(tx,
               QStringLiteral("INSERT INTO refepercentil (CDREFEBIBL, CDTBMETOAVAL, CDSEXO, "
                              "NRIDADEINI, NRIDADEFIN, CDPERCENTIL, NMPERCENTIL, VRPERCENTIL) "
                              "VALUES "),
               8, set.percentiles.size(), [&](qsizetype i, QVariantList& params) {
                   const PercentileRow& r = set.percentiles[i];
                   params << r.reference << r.owner << r.sex << r.fromMonths << r.toMonths << r.code
                          << r.name << r.value;
               });
    counts.percentiles = static_cast<int>(set.percentiles.size());

    clearTables(tx, QStringLiteral("refepadrao"), QStringLiteral("CDTBMETOAVAL"), set.standards,
                [](const StandardRow& r) { return qMakePair(r.reference, r.owner); });
    insertRows(tx,
               QStringLiteral("INSERT INTO refepadrao (CDREFEBIBL, CDTBMETOAVAL, CDPERCENTIL, "
                              "NRIDADEINI, NRIDADEFIN, VRSEXOMASC, VRSEXOFEMI) VALUES "),
               7, set.standards.size(), [&](qsizetype i, QVariantList& params) {
                   const StandardRow& r = set.standards[i];
                   params << r.reference << r.owner << r.code << r.fromMonths << r.toMonths
                          << r.male << r.female;
               });
    counts.standards = static_cast<int>(set.standards.size());

    clearTables(tx, QStringLiteral("refecurva"), QStringLiteral("CDCURVA"), set.curves,
                [](const CurvePoint& c) { return qMakePair(c.reference, c.curve); });
    insertRows(
        tx,
        QStringLiteral("INSERT INTO refecurva (CDREFEBIBL, CDCURVA, CDSEXO, CDSERIE, VREIXO, "
                       "VRVALOR) VALUES "),
        6, set.curves.size(), [&](qsizetype i, QVariantList& params) {
            const CurvePoint& c = set.curves[i];
            params << c.reference << c.curve << c.sex << c.series << c.x << c.value;
        });
    counts.curves = static_cast<int>(set.curves.size());

    clearTables(tx, QStringLiteral("refedensidade"), QStringLiteral("CDSEXO"), set.densityEquations,
                [](const DensityEquation& e) { return qMakePair(e.reference, e.sex); });
    insertRows(tx,
               QStringLiteral("INSERT INTO refedensidade (CDREFEBIBL, CDSEXO, NRIDADEINI, "
                              "NRIDADEFIN, VRCONSTANTE, VRINCLINACAO) VALUES "),
               6, set.densityEquations.size(), [&](qsizetype i, QVariantList& params) {
                   const DensityEquation& e = set.densityEquations[i];
                   params << e.reference << e.sex << e.fromYears << e.toYears << e.constant
                          << e.slope;
               });
    counts.equations = static_cast<int>(set.densityEquations.size());

    for (const InjuryFactor& f : set.injuryFactors)
        counts.lists += insertMissing(tx, QStringLiteral("fatoinju"),
                                      {QStringLiteral("CDFATOINJU"), QStringLiteral("NMFATOINJU"),
                                       QStringLiteral("VRFATOINJU"), QStringLiteral("DSFATOINJU")},
                                      {f.code, f.name, f.value, f.source});
    for (const NutrientReference& r : set.nutrientReferences)
        counts.lists +=
            insertMissing(tx, QStringLiteral("refenutr"),
                          {QStringLiteral("CDRFNUTRECOM"), QStringLiteral("DSRFNUTRECOM")},
                          {r.code, r.description});
    for (const NutrientGroup& g : set.nutrientGroups)
        counts.lists += insertMissing(tx, QStringLiteral("grupnutr"),
                                      {QStringLiteral("CDGRUPNUTR"), QStringLiteral("NMGRUPNUTR")},
                                      {g.code, g.name});

    QSet<QString> clearedRecommendations;
    for (const PerKgRecommendation& r : set.perKgRecommendations)
        if (!clearedRecommendations.contains(r.reference)) {
            clearedRecommendations.insert(r.reference);
            tx.execute(QStringLiteral("DELETE FROM recopeso WHERE CDRFNUTRECOM = ?"),
                       {r.reference});
        }
    insertRows(tx,
               QStringLiteral("INSERT INTO recopeso (CDRFNUTRECOM, CDSEXO, NRIDADEINI, NRIDADEFIN, "
                              "QTENERPESO, QTPROTPESO) VALUES "),
               6, set.perKgRecommendations.size(), [&](qsizetype i, QVariantList& params) {
                   const PerKgRecommendation& r = set.perKgRecommendations[i];
                   params << r.reference << r.sex << r.fromMonths << r.toMonths << r.energyKcal
                          << r.proteinG;
               });
    counts.perKg = static_cast<int>(set.perKgRecommendations.size());

    for (const Nutrient& n : set.nutrients)
        counts.lists += insertMissing(tx, QStringLiteral("nutriente"),
                                      {QStringLiteral("CDNUTRIENTE"), QStringLiteral("NMNUTRIENTE"),
                                       QStringLiteral("SGUNIDADE"), QStringLiteral("CDGRUPNUTR"),
                                       QStringLiteral("NMREDUZIDO")},
                                      {n.code, n.name, n.unit, n.group, n.shortName});

    // The ranges of a reference are replaced whole.
    QSet<QString> clearedRanges;
    for (const NutrientRange& r : set.nutrientRanges) {
        if (clearedRanges.contains(r.reference))
            continue;
        clearedRanges.insert(r.reference);
        tx.execute(QStringLiteral("DELETE FROM nutrrecom WHERE CDRFNUTRECOM = ?"), {r.reference});
    }
    insertRows(tx,
               QStringLiteral("INSERT INTO nutrrecom (CDRFNUTRECOM, CDNUTRIENTE, CDSEXO, "
                              "IDCONDICAO, NRIDADEINI, NRIDADEFIN, QTNUTRINIC, QTNUTRFINA, "
                              "IDUNCALCNUTR, DSTIPOVALOR) VALUES "),
               10, set.nutrientRanges.size(), [&](qsizetype i, QVariantList& params) {
                   const NutrientRange& r = set.nutrientRanges[i];
                   params << r.reference << r.nutrient << r.sex << r.condition << r.fromMonths
                          << r.toMonths << r.low << r.high
                          << QString(r.perKg ? QStringLiteral("0") : QStringLiteral("1"))
                          << r.valueType;
               });
    counts.ranges = static_cast<int>(set.nutrientRanges.size());
    return counts;
}

}  // namespace server::reference
