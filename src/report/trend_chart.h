#pragma once

#include "report_data.h"

#include <QImage>

namespace report {

// The trend of weight (left axis, kg) and body mass index (right axis, kg/m²) over the
// consultations of the report, drawn with QPainter: one line each, a dot per
// consultation, the dates below. A null image for fewer than two points.
QImage trendChart(const QList<TrendPoint>& points, const QSize& size = QSize(1400, 600));

}  // namespace report
