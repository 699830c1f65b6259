#include "ideal_weight_references.h"

#include "curve_lookup.h"

#include <cmath>
#include <stdexcept>

namespace server::reference::ideal {
namespace {

namespace method = records::method;

const QString kPesoList = QStringLiteral("PESO");
const QString kOssaList = QStringLiteral("OSSA");
// The weight and bone-frame lists have no owning method: an empty (not null) text.
const QString kNoOwner = QStringLiteral("");

QString sexOf(const CsvTable& table, int r)
{
    const double code = table.number(r, QStringLiteral("sex"));
    if (code != 1 && code != 2)
        throw std::runtime_error(QStringLiteral("%1: sexo %2 (deveria ser 1 ou 2).")
                                     .arg(table.origin())
                                     .arg(code)
                                     .toStdString());
    return sexLetter(static_cast<int>(code));
}

QString frameCode(const CsvTable& table, int r)
{
    const QString frame = table.text(r, QStringLiteral("frame"));
    if (frame == QLatin1String("small"))
        return QStringLiteral("0");
    if (frame == QLatin1String("medium"))
        return QStringLiteral("1");
    if (frame == QLatin1String("large"))
        return QStringLiteral("2");
    throw std::runtime_error(QStringLiteral("%1: compleição '%2' desconhecida.")
                                 .arg(table.origin(), frame)
                                 .toStdString());
}

}  // namespace

QList<CurvePoint> metLife1983Points(const CsvTable& table)
{
    QList<CurvePoint> points;
    for (int r = 0; r < table.rowCount(); ++r) {
        const QString sex = sexOf(table, r);
        const double inches = table.number(r, QStringLiteral("height_total_in")) - kHeelInches;
        const double clothing =
            sex == QLatin1String("M") ? kClothingPoundsMen : kClothingPoundsWomen;
        const double pounds = (table.number(r, QStringLiteral("weight_lb_min"))
                               + table.number(r, QStringLiteral("weight_lb_max")))
                                  / 2
                              - clothing;
        points.append({kMetLife1983, kFrameCurve, sex, frameCode(table, r),
                       curveAxis(inches * kCmPerInch), pounds * kKgPerPound});
    }
    return points;
}

QList<CurvePoint> nchs1977MedianPoints(const CsvTable& table, const QString& curve,
                                       const QString& axisColumn)
{
    QList<CurvePoint> points;
    for (int r = 0; r < table.rowCount(); ++r)
        points.append({kNchs1977, curve, sexOf(table, r), kMedian,
                       curveAxis(table.number(r, axisColumn)),
                       table.number(r, QStringLiteral("p50"))});
    return points;
}

QList<CurvePoint> who2006MedianPoints(const CsvTable& lms, const QString& curve,
                                      const QString& axisColumn, double axisDivisor)
{
    QList<CurvePoint> points;
    for (int r = 0; r < lms.rowCount(); ++r)
        points.append({kWho2006, curve, sexOf(lms, r), kMedian,
                       curveAxis(lms.number(r, axisColumn) / axisDivisor),
                       lms.number(r, QStringLiteral("m"))});
    return points;
}

ReferenceSet idealWeightReferenceSet()
{
    const auto load = [](const char* file) { return CsvTable::loadReference(QLatin1String(file)); };
    ReferenceSet set;
    set.references = {
        {kWho2006, QStringLiteral("OMS 2006 - Padrões de crescimento (0 a 5 anos)")},
        {kNchs1977, QStringLiteral("NCHS 1977 (OMS/CDC 1978) - Crescimento (0 a 10 anos)")},
        {kMetLife1983, QStringLiteral("Metropolitan Life 1983 - Peso por altura e compleição")},
        {kBurrPhillips, QStringLiteral("Burr e Phillips - IMC de referência (sem tabela)")},
        {kFrisanchoBmi, QStringLiteral("Frisancho - IMC de referência (sem tabela)")},
    };
    // Methods "09", "10" and "14" choose from the list of "01" (IMC/Peso Teórico - Must),
    // which already offers Must 1991.
    set.listings = {
        {method::kImcMust, kBurrPhillips},   {method::kImcMust, kFrisanchoBmi},
        {kNoOwner, kNchs1977, kPesoList},    {kNoOwner, kWho2006, kPesoList},
        {kNoOwner, kMetLife1983, kOssaList},
    };
    set.defaults = {
        {method::kPesoIdeal, kMetLife1983},           {method::kPesoIdealGrant, kMetLife1983},
        {method::kPesoIdealMust, kMust1991},          {method::kPesoIdealBurrPhi, kBurrPhillips},
        {method::kPesoIdealFrisancho, kFrisanchoBmi}, {method::kPesoIdealIdade, kNchs1977},
        {method::kPesoIdealAltura, kNchs1977},
    };
    set.curves = metLife1983Points(load("metlife1983/height_weight_by_frame.csv"))
                 + nchs1977MedianPoints(load("nchs1977/weight_for_age_percentiles.csv"),
                                        kWeightForAgeCurve, QStringLiteral("age_months"))
                 + nchs1977MedianPoints(load("nchs1977/weight_for_length_percentiles.csv"),
                                        kWeightForLengthCurve, QStringLiteral("length_cm"))
                 + nchs1977MedianPoints(load("nchs1977/weight_for_height_percentiles.csv"),
                                        kWeightForHeightCurve, QStringLiteral("height_cm"))
                 + who2006MedianPoints(load("who2006/weight_for_age_lms.csv"), kWeightForAgeCurve,
                                       QStringLiteral("age_days"), kDaysPerMonth)
                 + who2006MedianPoints(load("who2006/weight_for_length_lms.csv"),
                                       kWeightForLengthCurve, QStringLiteral("length_cm"), 1)
                 + who2006MedianPoints(load("who2006/weight_for_height_lms.csv"),
                                       kWeightForHeightCurve, QStringLiteral("height_cm"), 1);
    return set;
}

}  // namespace server::reference::ideal
