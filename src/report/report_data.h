#pragma once

#include "records/app_server.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace report {

// The content of the nutritional assessment report, as GetDadosRelatorio answers it.
struct Measurement
{
    QString method;  // code
    QString methodName;
    QString dataType;  // code
    QString name;      // "Peso"
    QString value;     // as stored ("1,80")
    QString unit;      // "kg"
};

struct ResultLine
{
    bool energy = false;  // energy tab, else assessment tab
    QString method;
    QString methodName;
    QString result;
    QString description;
};

struct NutrientAmount
{
    QString reference;
    QString group;
    QString nutrient;
    QString unit;
    QString currentWeight;
    QString idealWeight;
    QString atIdealWeight;
    QString adequateWeight;
    QString atAdequateWeight;
};

struct Consultation
{
    QDate date;
    QList<Measurement> measurements;
    QList<ResultLine> lines;
    QList<NutrientAmount> nutrients;
    QString diagnosisHtml;  // empty when there is none

    // The first value recorded of a data type, read as a number; nothing when there is none.
    std::optional<double> number(const QString& dataType) const;
};

struct ReportData
{
    QString branch;
    QString patient;
    QString patientName;  // empty when the registry does not know the patient
    QString sexCode;      // host code "0" to "3"
    QDate birth;
    QDate from;
    QDate to;
    QString methods;  // "T" or the chosen codes
    QList<Consultation> consultations;
};

// Reads the answer of GetDadosRelatorio; throws records::Error for an answer that is not
// the report's five packets.
ReportData decodeReport(const QJsonValue& payload);

// The same content as data, for the command line's --json.
QJsonObject reportToJson(const ReportData& data);

// The points of the trend chart: weight (kg) and body mass index of each consultation
// with a weight (the index when a height in metres was recorded too).
struct TrendPoint
{
    QDate date;
    double weight = 0;
    std::optional<double> bmi;
};
QList<TrendPoint> trendPoints(const ReportData& data);

}  // namespace report
