#pragma once

// The growth chart drawn with Qt Charts: the percentile curves of the reference as lines,
// the patient's earlier measurements as points joined by a line, the measurement of the
// consultation shown as a larger point; the panel of the result page that shows it, and
// the chart saved as PNG or PDF.

#include "workspace/growth_chart.h"

#include <QWidget>

#include <optional>

class QChart;
class QChartView;
class QComboBox;
class QLabel;

namespace workspace {

class AssessmentForm;

// The names of the series of the measurements.
inline const QString kEarlierMeasuresSeries = QStringLiteral("Consultas anteriores");
inline const QString kPatientLineSeries = QStringLiteral("Evolução do paciente");
QString currentMeasureSeriesName(const QDate& date);  // "Consulta de 05/12/2026"

// A new chart of the description (the caller owns it).
QChart* makeGrowthChart(const GrowthChart& chart);

// Saves the chart as PNG or PDF, by the file's extension (.png, .pdf; any case). Throws
// records::Error for another extension or a file that cannot be written.
void saveGrowthChart(const GrowthChart& chart, const QString& file);

// The chart panel of the result page ("Curva de Crescimento"): the growth methods selected
// in the consultation to choose from, and the chart of the chosen one. Drawn from the
// server when shown and when the consultation, the method or its recorded values change;
// what cannot be drawn is said in the panel.
class GrowthChartPanel : public QWidget
{
    Q_OBJECT

public:
    explicit GrowthChartPanel(AssessmentForm& core, QWidget* parent = nullptr);

    // Follows the core: the methods to choose from, and the chart when shown.
    void sync();
    // Chooses the method when it is one of the choices (the current result line's).
    void chooseMethod(const QString& method);
    bool hasMethods() const;

    QComboBox* cbbMetodo = nullptr;
    QChartView* chvCurva = nullptr;
    QLabel* lblAviso = nullptr;
    // The chart drawn, if any.
    const std::optional<GrowthChart>& chart() const { return m_chart; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void redraw(bool force);
    QString signature() const;

    AssessmentForm& m_core;
    std::optional<GrowthChart> m_chart;
    QString m_drawn;  // the signature of what is drawn
};

}  // namespace workspace
