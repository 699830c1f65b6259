#include "seed.h"

#include "../methods/registry.h"
#include "../reference/arm_references.h"
#include "../reference/bmi_references.h"
#include "../reference/body_fat_references.h"
#include "../reference/energy_references.h"
#include "../reference/growth_references.h"
#include "../reference/ideal_weight_references.h"
#include "../reference/nutrient_references.h"
#include "../reference/reference_seed.h"
#include "../storage/schema.h"

#include <algorithm>
#include <iterator>

namespace server::seed {
namespace {

// Steps 2 onwards, in order: the reference set of one family of methods each. The step
// number is the position in the list plus two; a new family goes at the end.
using ReferenceSetSource = reference::ReferenceSet (*)();
constexpr ReferenceSetSource kReferenceSteps[] = {
    reference::bmi::bmiReferenceSet,           reference::arm::armReferenceSet,
    reference::ideal::idealWeightReferenceSet, reference::energy::energyReferenceSet,
    reference::body_fat::bodyFatReferenceSet,  reference::growth::growthReferenceSet,
    reference::nutrient::nutrientReferenceSet,
};
constexpr int kLatestSeed = 1 + static_cast<int>(std::size(kReferenceSteps));

bool empty(storage::Transaction& tx, const QString& table)
{
    return !tx.exists(QStringLiteral("SELECT 1 FROM %1").arg(table));
}

QDate bornAgo(const QDate& today, int years, int months)
{
    return today.addYears(-years).addMonths(-months);
}

}  // namespace

CatalogueRows moduleCatalogue()
{
    CatalogueRows rows;
    rows.methods = records::catalogueMethods();
    rows.dataTypes = records::catalogueDataTypes();
    rows.links = records::catalogueLinks() + records::catalogueExtraLinks();
    return rows;
}

void seedCatalogue(storage::Transaction& tx, const CatalogueRows& rows)
{
    if (empty(tx, QStringLiteral("tbmetoaval"))) {
        int entry = 0;
        for (const records::CatalogueMethod& m : rows.methods) {
            ++entry;
            tx.execute(QStringLiteral("INSERT INTO tbmetoaval (CDTBMETOAVAL, IDTBUTILTABE, "
                                      "NMTBMETOAVAL, IDSEQUMETO, DSTBMETOAVAL, NRCTMETOAVAL) "
                                      "VALUES (?, ?, ?, ?, ?, ?)"),
                       {m.CDTBMETOAVAL, m.IDTBUTILTABE, m.NMTBMETOAVAL,
                        QStringLiteral("%1").arg(entry, 2, 10, QLatin1Char('0')), m.DSTBMETOAVAL,
                        m.NRCTMETOAVAL});
        }
    }
    if (empty(tx, QStringLiteral("tipodado"))) {
        for (const records::CatalogueDataType& t : rows.dataTypes) {
            tx.execute(QStringLiteral("INSERT INTO tipodado (CDTIPODADO, NMTIPODADO, DSUNIDDADO) "
                                      "VALUES (?, ?, ?)"),
                       {t.CDTIPODADO, t.NMTIPODADO, t.DSUNIDDADO});
        }
    }
    for (const records::CatalogueLink& l : rows.links) {
        const bool known =
            tx.exists(QStringLiteral("SELECT 1 FROM tbmetoaval WHERE CDTBMETOAVAL = ?"),
                      {l.CDTBMETOAVAL})
            && tx.exists(QStringLiteral("SELECT 1 FROM tipodado WHERE CDTIPODADO = ?"),
                         {l.CDTIPODADO});
        const bool present = tx.exists(
            QStringLiteral("SELECT 1 FROM dadoaval WHERE CDTIPODADO = ? AND CDTBMETOAVAL = ?"),
            {l.CDTIPODADO, l.CDTBMETOAVAL});
        if (!known || present)
            continue;
        const QVariant last =
            tx.scalar(QStringLiteral("SELECT MAX(NRORDEM) FROM dadoaval WHERE CDTBMETOAVAL = ?"),
                      {l.CDTBMETOAVAL});
        const qlonglong next = last.isNull() ? 1 : last.toLongLong() + 1;
        tx.execute(QStringLiteral("INSERT INTO dadoaval (CDTIPODADO, CDTBMETOAVAL, NRORDEM) "
                                  "VALUES (?, ?, ?)"),
                   {l.CDTIPODADO, l.CDTBMETOAVAL, next});
    }
}

QList<DemoPatient> demoPatients(const QDate& today)
{
    return {
        {QStringLiteral("000000000001"), QStringLiteral("José Carlos da Silva"),
         QStringLiteral("0"), bornAgo(today, 45, 3), false},
        {QStringLiteral("000000000002"), QStringLiteral("Maria Aparecida Santos"),
         QStringLiteral("1"), bornAgo(today, 32, 7), false},
        {QStringLiteral("000000000003"), QStringLiteral("Antônio Ferreira Lima"),
         QStringLiteral("0"), bornAgo(today, 78, 1), false},
        {QStringLiteral("000000000004"), QStringLiteral("Ana Beatriz Oliveira"),
         QStringLiteral("1"), bornAgo(today, 15, 4), false},
        {QStringLiteral("000000000005"), QStringLiteral("Pedro Henrique Souza"),
         QStringLiteral("0"), bornAgo(today, 2, 8), false},
        {QStringLiteral("000000000006"), QStringLiteral("Francisca Alves Pereira"),
         QStringLiteral("1"), bornAgo(today, 67, 0), true},
    };
}

bool seedDatabase(storage::Database& db, const SeedOptions& options)
{
    return storage::inTransaction(db, storage::Access::ReadWrite, [&](storage::Transaction& tx) {
        const int done = storage::recordedVersion(tx, QStringLiteral("seed"));
        if (done >= kLatestSeed)
            return false;
        if (done < 1) {
            seedCatalogue(tx, options.catalogue);
            if (options.demoPatients && empty(tx, QStringLiteral("paciente"))) {
                const QDate today = QDate::currentDate();
                for (const DemoPatient& p : demoPatients(today))
                    methods::savePatient(tx, {QStringLiteral("0001"), p.code, p.name, p.sexCode,
                                              p.birth, p.deceased});
            }
        }
        for (int step = std::max(done, 1) + 1; step <= kLatestSeed; ++step)
            reference::seedReferenceSet(tx, kReferenceSteps[step - 2]());
        storage::recordVersion(tx, QStringLiteral("seed"), kLatestSeed);
        return true;
    });
}

}  // namespace server::seed
