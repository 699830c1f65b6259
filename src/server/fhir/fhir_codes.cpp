#include "fhir_codes.h"

#include <records/method_codes.h>

#include <array>

namespace server::fhir {
namespace {

namespace dt = records::data_type;
namespace mt = records::method;
using namespace Qt::Literals::StringLiterals;

constexpr QLatin1String kNone;
constexpr Category kVital = Category::VitalSigns;
constexpr Category kExam = Category::Exam;

// LOINC codes of the vital signs FHIR R4 names (bodyweight, bodyheight, bmi, headcircum)
// and of the anthropometric measurements LOINC has a plain measurement term for.
constexpr QLatin1String kBodyWeight("29463-7");
constexpr QLatin1String kBodyWeightText("Body weight");
constexpr QLatin1String kBmi("39156-5");
constexpr QLatin1String kBmiText("Body mass index (BMI) [Ratio]");

struct MeasurementRow
{
    QLatin1String dataType;
    ObservationCoding coding;
};

// The recorded measurements. Hip circumference keeps only our code: 62409-8 is the
// PhenX hip circumference protocol (a panel), not a measurement.
constexpr std::array kMeasurements{
    MeasurementRow{dt::kPeso, {kBodyWeight, kBodyWeightText, "kg"_L1, kVital}},
    MeasurementRow{dt::kAltura, {"8302-2"_L1, "Body height"_L1, "m"_L1, kVital}},
    MeasurementRow{dt::kPcb, {kNone, kNone, "mm"_L1, kExam}},
    MeasurementRow{dt::kPct, {"39106-0"_L1, "Triceps skinfold thickness"_L1, "mm"_L1, kExam}},
    MeasurementRow{dt::kPcse, {kNone, kNone, "mm"_L1, kExam}},
    MeasurementRow{dt::kPcsi, {kNone, kNone, "mm"_L1, kExam}},
    MeasurementRow{dt::kOssaturaPunho, {kNone, kNone, "cm"_L1, kExam}},
    MeasurementRow{dt::kCircBraco,
                   {"56072-2"_L1, "Circumference Mid upper arm"_L1, "cm"_L1, kExam}},
    MeasurementRow{dt::kAlturaJoelho, {kNone, kNone, "cm"_L1, kExam}},
    MeasurementRow{dt::kCircQuadril, {kNone, kNone, "cm"_L1, kExam}},
    MeasurementRow{
        dt::kCircCintura,
        {"8280-0"_L1, "Waist Circumference at umbilicus by Tape measure"_L1, "cm"_L1, kExam}},
    MeasurementRow{dt::kCircPanturrilha, {kNone, kNone, "cm"_L1, kExam}},
    MeasurementRow{dt::kPesoHabitual, {kNone, kNone, "kg"_L1, kExam}},
    MeasurementRow{dt::kBiaGorduraAtual, {kNone, kNone, "%"_L1, kExam}},
    MeasurementRow{dt::kPesoAntesAmputacao, {kNone, kNone, "kg"_L1, kExam}},
    MeasurementRow{dt::kPercentualAmputacao, {kNone, kNone, "%"_L1, kExam}},
    MeasurementRow{dt::kPesoIdeal, {kNone, kNone, "kg"_L1, kExam}},
    MeasurementRow{dt::kPesoAdequado, {kNone, kNone, "kg"_L1, kExam}},
    MeasurementRow{dt::kCircTorax, {kNone, kNone, "cm"_L1, kExam}},
    MeasurementRow{dt::kCircBronquio, {kNone, kNone, "cm"_L1, kExam}},
    MeasurementRow{dt::kPerimetroCefalico,
                   {"9843-4"_L1, "Head Occipital-frontal circumference"_L1, "cm"_L1, kVital}},
    MeasurementRow{dt::kPesoUsual, {kNone, kNone, "kg"_L1, kExam}},
    MeasurementRow{dt::kPccx, {kNone, kNone, "mm"_L1, kExam}},
    MeasurementRow{dt::kPesoAtual, {kBodyWeight, kBodyWeightText, "kg"_L1, kVital}},
    MeasurementRow{dt::kSemanaGestacional, {kNone, kNone, "wk"_L1, kExam}},
};

struct ResultRow
{
    QLatin1String method;
    QLatin1String line;
    ResultCoding coding;
};

constexpr ResultCoding kBmiNextLine{{kBmi, kBmiText, "kg/m2"_L1, kVital},
                                    ClassificationAt::NextLine};
constexpr ResultCoding kBmiLabel{{kBmi, kBmiText, "kg/m2"_L1, kVital}, ClassificationAt::Label};
constexpr ResultCoding kKilograms{{kNone, kNone, "kg"_L1, kExam}, ClassificationAt::None};

// The result lines whose meaning and unit the line alone does not say. Lines not here
// keep our code, with the unit they show.
constexpr std::array kResults{
    ResultRow{mt::kImc, "01"_L1, kBmiNextLine},
    ResultRow{mt::kImc, "05"_L1, kKilograms},
    ResultRow{mt::kImc, "06"_L1, kKilograms},
    ResultRow{mt::kImc, "07"_L1, kKilograms},
    ResultRow{mt::kImcMust, "01"_L1, kBmiNextLine},
    ResultRow{mt::kImcMust, "05"_L1, kKilograms},
    ResultRow{mt::kImcMust, "06"_L1, kKilograms},
    ResultRow{mt::kImcMust, "07"_L1, kKilograms},
    // The BMI corrected for an amputation is not the body mass index LOINC names.
    ResultRow{
        mt::kImcAmputado, "01"_L1, {{kNone, kNone, "kg/m2"_L1, kExam}, ClassificationAt::NextLine}},
    ResultRow{mt::kImcOms98, "01"_L1, kBmiLabel},
    ResultRow{mt::kImcIdoso, "01"_L1, kBmiLabel},
    ResultRow{mt::kImcGestante, "01"_L1, kBmiLabel},
};

struct ShownUnit
{
    const char* shown;  // UTF-8, lower case, without blanks
    QLatin1String ucum;
};

// Units as the result lines show them. A bare "Kcal" is the daily energy of the energy
// tab's lines.
constexpr std::array kShownUnits{
    ShownUnit{"kg", "kg"_L1},
    ShownUnit{"%", "%"_L1},
    ShownUnit{"cm", "cm"_L1},
    ShownUnit{"mm", "mm"_L1},
    ShownUnit{"m", "m"_L1},
    ShownUnit{"kg/m2", "kg/m2"_L1},
    ShownUnit{"kg/m\u00b2", "kg/m2"_L1},
    ShownUnit{"kcal", "kcal/d"_L1},
    ShownUnit{"kcal/dia", "kcal/d"_L1},
    ShownUnit{"kcal/kg/dia", "kcal/kg/d"_L1},
    ShownUnit{"g/dia", "g/d"_L1},
    ShownUnit{"g/kg/dia", "g/kg/d"_L1},
};

}  // namespace

QString categoryCode(Category c)
{
    return c == Category::VitalSigns ? QStringLiteral("vital-signs") : QStringLiteral("exam");
}

QString categoryDisplay(Category c)
{
    return c == Category::VitalSigns ? QStringLiteral("Vital Signs") : QStringLiteral("Exam");
}

std::optional<ObservationCoding> measurementCoding(const QString& dataType)
{
    for (const MeasurementRow& row : kMeasurements)
        if (row.dataType == dataType)
            return row.coding;
    return std::nullopt;
}

std::optional<ResultCoding> resultCoding(const QString& method, const QString& line)
{
    for (const ResultRow& row : kResults)
        if (row.method == method && row.line == line)
            return row.coding;
    return std::nullopt;
}

std::optional<QString> ucumOfShownUnit(const QString& shown)
{
    QString key = shown.toLower();
    key.remove(u' ');
    for (const ShownUnit& unit : kShownUnits)
        if (QString::fromUtf8(unit.shown) == key)
            return QString(unit.ucum);
    return std::nullopt;
}

}  // namespace server::fhir
