#include "growth_references.h"

#include "curve_lookup.h"
#include "lms.h"

#include "records/method_codes.h"

#include <QMap>

#include <cmath>
#include <stdexcept>

namespace server::reference::growth {
namespace {

namespace method = records::method;

const QString kL = QStringLiteral("L");
const QString kM = QStringLiteral("M");
const QString kS = QStringLiteral("S");

[[noreturn]] void fail(const CsvTable& table, const QString& problem)
{
    throw std::runtime_error(QStringLiteral("%1: %2").arg(table.origin(), problem).toStdString());
}

QString sexOf(const CsvTable& table, int r)
{
    return sexLetter(table.wholeNumber(r, QStringLiteral("sex")));
}

double rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

struct Lms
{
    double l, m, s;
};

// The L, M and S of a day table by sex and day.
QMap<QString, QMap<int, Lms>> lmsByDay(const CsvTable& lms)
{
    QMap<QString, QMap<int, Lms>> bySex;
    for (int r = 0; r < lms.rowCount(); ++r)
        bySex[sexOf(lms, r)].insert(lms.wholeNumber(r, QStringLiteral("age_days")),
                                    {lms.number(r, QStringLiteral("l")),
                                     lms.number(r, QStringLiteral("m")),
                                     lms.number(r, QStringLiteral("s"))});
    return bySex;
}

// Calls visit(sex, month, lms) for each completed month whose middle the table covers.
template <typename Visit> void forEachMonth(const CsvTable& table, Visit visit)
{
    const auto bySex = lmsByDay(table);
    for (auto sex = bySex.cbegin(); sex != bySex.cend(); ++sex)
        for (int month = 0;; ++month) {
            const auto day = sex->constFind(whoTableDay(month));
            if (day == sex->cend())
                break;
            visit(sex.key(), month, *day);
        }
}

}  // namespace

int whoTableDay(int months)
{
    return static_cast<int>(std::lround((months + 0.5) * kDaysPerMonth));
}

QList<CurvePoint> nchs1977Points(const CsvTable& table, const QString& curve,
                                 const QString& axisColumn)
{
    static const int tabulated[] = {5, 10, 25, 50, 75, 90, 95};
    QList<CurvePoint> points;
    for (int r = 0; r < table.rowCount(); ++r) {
        const QString sex = sexOf(table, r);
        const double x = curveAxis(table.number(r, axisColumn));
        const auto p = [&](int n) { return table.number(r, QStringLiteral("p%1").arg(n)); };
        const double median = p(50);
        const double below = ((median - p(5)) / percentileZ(95) + (median - p(10)) / percentileZ(90)
                              + (median - p(25)) / percentileZ(75))
                             / 3;
        const double above =
            ((p(95) - median) / percentileZ(95) + (p(90) - median) / percentileZ(90)
             + (p(75) - median) / percentileZ(75))
            / 3;
        const double p3 = rounded(median - percentileZ(97) * below, 2);
        const double p97 = rounded(median + percentileZ(97) * above, 2);
        if (!(p3 < p(5) && p97 > p(95)))
            fail(table, QStringLiteral("P3 %1 ou P97 %2 derivados fora de P5-P95 em %3.")
                            .arg(p3)
                            .arg(p97)
                            .arg(x));
        points.append({kNchs1977, curve, sex, percentileCode(3), x, p3});
        for (int n : tabulated)
            points.append({kNchs1977, curve, sex, percentileCode(n), x, p(n)});
        points.append({kNchs1977, curve, sex, percentileCode(97), x, p97});
    }
    return points;
}

QList<CurvePoint> who2006MonthlyLmsPoints(const CsvTable& lms, const QString& curve)
{
    QList<CurvePoint> points;
    forEachMonth(lms, [&](const QString& sex, int month, const Lms& v) {
        const double x = monthMiddle(month);
        points.append({kWho2006, curve, sex, kL, x, v.l});
        points.append({kWho2006, curve, sex, kM, x, v.m});
        points.append({kWho2006, curve, sex, kS, x, v.s});
    });
    return points;
}

QList<CurvePoint> who2006LmsPoints(const CsvTable& lms, const QString& curve,
                                   const QString& axisColumn)
{
    QList<CurvePoint> points;
    for (int r = 0; r < lms.rowCount(); ++r) {
        const QString sex = sexOf(lms, r);
        const double x = curveAxis(lms.number(r, axisColumn));
        points.append({kWho2006, curve, sex, kL, x, lms.number(r, QStringLiteral("l"))});
        points.append({kWho2006, curve, sex, kM, x, lms.number(r, QStringLiteral("m"))});
        points.append({kWho2006, curve, sex, kS, x, lms.number(r, QStringLiteral("s"))});
    }
    return points;
}

QList<PercentileRow> who2006MonthlyPercentiles(const CsvTable& lms, const QString& owner)
{
    static const int percentiles[] = {1, 3, 5, 10, 15, 25, 50, 75, 85, 90, 95, 97, 99};
    QList<PercentileRow> rows;
    forEachMonth(lms, [&](const QString& sex, int month, const Lms& v) {
        for (int p : percentiles)
            rows.append({kWho2006, owner, sex, month, month, percentileCode(p), percentileName(p),
                         roundHalfEven(lmsValue(v.l, v.m, v.s, percentileZ(p)), 3)});
    });
    return rows;
}

QList<PerKgRecommendation> rda1989PerKg(const CsvTable& table)
{
    QList<PerKgRecommendation> rows;
    QMap<QString, int> nextMonth;  // per sex: where the next band must start
    for (int r = 0; r < table.rowCount(); ++r) {
        const bool infants = table.text(r, QStringLiteral("group")) == QLatin1String("infants");
        const int from =
            static_cast<int>(std::lround(table.number(r, QStringLiteral("age_min_years")) * 12));
        const double last = table.number(r, QStringLiteral("age_max_years"));
        const int to = infants ? static_cast<int>(std::lround(last * 12)) - 1
                               : static_cast<int>(last) * 12 + 11;
        const int sexCode = table.wholeNumber(r, QStringLiteral("sex"));
        const QStringList sexes = sexCode == 0
                                      ? QStringList{QStringLiteral("M"), QStringLiteral("F")}
                                      : QStringList{sexLetter(sexCode)};
        for (const QString& sex : sexes) {
            if (from != nextMonth.value(sex, 0) || to < from)
                fail(table, QStringLiteral("faixa de %1 a %2 meses (sexo %3) não continua a "
                                           "anterior.")
                                .arg(from)
                                .arg(to)
                                .arg(sex));
            nextMonth[sex] = to + 1;
            rows.append({kRda1989, sex, from, to,
                         table.number(r, QStringLiteral("energy_kcal_per_kg")),
                         table.number(r, QStringLiteral("protein_g_per_kg"))});
        }
    }
    return rows;
}

ReferenceSet growthReferenceSet()
{
    const auto load = [](const char* file) { return CsvTable::loadReference(QLatin1String(file)); };
    ReferenceSet set;
    set.references = {
        {kWho2006, QStringLiteral("OMS 2006 - Padrões de crescimento (0 a 5 anos)")},
        {kNchs1977, QStringLiteral("NCHS 1977 (OMS/CDC 1978) - Crescimento (0 a 10 anos)")},
        {kTanner1962, QStringLiteral("Tanner 1962 - Estágios de maturação sexual (sem tabela)")},
    };
    set.listings.append({QString(method::kMaturacaoSexual), kTanner1962});
    set.defaults.append({QString(method::kMaturacaoSexual), kTanner1962});
    set.nutrientReferences = {{kRda1989, QStringLiteral("RDA 1989 - Recommended Dietary "
                                                        "Allowances (NRC)")}};
    const QString both[] = {kNchs1977, kWho2006};
    for (const QLatin1String m : {method::kAnGomez, method::kAnWaterlow, method::kCatchUp})
        for (const QString& ref : both)
            set.listings.append({QString(m), ref});
    set.listings.append({QString(method::kPerCefalico), kWho2006});
    const QLatin1String nchsMethods[] = {
        method::kPesoIdade036Nchs,   method::kPesoIdade210Nchs,    method::kAlturaIdade036Nchs,
        method::kAlturaIdade210Nchs, method::kPesoAltura49103Nchs, method::kPesoAltura55145Nchs};
    const QLatin1String whoMethods[] = {method::kPesoIdade060Oms, method::kAlturaIdade024Oms,
                                        method::kAlturaIdade2460Oms, method::kPesoAltura45110Oms,
                                        method::kPesoAltura65120Oms};
    for (const QLatin1String m : nchsMethods) {
        set.listings.append({QString(m), kNchs1977});
        set.defaults.append({QString(m), kNchs1977});
    }
    for (const QLatin1String m : whoMethods) {
        set.listings.append({QString(m), kWho2006});
        set.defaults.append({QString(m), kWho2006});
    }
    set.defaults += {{QString(method::kAnGomez), kNchs1977},
                     {QString(method::kAnWaterlow), kNchs1977},
                     {QString(method::kCatchUp), kNchs1977},
                     {QString(method::kPerCefalico), kWho2006}};

    const CsvTable headLms = load("who2006/head_circumference_for_age_lms.csv");
    set.percentiles = who2006MonthlyPercentiles(headLms, QString(method::kPerCefalico));
    checkPercentileRows(set.percentiles);
    set.curves =
        nchs1977Points(load("nchs1977/weight_for_age_percentiles.csv"), kWeightForAge,
                       QStringLiteral("age_months"))
        + nchs1977Points(load("nchs1977/length_for_age_percentiles.csv"), kHeightForAge,
                         QStringLiteral("age_months"))
        + nchs1977Points(load("nchs1977/height_for_age_percentiles.csv"), kHeightForAge,
                         QStringLiteral("age_months"))
        + nchs1977Points(load("nchs1977/weight_for_length_percentiles.csv"), kWeightForLength,
                         QStringLiteral("length_cm"))
        + nchs1977Points(load("nchs1977/weight_for_height_percentiles.csv"), kWeightForHeight,
                         QStringLiteral("height_cm"))
        + who2006MonthlyLmsPoints(load("who2006/weight_for_age_lms.csv"), kWeightForAge)
        + who2006MonthlyLmsPoints(load("who2006/length_height_for_age_lms.csv"), kHeightForAge)
        + who2006LmsPoints(load("who2006/weight_for_length_lms.csv"), kWeightForLength,
                           QStringLiteral("length_cm"))
        + who2006LmsPoints(load("who2006/weight_for_height_lms.csv"), kWeightForHeight,
                           QStringLiteral("height_cm"));
    set.perKgRecommendations = rda1989PerKg(load("rda1989/energy_protein_per_kg.csv"));
    return set;
}

}  // namespace server::reference::growth
