#pragma once

#include "report_data.h"

#include <QString>

namespace report {

// Where the trend chart image is found in the report document.
inline const QString kTrendChartUrl = QStringLiteral("avalnutri:tendencia.png");

// The body of the nutritional assessment report as HTML: the patient header, then each
// consultation with its age, recorded measurements, result lines of the assessment and
// energy tabs, nutrient amounts and diagnosis, and the trend chart when there are two or
// more points. A period without consultations says so.
QString reportHtml(const ReportData& data, bool withChart);

// The HTML of a stored diagnosis to place in the report: reduced to the formatting bar's
// markup (no image, style or script) and without its own html and body; plain text keeps
// its lines.
QString diagnosisBody(const QString& html);

}  // namespace report
