#include "body_fat_references.h"

#include <QMap>

#include <algorithm>
#include <stdexcept>

namespace server::reference::body_fat {
namespace {

[[noreturn]] void fail(const CsvTable& table, const QString& problem)
{
    throw std::runtime_error(QStringLiteral("%1: %2").arg(table.origin(), problem).toStdString());
}

bool holds(const DensityEquation& outer, const DensityEquation& inner)
{
    return outer.fromYears <= inner.fromYears && inner.toYears <= outer.toYears;
}

}  // namespace

QList<DensityEquation> densityEquations(const CsvTable& table)
{
    QMap<QString, QList<DensityEquation>> bySex;
    for (int r = 0; r < table.rowCount(); ++r) {
        DensityEquation e;
        e.reference = kDurnin1974;
        e.sex = sexLetter(table.wholeNumber(r, QStringLiteral("sex")));
        e.fromYears = table.wholeNumber(r, QStringLiteral("age_min_years"));
        e.toYears = table.wholeNumber(r, QStringLiteral("age_max_years"));
        e.constant = table.number(r, QStringLiteral("c"));
        e.slope = table.number(r, QStringLiteral("m"));
        if (e.fromYears < 0 || e.toYears < e.fromYears)
            fail(table,
                 QStringLiteral("faixa de idade %1 a %2 vazia.").arg(e.fromYears).arg(e.toYears));
        if (e.constant <= 0 || e.slope <= 0)
            fail(table,
                 QStringLiteral("coeficientes %1 e %2 impossíveis.").arg(e.constant).arg(e.slope));
        bySex[e.sex].append(e);
    }
    QList<DensityEquation> equations;
    for (QList<DensityEquation>& rows : bySex) {
        // Drop the pooled equations: those holding another band of their sex.
        QList<DensityEquation> bands;
        for (const DensityEquation& e : rows) {
            const bool pooled =
                std::any_of(rows.cbegin(), rows.cend(), [&](const DensityEquation& o) {
                    return &o != &e && holds(e, o) && !holds(o, e);
                });
            if (!pooled)
                bands.append(e);
        }
        std::sort(bands.begin(), bands.end(),
                  [](const DensityEquation& a, const DensityEquation& b) {
                      return a.fromYears < b.fromYears;
                  });
        for (qsizetype i = 1; i < bands.size(); ++i) {
            if (bands[i].fromYears <= bands[i - 1].toYears)
                fail(table, QStringLiteral("faixas de idade sobrepostas em %1 anos (sexo %2).")
                                .arg(bands[i].fromYears)
                                .arg(bands[i].sex));
        }
        if (!bands.isEmpty())
            bands.last().toYears = kOldestYears;
        equations += bands;
    }
    if (equations.isEmpty())
        fail(table, QStringLiteral("tabela vazia."));
    return equations;
}

double siriFatPercent(double density)
{
    return 495.0 / density - 450.0;
}

ReferenceSet bodyFatReferenceSet()
{
    ReferenceSet set;
    set.references = {
        {kDurnin1974, QStringLiteral("Durnin e Womersley 1974 - Soma de 4 pregas")},
        {kSiri1961, QStringLiteral("Siri 1961 - Densidade por dobras cutâneas (sem tabela)")},
    };
    set.listings = {{kSumOfSkinfoldsOwner, kDurnin1974}, {kSiriOwner, kSiri1961}};
    set.defaults = {{kSumOfSkinfoldsOwner, kDurnin1974}, {kSiriOwner, kSiri1961}};
    set.densityEquations = densityEquations(
        CsvTable::loadReference(QStringLiteral("durnin1974/body_density_equations.csv")));
    return set;
}

}  // namespace server::reference::body_fat
