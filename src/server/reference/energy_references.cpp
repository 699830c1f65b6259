#include "energy_references.h"

#include <QMap>

#include <algorithm>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace server::reference::energy {
namespace {

const QString kLong1979 =
    QStringLiteral("Long CL et al. Metabolic response to injury and illness. JPEN 1979;3:452-6");

struct InjuryName
{
    const char* tableCode;  // code column of the Long 1979 file
    QString code;           // CDFATOINJU
    QString name;           // NMFATOINJU
};

const QList<InjuryName>& injuryNames()
{
    static const QList<InjuryName> names = {
        {"minor_operation", QStringLiteral("01"), QStringLiteral("Cirurgia Menor")},
        {"skeletal_trauma", QStringLiteral("02"), QStringLiteral("Trauma Esquelético")},
        {"major_sepsis", QStringLiteral("03"), QStringLiteral("Sepse Grave")},
        {"severe_thermal_burn", QStringLiteral("04"), QStringLiteral("Queimadura Grave")},
    };
    return names;
}

[[noreturn]] void fail(const CsvTable& table, const QString& problem)
{
    throw std::runtime_error(QStringLiteral("%1: %2").arg(table.origin(), problem).toStdString());
}

}  // namespace

QList<StandardRow> bmrStandards(const CsvTable& table)
{
    struct BySex
    {
        std::optional<double> male;
        std::optional<double> female;
    };
    QMap<int, BySex> byAge;
    for (int r = 0; r < table.rowCount(); ++r) {
        const QString sex = sexLetter(table.wholeNumber(r, QStringLiteral("sex")));
        const int age = table.wholeNumber(r, QStringLiteral("age_years"));
        const double value = table.number(r, QStringLiteral("bmr_kcal_per_m2_per_hour"));
        if (age < 0 || value <= 0)
            fail(table, QStringLiteral("idade %1 ou valor %2 impossível.").arg(age).arg(value));
        std::optional<double>& slot =
            sex == QLatin1String("M") ? byAge[age].male : byAge[age].female;
        if (slot)
            fail(table, QStringLiteral("idade %1 repetida para o sexo %2.").arg(age).arg(sex));
        slot = value;
    }
    if (byAge.isEmpty())
        fail(table, QStringLiteral("tabela vazia."));
    QList<StandardRow> rows;
    for (auto it = byAge.cbegin(); it != byAge.cend(); ++it) {
        if (!it->male || !it->female)
            fail(table, QStringLiteral("a idade %1 não tem os dois sexos.").arg(it.key()));
        const auto next = std::next(it);
        rows.append({kFleisch1951, kBmrOwner, kBmrStandard, rows.isEmpty() ? 0 : it.key() * 12,
                     next == byAge.cend() ? kOldestMonths : next.key() * 12 - 1, *it->male,
                     *it->female});
    }
    return rows;
}

QList<InjuryFactor> injuryFactors(const CsvTable& table)
{
    QList<InjuryFactor> factors;
    for (int r = 0; r < table.rowCount(); ++r) {
        if (table.text(r, QStringLiteral("factor_group")) != QLatin1String("injury"))
            continue;
        const QString code = table.text(r, QStringLiteral("code"));
        const auto named =
            std::find_if(injuryNames().cbegin(), injuryNames().cend(),
                         [&](const InjuryName& n) { return code == QLatin1String(n.tableCode); });
        if (named == injuryNames().cend())
            fail(table, QStringLiteral("fator de injúria '%1' sem nome.").arg(code));
        const double value = table.number(r, QStringLiteral("factor"));
        if (value < 1)
            fail(table, QStringLiteral("fator de injúria '%1' menor que 1.").arg(code));
        factors.append({named->code, named->name, value, kLong1979});
    }
    if (factors.size() != injuryNames().size())
        fail(table, QStringLiteral("%1 fatores de injúria em vez de %2.")
                        .arg(factors.size())
                        .arg(injuryNames().size()));
    factors.append({kNoInjury, QStringLiteral("Sem Injúria"), 1.0,
                    QStringLiteral("Fator neutro: gasto basal sem correção por injúria")});
    return factors;
}

ReferenceSet energyReferenceSet()
{
    ReferenceSet set;
    set.references = {
        {kFleisch1951, QStringLiteral("Fleisch 1951 (provável) - TMB por m² de superfície")},
    };
    set.standards = bmrStandards(
        CsvTable::loadReference(QStringLiteral("bmr_per_m2/bmr_kcal_per_m2_per_hour.csv")));
    set.injuryFactors = injuryFactors(
        CsvTable::loadReference(QStringLiteral("long1979/activity_injury_factors.csv")));
    set.nutrientReferences = {
        {kRda1989, QStringLiteral("RDA 1989 - Recommended Dietary Allowances (NRC)")},
        {kDriIom, QStringLiteral("DRI - Dietary Reference Intakes (IOM, 1997-2011)")},
    };
    set.nutrientGroups = {
        {kMacronutrients, QStringLiteral("Macronutrientes")},
        {kVitamins, QStringLiteral("Vitaminas")},
        {kMinerals, QStringLiteral("Minerais")},
    };
    return set;
}

}  // namespace server::reference::energy
