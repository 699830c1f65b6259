#pragma once

// A patient's consultations as a FHIR R4 Bundle of type "collection": one Patient and
// one Observation per recorded measurement, per result line and per diagnosis. The
// records come in as read from the tables; everything FHIR asks of them (codes, units,
// numbers, plain text, references) is settled here. See docs/fhir.md.

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace server::fhir {

// The patient as the registry holds it; without a registry row only branch and code.
struct PatientRecord
{
    QString branch;
    QString code;
    bool registered = false;
    QString name;
    QString sexCode;  // host code: "0" male, "1" female, "2", "3"
    QDate birth;
    bool deceased = false;
};

// One value of infoaval: consultation date (stored ISO text), method, data type and its
// name, and the text as stored ("70,5").
struct RecordedValue
{
    QString date;
    QString method;
    QString dataType;
    QString dataTypeName;
    QString text;
};

// One line of resuaval or resuavalenerg: the line number "01", the label (DSCONTRESU)
// and the value as shown (DSRESUAVAL: "22,857", "47,36 Kg", "Sobrepeso").
struct ResultLine
{
    QString date;
    QString method;
    QString methodName;
    QString line;
    QString label;
    QString value;
};

struct DiagnosisText
{
    QString date;
    QByteArray html;  // UTF-8, the diagnosis formatting bar's form
};

// What goes into the bundle, in the order it goes: values by date, then method and data
// type; lines by date, then catalogue order and line; diagnoses by date.
struct BundleRecords
{
    PatientRecord patient;
    QList<RecordedValue> values;
    QList<ResultLine> lines;
    QList<DiagnosisText> diagnoses;
};

// The bundle. With no observation (an empty period) the bundle has no entries at all:
// the patient's demographics do not leave the system without something recorded to go
// with them.
QJsonObject buildBundle(const BundleRecords& records);

// A number as the system stores or shows it: a decimal comma ("70,5"), thousands points
// before one ("1.234,500"), or a decimal point ("1.80"); then, after blanks, what it shows
// as its unit ("Kg", "%", "Kcal/dia"). Nothing when the text does not start with a number
// or goes on with more digits or separators ("1,2,3", "12a").
struct ShownNumber
{
    double value = 0;
    QString unit;
};
std::optional<ShownNumber> parseShownNumber(const QString& text);

// The text of a diagnosis without its markup: paragraphs and list items one a line
// (bullets "- ", numbered items "1. "), entities decoded, blanks at the ends trimmed. Any
// HTML is first reduced to the formatting bar's form, so nothing of a script or a style
// can come through.
QString plainTextOfRichText(const QString& html);

}  // namespace server::fhir
