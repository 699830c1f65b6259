#include "bmi_references.h"

#include "lms.h"

#include <cmath>
#include <stdexcept>

namespace server::reference::bmi {
namespace {

// The two ends of WHO 2007 in completed months: 5 years and 19 years.
constexpr int kWhoFirstMonth = 60;
constexpr int kWhoLastMonth = 228;

PercentileRow row(const QString& reference, const QString& owner, const QString& sex, int from,
                  int to, int percentile, double value)
{
    return {reference, owner, sex, from, to, percentileCode(percentile), percentileName(percentile),
            value};
}

}  // namespace

QList<PercentileRow> who2007Rows(const CsvTable& lms, const QString& owner)
{
    static const int kPercentiles[] = {3, 5, 15, 50, 85, 95, 97};
    QList<PercentileRow> rows;
    for (int r = 0; r < lms.rowCount(); ++r) {
        const int month = lms.wholeNumber(r, QStringLiteral("age_months"));
        if (month < kWhoFirstMonth || month > kWhoLastMonth)
            continue;
        const QString sex = sexLetter(lms.wholeNumber(r, QStringLiteral("sex")));
        const double l = lms.number(r, QStringLiteral("l"));
        const double m = lms.number(r, QStringLiteral("m"));
        const double s = lms.number(r, QStringLiteral("s"));
        for (int p : kPercentiles)
            rows.append(row(kWho2007, owner, sex, month, month, p,
                            roundHalfEven(lmsValue(l, m, s, percentileZ(p)), 3)));
    }
    return rows;
}

QList<PercentileRow> cdc2000Rows(const CsvTable& table, const QString& owner)
{
    static const int kPercentiles[] = {3, 5, 10, 25, 50, 75, 85, 90, 95, 97};
    QList<PercentileRow> rows;
    for (int r = 0; r < table.rowCount(); ++r) {
        const double agemos = table.number(r, QStringLiteral("Agemos"));
        const double completed = agemos - 0.5;
        if (completed != std::floor(completed))
            continue;  // the exact-birthday row
        const int month = static_cast<int>(completed);
        const QString sex = sexLetter(table.wholeNumber(r, QStringLiteral("Sex")));
        for (int p : kPercentiles)
            rows.append(row(kCdc2000, owner, sex, month, month, p,
                            table.number(r, QStringLiteral("P%1").arg(p))));
    }
    return rows;
}

QList<PercentileRow> must1991Rows(const CsvTable& table, const QString& owner,
                                  int lastBandStartYears)
{
    QList<PercentileRow> rows =
        yearBandRows(table, kMust1991, owner, {5, 15, 50, 85, 95},
                     [](double tabulated, const QString&) { return tabulated; });
    rows.removeIf([&](const PercentileRow& r) { return r.fromMonths > lastBandStartYears * 12; });
    return rows;
}

ReferenceSet bmiReferenceSet()
{
    const CsvTable whoLms = CsvTable::loadReference(QStringLiteral("who2007/bmi_for_age_lms.csv"));
    const CsvTable cdc = CsvTable::loadReference(QStringLiteral("cdc2000/bmiagerev.csv"));
    const CsvTable must =
        CsvTable::loadReference(QStringLiteral("must1991/bmi_percentiles_nhanes1.csv"));

    ReferenceSet set;
    set.references = {
        {kMust1991, QStringLiteral("Must, Dallal e Dietz 1991 (NHANES I)")},
        {kWho2007, QStringLiteral("OMS 2007 - IMC por idade (5 a 19 anos)")},
        {kCdc2000, QStringLiteral("CDC 2000 - IMC por idade (2 a 20 anos)")},
    };
    set.listings = {
        {kMethodMust, kMust1991},
        {kMethodAdolescent, kWho2007},
        {kMethodAdolescent, kCdc2000},
        {kMethodAdolescent, kMust1991},
    };
    set.defaults = {{kMethodMust, kMust1991}, {kMethodAdolescent, kWho2007}};
    set.percentiles = must1991Rows(must, kMethodMust) + who2007Rows(whoLms, kMethodAdolescent)
                      + cdc2000Rows(cdc, kMethodAdolescent)
                      + must1991Rows(must, kMethodAdolescent, 19);
    checkPercentileRows(set.percentiles);
    return set;
}

}  // namespace server::reference::bmi
