#pragma once

#include "csv_table.h"

#include <QList>
#include <QString>

#include <functional>
#include <initializer_list>

namespace server::reference {

// One percentile of a reference table: the value of the measure at that percentile for
// one sex and one age band. The same shape serves every family: the list owner is the
// method whose measure the table holds (a reference such as Frisancho tabulates several
// measures, one per method), the sex the patient sex letter ("M", "F"), and the age band
// completed months of life, both ends included.
struct PercentileRow
{
    QString reference;  // CDREFEBIBL
    QString owner;      // CDTBMETOAVAL of the method list
    QString sex;        // "M" or "F"
    int fromMonths = 0;
    int toMonths = 0;
    QString code;      // CDPERCENTIL, three digits: "005"
    QString name;      // NMPERCENTIL: "P5"
    double value = 0;  // VRPERCENTIL
};

// A fixed standard of a reference (refepadrao): one value for men and one for women over
// an age band in completed months, both ends included, standing for one percentile code
// ("050" for a median standard).
struct StandardRow
{
    QString reference;  // CDREFEBIBL
    QString owner;      // CDTBMETOAVAL: the method whose measure it is
    QString code;       // CDPERCENTIL
    int fromMonths = 0;
    int toMonths = 0;
    double male = 0;    // VRSEXOMASC
    double female = 0;  // VRSEXOFEMI
};

// A bibliographic reference (refebibl).
struct ReferenceEntry
{
    QString code;  // CDREFEBIBL, two characters
    QString name;  // NMREFEBIBL, up to 60 characters
};

// A point of a reference curve (refecurva): the value of the measure at one point of the
// curve's axis, for one sex and one series (a frame code, a percentile code).
struct CurvePoint
{
    QString reference;  // CDREFEBIBL
    QString curve;      // CDCURVA
    QString sex;        // "M" or "F"
    QString series;     // CDSERIE
    double x = 0;       // VREIXO
    double value = 0;   // VRVALOR
};

// A reference offered in a reference list (refelista): 'METO', the method list of an
// owning method, or 'PESO' and 'OSSA', the weight and bone-frame lists, whose owner is
// empty.
struct ReferenceListing
{
    QString owner;
    QString reference;
    QString list = QStringLiteral("METO");
};

// The reference a method starts with when it is selected (tbmetoaval.CDTBREFMETOA).
struct DefaultReference
{
    QString method;
    QString reference;
};

// An injury factor of the energy equations (fatoinju): the factor multiplies the basal
// expenditure of Harris-Benedict; source names where the factor comes from.
struct InjuryFactor
{
    QString code;    // CDFATOINJU, two characters
    QString name;    // NMFATOINJU, up to 60 characters
    double value;    // VRFATOINJU
    QString source;  // DSFATOINJU, up to 100 characters
};

// A reference of recommended nutrient intakes (refenutr) and a nutrient group (grupnutr).
struct NutrientReference
{
    QString code;         // CDRFNUTRECOM, two characters
    QString description;  // DSRFNUTRECOM, up to 60 characters
};
struct NutrientGroup
{
    QString code;  // CDGRUPNUTR, two characters
    QString name;  // NMGRUPNUTR, up to 60 characters
};

// A body density equation (refedensidade): the density in g/ml from the sum of skinfolds
// S in mm as constant - slope x log10(S), for one sex and one band of age in whole years,
// both ends included.
struct DensityEquation
{
    QString reference;    // CDREFEBIBL
    QString sex;          // "M" or "F"
    int fromYears = 0;    // NRIDADEINI
    int toYears = 0;      // NRIDADEFIN
    double constant = 0;  // VRCONSTANTE
    double slope = 0;     // VRINCLINACAO
};

// The energy and protein recommended per kilogram of body weight (recopeso) by a reference
// of recommended nutrient intakes, for one sex and an age band in completed months, both
// ends included.
struct PerKgRecommendation
{
    QString reference;  // CDRFNUTRECOM
    QString sex;        // "M" or "F"
    int fromMonths = 0;
    int toMonths = 0;
    double energyKcal = 0;  // QTENERPESO, kcal per kg per day
    double proteinG = 0;    // QTPROTPESO, g per kg per day
};

// A nutrient of the nutrient catalogue (nutriente): its unit is that of the amounts the
// recommendation computes, per kilogram or per day alike.
struct Nutrient
{
    QString code;       // CDNUTRIENTE, three digits
    QString name;       // NMNUTRIENTE, up to 40 characters
    QString unit;       // SGUNIDADE, up to 10 characters
    QString group;      // CDGRUPNUTR
    QString shortName;  // NMREDUZIDO, up to 4 characters
};

// A recommended range of one nutrient (nutrrecom) for a sex ("M", "F", "A" for both), a
// condition ("0" none, "1" pregnancy, "2" lactation) and an age band in completed months.
struct NutrientRange
{
    QString reference;  // CDRFNUTRECOM
    QString nutrient;   // CDNUTRIENTE
    QString sex;
    QString condition;
    int fromMonths = 0;
    int toMonths = 0;
    double low = 0;      // QTNUTRINIC
    double high = 0;     // QTNUTRFINA
    bool perKg = false;  // IDUNCALCNUTR "0" when true, "1" otherwise
    QString valueType;   // DSTIPOVALOR: "RDA", "AI"
};

// Everything one seed step writes for a family of methods.
struct ReferenceSet
{
    QList<ReferenceEntry> references;
    QList<ReferenceListing> listings;
    QList<DefaultReference> defaults;
    QList<PercentileRow> percentiles;
    QList<StandardRow> standards;
    QList<CurvePoint> curves;
    QList<InjuryFactor> injuryFactors;
    QList<NutrientReference> nutrientReferences;
    QList<NutrientGroup> nutrientGroups;
    QList<DensityEquation> densityEquations;
    QList<PerKgRecommendation> perKgRecommendations;
    QList<Nutrient> nutrients;
    QList<NutrientRange> nutrientRanges;
};

// "005" and "P5" for the 5th percentile.
QString percentileCode(int percentile);
QString percentileName(int percentile);

// The patient sex letter of the WHO/CDC coding 1 (male) and 2 (female).
QString sexLetter(int whoSexCode);

// The rows of a table of percentiles by year of age or band of years: columns
// age_min_years and age_max_years ("24.9" closes a band at the month before the 25th
// birthday), sex in the WHO/CDC coding and p<n> for each percentile n, each value passed
// through value for the sex letter.
using TabulatedValue = std::function<double(double tabulated, const QString& sex)>;
QList<PercentileRow> yearBandRows(const CsvTable& table, const QString& reference,
                                  const QString& owner, std::initializer_list<int> percentiles,
                                  const TabulatedValue& value);

// Throws std::runtime_error unless, within each table, sex and age band, the values
// rise strictly with the percentile code and the age band is not empty: a table that
// does not would bracket a value wrongly.
void checkPercentileRows(const QList<PercentileRow>& rows);

}  // namespace server::reference
