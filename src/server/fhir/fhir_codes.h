#pragma once

// How the consultation records are coded in FHIR R4: the one table from our data types
// and result lines to LOINC, UCUM and the HL7 observation category, and the code systems
// and identifier namespaces of this product. docs/fhir.md holds the same table.

#include <QLatin1String>
#include <QString>

#include <optional>

namespace server::fhir {

inline const QString kLoincSystem = QStringLiteral("http://loinc.org");
inline const QString kUcumSystem = QStringLiteral("http://unitsofmeasure.org");
inline const QString kCategorySystem =
    QStringLiteral("http://terminology.hl7.org/CodeSystem/observation-category");
// Our own code systems: the data types of the catalogue (CDTIPODADO), the result lines of
// the methods ("00-01": method CDTBMETOAVAL, line CDSEQUAVAL) and the other findings of an
// assessment (the nutritional diagnosis).
inline const QString kDataTypeSystem =
    QStringLiteral("https://avalnutri.example/fhir/CodeSystem/medida");
inline const QString kResultSystem =
    QStringLiteral("https://avalnutri.example/fhir/CodeSystem/resultado");
inline const QString kAssessmentSystem =
    QStringLiteral("https://avalnutri.example/fhir/CodeSystem/avaliacao");
inline const QString kDiagnosisCode = QStringLiteral("diagnostico-nutricional");
// The patient identifier system of a branch is this prefix and the branch code,
// percent-encoded.
inline const QString kPatientIdentifierPrefix =
    QStringLiteral("https://avalnutri.example/fhir/NamingSystem/paciente/");

enum class Category
{
    VitalSigns,
    Exam
};
QString categoryCode(Category c);     // "vital-signs", "exam"
QString categoryDisplay(Category c);  // "Vital Signs", "Exam"

// The FHIR coding of one kind of observation: LOINC code and display when LOINC has one
// (empty otherwise), the UCUM unit code and the category.
struct ObservationCoding
{
    QLatin1String loinc;
    QLatin1String loincDisplay;
    QLatin1String unit;
    Category category;
};

// A recorded measurement: the data types that are measurements, nothing for the others
// (answers picked from lists, factors, edema and limb marks).
std::optional<ObservationCoding> measurementCoding(const QString& dataType);

// Where a result line's classification stands.
enum class ClassificationAt
{
    None,
    Label,     // the line's own label is the classification ("Sobrepeso" | "27,500")
    NextLine,  // the line after it holds the classification as its value
};

struct ResultCoding
{
    ObservationCoding coding;
    ClassificationAt classification;
};

// A numeric result line of the table (method and line "01"), nothing for the others.
std::optional<ResultCoding> resultCoding(const QString& method, const QString& line);

// The UCUM code of a unit shown after a number on a result line ("Kg", " %", "Kcal/dia"),
// matched without regard to case and blanks; nothing when it is not one we know.
std::optional<QString> ucumOfShownUnit(const QString& shown);

}  // namespace server::fhir
