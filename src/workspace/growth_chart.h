#pragma once

// The growth chart of a growth method ("15", "37" to "47"): the percentile curves of the
// method's reference over the method's range, and the patient's measurements of this
// consultation and of the earlier ones on them. No widgets: the result page's chart panel
// and the command line draw what this describes.

#include "records/app_server.h"

#include <QDate>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

namespace workspace {

class AssessmentForm;

// One percentile curve, along the axis of the method.
struct GrowthChartCurve
{
    QString code;   // "003", "050", "097"
    QString label;  // "P3", "P50", "P97"
    QList<QPointF> points;
};

// The patient's measurement at one consultation.
struct GrowthChartMeasure
{
    QDate date;
    QPointF point;
    bool current = false;  // the consultation shown
};

struct GrowthChart
{
    QString method;         // "43"
    QString title;          // the method's name
    QString referenceName;  // "OMS 2006 - Padrões de crescimento (0 a 5 anos)"
    QString patientName;    // "NOME (000000000005)"
    QString xTitle;         // "Idade (meses)"
    QString yTitle;         // "Peso (kg)"
    double xMin = 0;
    double xMax = 0;
    QList<GrowthChartCurve> curves;      // the drawn percentiles, lowest first
    QList<GrowthChartMeasure> measures;  // by date, oldest first
    int measuresOutOfRange = 0;          // measured, but outside the method's range

    // The text above the chart: method, reference and patient, one a line.
    QString heading() const;
};

// Whose chart, of which method and reference, up to which consultation.
struct GrowthChartSubject
{
    records::ConsultationKey key;
    QString patientName;
    QString sexLetter;  // "M" or "F"; the references have no curves for other letters
    QDate birth;
    QString method;
    QString methodName;
    QString reference;
    QString referenceName;
};

// The percentiles drawn, listed by both references: 3, 10, 25, 50, 75, 90 and 97.
const QStringList& drawnPercentiles();

bool isGrowthMethod(const QString& method);

// Builds the chart from the server: GetCurvaCrescimento for the curves, GetHistInfoAval for
// the measurements. Throws records::Error for a method that is not a growth method, a
// reference without the method's curves for the sex, or a failed reply.
GrowthChart buildGrowthChart(records::AppServer& server, const GrowthChartSubject& subject);

// The growth methods selected in the consultation's method list (cdsMetoAval), in list
// order.
QStringList selectedGrowthMethods(const AssessmentForm& form);
// The subject of the chart of a method of the consultation: the patient of the module
// context, the method's row of the list with its chosen reference (its default when none is
// chosen). Throws records::Error for a method the list does not offer.
GrowthChartSubject growthChartSubject(AssessmentForm& form, const QString& method);

}  // namespace workspace
