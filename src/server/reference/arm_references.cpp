#include "arm_references.h"

#include "lms.h"

#include <QHash>

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace server::reference::arm {
namespace {

const QString kMedian = QStringLiteral("050");

// WHO's 2006 triceps table runs from day 91 to day 1826: completed months 3 to 60.
constexpr int kWhoFirstMonth = 3;
constexpr int kWhoLastMonth = 60;
constexpr double kDaysPerMonth = 365.25 / 12;

// The bone correction of the arm muscle area: 10 cm² for men, 6.5 for women.
double boneArea(const QString& sex)
{
    return sex == QLatin1String("M") ? 10.0 : 6.5;
}

}  // namespace

double armMuscleArea(double circumferenceCm, const QString& sex)
{
    return circumferenceCm * circumferenceCm / 12.56 - boneArea(sex);
}

double correctedArmMuscleArea(double circumferenceCm, const QString& sex)
{
    const double mm = 10.0 * circumferenceCm;
    return mm * mm / (4.0 * std::numbers::pi) - boneArea(sex);
}

QList<StandardRow> jelliffe1966Standards(const CsvTable& table)
{
    const QHash<QString, QString> owners = {
        {QStringLiteral("triceps_skinfold"), records::method::kPct},
        {QStringLiteral("arm_muscle_circumference"), records::method::kCmb},
        {QStringLiteral("arm_circumference"), records::method::kCb},
    };
    QHash<QString, StandardRow> byOwner;
    for (int r = 0; r < table.rowCount(); ++r) {
        const QString measure = table.text(r, QStringLiteral("measure"));
        if (!owners.contains(measure))
            throw std::runtime_error(QStringLiteral("%1: medida '%2' desconhecida.")
                                         .arg(table.origin(), measure)
                                         .toStdString());
        const QString owner = owners.value(measure);
        if (!byOwner.contains(owner))
            byOwner.insert(
                owner, {kJelliffe1966, owner, kMedian, kAdultFromMonths, kOldestMonths, 0.0, 0.0});
        StandardRow& row = byOwner[owner];
        const double value = table.number(r, QStringLiteral("standard_value"));
        if (sexLetter(table.wholeNumber(r, QStringLiteral("sex"))) == QLatin1String("M"))
            row.male = value;
        else
            row.female = value;
    }
    QList<StandardRow> rows;
    for (QLatin1String owner :
         {records::method::kPct, records::method::kCmb, records::method::kCb}) {
        const StandardRow row = byOwner.value(owner);
        if (!(row.male > 0) || !(row.female > 0))
            throw std::runtime_error(
                QStringLiteral("%1: falta o padrão de um dos sexos do método %2.")
                    .arg(table.origin(), QString(owner))
                    .toStdString());
        rows.append(row);
    }
    return rows;
}

QList<PercentileRow> frisancho1981Rows(const CsvTable& table, const QString& owner,
                                       const Measure& measure)
{
    return yearBandRows(table, kFrisancho1981, owner, {5, 10, 25, 50, 75, 90, 95}, measure);
}

QList<PercentileRow> who2006TricepsRows(const CsvTable& lms, const QString& owner)
{
    static const int kPercentiles[] = {3, 5, 10, 15, 25, 50, 75, 85, 90, 95, 97};
    QHash<QPair<int, int>, int> rowOf;  // (sex, day) -> row
    for (int r = 0; r < lms.rowCount(); ++r)
        rowOf.insert({lms.wholeNumber(r, QStringLiteral("sex")),
                      lms.wholeNumber(r, QStringLiteral("age_days"))},
                     r);
    QList<PercentileRow> rows;
    for (int whoSex : {1, 2}) {
        for (int month = kWhoFirstMonth; month <= kWhoLastMonth; ++month) {
            const int day = static_cast<int>(std::lround(month * kDaysPerMonth));
            const auto found = rowOf.constFind({whoSex, day});
            if (found == rowOf.cend())
                throw std::runtime_error(QStringLiteral("%1: falta o dia %2 do sexo %3.")
                                             .arg(lms.origin())
                                             .arg(day)
                                             .arg(whoSex)
                                             .toStdString());
            const int r = found.value();
            const double l = lms.number(r, QStringLiteral("l"));
            const double m = lms.number(r, QStringLiteral("m"));
            const double s = lms.number(r, QStringLiteral("s"));
            for (int p : kPercentiles)
                rows.append({kWho2006, owner, sexLetter(whoSex), month, month, percentileCode(p),
                             percentileName(p), lmsValue(l, m, s, percentileZ(p))});
        }
    }
    return rows;
}

ReferenceSet armReferenceSet()
{
    using namespace records::method;
    const CsvTable jelliffe =
        CsvTable::loadReference(QStringLiteral("jelliffe1966/adult_arm_standards.csv"));
    const CsvTable frisancho = CsvTable::loadReference(
        QStringLiteral("frisancho1981/arm_muscle_circumference_percentiles.csv"));
    const CsvTable triceps =
        CsvTable::loadReference(QStringLiteral("who2006/triceps_skinfold_for_age_lms.csv"));

    ReferenceSet set;
    set.references = {
        {kJelliffe1966, QStringLiteral("Jelliffe 1966 (padrões de adultos, OMS)")},
        {kFrisancho1981, QStringLiteral("Frisancho 1981 (NHANES I)")},
        {kWho2006, QStringLiteral("OMS 2006 - Padrões de crescimento (0 a 5 anos)")},
    };
    // The arm fat area ("08") is listed with Frisancho 1981, whose area table is not in
    // the data: its percentile queries answer empty packets.
    set.listings = {
        {kPct, kJelliffe1966},  {kPct, kWho2006},        {kCmb, kJelliffe1966},
        {kCmb, kFrisancho1981}, {kCb, kJelliffe1966},    {kAmb, kFrisancho1981},
        {kAgb, kFrisancho1981}, {kAmbc, kFrisancho1981},
    };
    set.defaults = {{kPct, kJelliffe1966},  {kCmb, kFrisancho1981}, {kCb, kJelliffe1966},
                    {kAmb, kFrisancho1981}, {kAgb, kFrisancho1981}, {kAmbc, kFrisancho1981}};
    const Measure circumference = [](double c, const QString&) { return c; };
    set.percentiles = frisancho1981Rows(frisancho, kCmb, circumference)
                      + frisancho1981Rows(frisancho, kAmb, armMuscleArea)
                      + frisancho1981Rows(frisancho, kAmbc, correctedArmMuscleArea)
                      + who2006TricepsRows(triceps, kPct);
    checkPercentileRows(set.percentiles);
    set.standards = jelliffe1966Standards(jelliffe);
    return set;
}

}  // namespace server::reference::arm
