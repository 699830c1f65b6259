#include "nutrient_references.h"

#include "energy_references.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <stdexcept>

namespace server::reference::nutrient {
namespace {

struct CatalogueEntry
{
    Nutrient nutrient;
    const char* driName;  // nutrient column of the DRI file; nullptr when not in it
    const char* driUnit;  // its unit column
};

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

const QList<CatalogueEntry>& catalogue()
{
    namespace energy = reference::energy;
    static const QList<CatalogueEntry> entries = [] {
        struct Raw
        {
            const char* code;
            const char* name;
            const char* unit;
            const QString* group;
            const char* shortName;
            const char* driName;
            const char* driUnit;
        };
        const Raw raw[] = {
            {"001", "Energia", "kcal", &energy::kMacronutrients, "ENER", nullptr, nullptr},
            {"002", "Proteína", "g", &energy::kMacronutrients, "PTN", "Protein", "g/d"},
            {"003", "Carboidrato", "g", &energy::kMacronutrients, "CHO", "Carbohydrate", "g/d"},
            {"004", "Fibra total", "g", &energy::kMacronutrients, "FIBR", "Total fiber", "g/d"},
            {"005", "Lipídios", "g", &energy::kMacronutrients, "LIP", "Fat", "g/d"},
            {"006", "Ácido linoleico", "g", &energy::kMacronutrients, "AL", "Linoleic acid", "g/d"},
            {"007", "Ácido alfa-linolênico", "g", &energy::kMacronutrients, "ALA",
             "a-Linolenic acid", "g/d"},
            {"008", "Água total", "L", &energy::kMacronutrients, "AGUA", "Total water", "L/d"},
            {"009", "Vitamina A", "µg RAE", &energy::kVitamins, "VA", "Vitamin A", "ug/d"},
            {"010", "Vitamina C", "mg", &energy::kVitamins, "VC", "Vitamin C", "mg/d"},
            {"011", "Vitamina D", "µg", &energy::kVitamins, "VD", "Vitamin D", "ug/d"},
            {"012", "Vitamina E", "mg", &energy::kVitamins, "VE", "Vitamin E", "mg/d"},
            {"013", "Vitamina K", "µg", &energy::kVitamins, "VK", "Vitamin K", "ug/d"},
            {"014", "Tiamina", "mg", &energy::kVitamins, "B1", "Thiamin", "mg/d"},
            {"015", "Riboflavina", "mg", &energy::kVitamins, "B2", "Riboflavin", "mg/d"},
            {"016", "Niacina", "mg NE", &energy::kVitamins, "B3", "Niacin", "mg/d"},
            {"017", "Vitamina B6", "mg", &energy::kVitamins, "B6", "Vitamin B6", "mg/d"},
            {"018", "Folato", "µg DFE", &energy::kVitamins, "FOL", "Folate", "ug/d"},
            {"019", "Vitamina B12", "µg", &energy::kVitamins, "B12", "Vitamin B12", "ug/d"},
            {"020", "Ácido pantotênico", "mg", &energy::kVitamins, "B5", "Pantothenic acid",
             "mg/d"},
            {"021", "Biotina", "µg", &energy::kVitamins, "B7", "Biotin", "ug/d"},
            {"022", "Colina", "mg", &energy::kVitamins, "COL", "Choline", "mg/d"},
            {"023", "Cálcio", "mg", &energy::kMinerals, "Ca", "Calcium", "mg/d"},
            {"024", "Cromo", "µg", &energy::kMinerals, "Cr", "Chromium", "ug/d"},
            {"025", "Cobre", "µg", &energy::kMinerals, "Cu", "Copper", "ug/d"},
            {"026", "Flúor", "mg", &energy::kMinerals, "F", "Fluoride", "mg/d"},
            {"027", "Iodo", "µg", &energy::kMinerals, "I", "Iodine", "ug/d"},
            {"028", "Ferro", "mg", &energy::kMinerals, "Fe", "Iron", "mg/d"},
            {"029", "Magnésio", "mg", &energy::kMinerals, "Mg", "Magnesium", "mg/d"},
            {"030", "Manganês", "mg", &energy::kMinerals, "Mn", "Manganese", "mg/d"},
            {"031", "Molibdênio", "µg", &energy::kMinerals, "Mo", "Molybdenum", "ug/d"},
            {"032", "Fósforo", "mg", &energy::kMinerals, "P", "Phosphorus", "mg/d"},
            {"033", "Selênio", "µg", &energy::kMinerals, "Se", "Selenium", "ug/d"},
            {"034", "Zinco", "mg", &energy::kMinerals, "Zn", "Zinc", "mg/d"},
            {"035", "Potássio", "g", &energy::kMinerals, "K", "Potassium", "g/d"},
            {"036", "Sódio", "g", &energy::kMinerals, "Na", "Sodium", "g/d"},
            {"037", "Cloreto", "g", &energy::kMinerals, "Cl", "Chloride", "g/d"},
        };
        QList<CatalogueEntry> list;
        for (const Raw& r : raw)
            list.append({{QString::fromLatin1(r.code), u8(r.name), u8(r.unit), *r.group,
                          QString::fromLatin1(r.shortName)},
                         r.driName,
                         r.driUnit});
        return list;
    }();
    return entries;
}

const QString kEnergy = QStringLiteral("001");
const QString kProtein = QStringLiteral("002");

// The DRI life-stage groups in completed months of life, both ends included: "1-3 yr" runs
// from the first birthday to the month before the fourth.
struct LifeStage
{
    const char* group;
    int fromMonths;
    int toMonths;
};
constexpr LifeStage kLifeStages[] = {
    {"0-6 mo", 0, 5},       {"6-12 mo", 6, 11},
    {"1-3 yr", 12, 47},     {"4-8 yr", 48, 107},
    {"9-13 yr", 108, 167},  {"14-18 yr", 168, 227},
    {"19-30 yr", 228, 371}, {"31-50 yr", 372, 611},
    {"51-70 yr", 612, 851}, {">70 yr", 852, energy::kOldestMonths},
};

[[noreturn]] void fail(const CsvTable& table, int row, const QString& problem)
{
    throw std::runtime_error(QStringLiteral("%1, linha %2: %3")
                                 .arg(table.origin())
                                 .arg(row + 2)
                                 .arg(problem)
                                 .toStdString());
}

}  // namespace

QList<Nutrient> nutrientCatalogue()
{
    QList<Nutrient> list;
    for (const CatalogueEntry& e : catalogue())
        list.append(e.nutrient);
    return list;
}

QList<NutrientRange> driRanges(const CsvTable& table)
{
    QHash<QString, const CatalogueEntry*> byName;
    for (const CatalogueEntry& e : catalogue()) {
        if (e.driName)
            byName.insert(QString::fromLatin1(e.driName), &e);
    }
    const QHash<QString, QString> sexes = {{QStringLiteral("Both"), kBothSexes},
                                           {QStringLiteral("Males"), QStringLiteral("M")},
                                           {QStringLiteral("Females"), QStringLiteral("F")}};
    const QHash<QString, QString> conditions = {{QStringLiteral("Infants"), kNoCondition},
                                                {QStringLiteral("Children"), kNoCondition},
                                                {QStringLiteral("None"), kNoCondition},
                                                {QStringLiteral("Pregnancy"), kPregnancy},
                                                {QStringLiteral("Lactation"), kLactation}};
    QList<NutrientRange> ranges;
    for (int r = 0; r < table.rowCount(); ++r) {
        // The RDA and AI worksheets only: EARs and upper limits are not recommendations.
        const QString sheet = table.text(r, QStringLiteral("source_sheet"));
        if (!sheet.startsWith(QLatin1String("2_")) && !sheet.startsWith(QLatin1String("3_"))
            && !sheet.startsWith(QLatin1String("4_")))
            continue;
        const QString type = table.text(r, QStringLiteral("value_type"));
        if (table.text(r, QStringLiteral("value")).isEmpty())
            continue;  // not determinable
        if (type != QLatin1String("RDA") && type != QLatin1String("AI"))
            fail(table, r, QStringLiteral("tipo de valor '%1' inesperado.").arg(type));
        const QString name = table.text(r, QStringLiteral("nutrient"));
        const CatalogueEntry* entry = byName.value(name);
        if (!entry)
            fail(table, r, QStringLiteral("nutriente '%1' fora do catálogo.").arg(name));
        if (table.text(r, QStringLiteral("unit")) != QLatin1String(entry->driUnit))
            fail(table, r,
                 QStringLiteral("unidade '%1' em vez de '%2' para '%3'.")
                     .arg(table.text(r, QStringLiteral("unit")), QLatin1String(entry->driUnit),
                          name));
        const QString group = table.text(r, QStringLiteral("age_group"));
        const LifeStage* stage =
            std::find_if(std::begin(kLifeStages), std::end(kLifeStages),
                         [&](const LifeStage& s) { return group == QLatin1String(s.group); });
        const QString sex = sexes.value(table.text(r, QStringLiteral("sex")));
        const QString condition = conditions.value(table.text(r, QStringLiteral("life_stage")));
        if (stage == std::end(kLifeStages) || sex.isEmpty() || condition.isEmpty())
            fail(table, r, QStringLiteral("sexo, estágio de vida ou faixa etária desconhecidos."));
        const double value = table.number(r, QStringLiteral("value"));
        if (value <= 0)
            fail(table, r, QStringLiteral("valor %1 impossível.").arg(value));
        ranges.append({energy::kDriIom, entry->nutrient.code, sex, condition, stage->fromMonths,
                       stage->toMonths, value, value, false, type});
    }
    return ranges;
}

QList<NutrientRange> rda1989Ranges(const CsvTable& table)
{
    struct Band
    {
        QString sex;
        int fromMonths;
        double toYears;
        double energy;
        double protein;
        int row;
    };
    QList<Band> bands;
    for (int r = 0; r < table.rowCount(); ++r) {
        const int code = table.wholeNumber(r, QStringLiteral("sex"));
        const QString sex = code == 0 ? kBothSexes : sexLetter(code);
        const double from = table.number(r, QStringLiteral("age_min_years"));
        bands.append({sex, static_cast<int>(std::lround(from * 12)),
                      table.number(r, QStringLiteral("age_max_years")),
                      table.number(r, QStringLiteral("energy_kcal_per_kg")),
                      table.number(r, QStringLiteral("protein_g_per_kg")), r});
    }
    std::sort(bands.begin(), bands.end(),
              [](const Band& a, const Band& b) { return a.fromMonths < b.fromMonths; });
    QList<NutrientRange> ranges;
    for (const Band& b : bands) {
        // The band runs to the month before the next band a patient of its sex can fall in.
        int to = energy::kOldestMonths;
        for (const Band& next : bands) {
            const bool sameSex = next.sex == b.sex || next.sex == kBothSexes || b.sex == kBothSexes;
            if (sameSex && next.fromMonths > b.fromMonths) {
                to = next.fromMonths - 1;
                break;
            }
        }
        // "0.0-0.5" closes before its upper age, "1-3" at the month before the fourth
        // birthday; anything else means a band is missing.
        const int closes = to + 1;
        const bool last = to == energy::kOldestMonths;
        if (!last && closes != std::lround(b.toYears * 12)
            && closes != std::lround((b.toYears + 1) * 12))
            fail(table, b.row, QStringLiteral("a faixa não encontra a seguinte."));
        if (b.energy <= 0 || b.protein <= 0)
            fail(table, b.row, QStringLiteral("valor impossível."));
        ranges.append({energy::kRda1989, kEnergy, b.sex, kNoCondition, b.fromMonths, to, b.energy,
                       b.energy, true, QStringLiteral("RDA")});
        ranges.append({energy::kRda1989, kProtein, b.sex, kNoCondition, b.fromMonths, to, b.protein,
                       b.protein, true, QStringLiteral("RDA")});
    }
    return ranges;
}

void checkNutrientRanges(const QList<NutrientRange>& ranges)
{
    QMap<QString, QList<const NutrientRange*>> byKey;
    for (const NutrientRange& r : ranges) {
        if (r.fromMonths < 0 || r.toMonths < r.fromMonths || r.high < r.low)
            throw std::runtime_error(
                QStringLiteral("faixa de %1 na referência %2 vazia ou invertida.")
                    .arg(r.nutrient, r.reference)
                    .toStdString());
        byKey[r.reference + QLatin1Char('|') + r.nutrient + QLatin1Char('|') + r.condition].append(
            &r);
    }
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it) {
        const QList<const NutrientRange*>& list = *it;
        for (qsizetype i = 0; i < list.size(); ++i) {
            for (qsizetype j = i + 1; j < list.size(); ++j) {
                const NutrientRange& a = *list[i];
                const NutrientRange& b = *list[j];
                const bool sameSex = a.sex == b.sex || a.sex == kBothSexes || b.sex == kBothSexes;
                if (sameSex && a.fromMonths <= b.toMonths && b.fromMonths <= a.toMonths)
                    throw std::runtime_error(
                        QStringLiteral("faixas sobrepostas de %1 na referência %2 (meses %3 e %4).")
                            .arg(a.nutrient, a.reference)
                            .arg(a.fromMonths)
                            .arg(b.fromMonths)
                            .toStdString());
            }
        }
    }
}

ReferenceSet nutrientReferenceSet()
{
    ReferenceSet set;
    set.nutrients = nutrientCatalogue();
    set.nutrientRanges =
        rda1989Ranges(CsvTable::loadReference(QStringLiteral("rda1989/energy_protein_per_kg.csv")))
        + driRanges(CsvTable::loadReference(QStringLiteral("dri_iom/dri_values_long.csv")));
    checkNutrientRanges(set.nutrientRanges);
    return set;
}

}  // namespace server::reference::nutrient
