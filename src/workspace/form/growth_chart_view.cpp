#include "growth_chart_view.h"

#include "workspace/assessment_form.h"

#include "records/error.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>

namespace workspace {
namespace {

// The colour of a percentile curve: the median dark green, the 3rd and 97th red (the
// bounds of the classification), the 10th and 90th orange, the quartiles grey.
QPen curvePen(const QString& code)
{
    if (code == u"050")
        return QPen(QColor(0x1b, 0x7a, 0x3a), 2.5);
    if (code == u"003" || code == u"097")
        return QPen(QColor(0xc6, 0x28, 0x28), 1.6);
    if (code == u"010" || code == u"090")
        return QPen(QColor(0xe0, 0x8a, 0x00), 1.4);
    QPen pen(QColor(0x80, 0x80, 0x80), 1.2);
    pen.setStyle(Qt::DashLine);
    return pen;
}

// A step of the axis that gives a few ticks: 6 months up to three years, then a year; 5 cm.
double ageStep(double span)
{
    return span <= 36 ? 6 : 12;
}

// The value range of the curves and the measurements, widened to whole steps.
std::pair<double, double> valueRange(const GrowthChart& chart)
{
    double low = INFINITY;
    double high = -INFINITY;
    for (const GrowthChartCurve& curve : chart.curves)
        for (const QPointF& p : curve.points) {
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
    for (const GrowthChartMeasure& m : chart.measures) {
        low = std::min(low, m.point.y());
        high = std::max(high, m.point.y());
    }
    if (!std::isfinite(low))
        return {0, 1};
    const double step = high - low > 40 ? 10 : high - low > 15 ? 5 : 1;
    return {std::floor(low / step) * step, std::ceil(high / step) * step};
}

// The chart laid out at a size on a scene of its own, ready to render.
struct Staged
{
    QGraphicsScene scene;
    QChart* chart;
    Staged(const GrowthChart& description, const QSizeF& size) : chart(makeGrowthChart(description))
    {
        scene.addItem(chart);
        chart->setGeometry(QRectF(QPointF(0, 0), size));
        if (chart->layout())
            chart->layout()->activate();
        scene.setSceneRect(chart->geometry());
    }
};

// Shows a chart in the view; the view owns it and the one it showed goes.
void showChart(QChartView* view, QChart* chart)
{
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

}  // namespace

QString currentMeasureSeriesName(const QDate& date)
{
    return QStringLiteral("Consulta de ") + date.toString(QStringLiteral("dd/MM/yyyy"));
}

QChart* makeGrowthChart(const GrowthChart& description)
{
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("<b>%1</b><br>Referência: %2<br>Paciente: %3")
                        .arg(description.title.toHtmlEscaped(),
                             description.referenceName.toHtmlEscaped(),
                             description.patientName.toHtmlEscaped()));
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setBackgroundRoundness(0);

    auto* x = new QValueAxis;
    x->setTitleText(description.xTitle);
    x->setRange(description.xMin, description.xMax);
    x->setLabelFormat(QStringLiteral("%.0f"));
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(description.xMin);
    x->setTickInterval(
        description.xTitle.startsWith(u"Idade") ? ageStep(description.xMax - description.xMin) : 5);
    auto* y = new QValueAxis;
    y->setTitleText(description.yTitle);
    const auto [low, high] = valueRange(description);
    y->setRange(low, high);
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(low);
    y->setTickInterval(high - low > 40 ? 10 : high - low > 15 ? 5 : 1);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    const auto attach = [&](QAbstractSeries* series) {
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    };
    // The highest percentile first, so the legend reads from top to bottom as the curves do.
    for (auto it = description.curves.crbegin(); it != description.curves.crend(); ++it) {
        auto* line = new QLineSeries;
        line->setName(it->label);
        line->append(it->points);
        line->setPen(curvePen(it->code));
        attach(line);
    }

    QList<QPointF> earlier;
    QList<QPointF> all;
    std::optional<GrowthChartMeasure> current;
    for (const GrowthChartMeasure& m : description.measures) {
        all.append(m.point);
        if (m.current)
            current = m;
        else
            earlier.append(m.point);
    }
    if (all.size() > 1) {
        auto* path = new QLineSeries;
        path->setName(kPatientLineSeries);
        path->append(all);
        path->setPen(QPen(QColor(0x15, 0x4f, 0xa8), 1.5, Qt::DotLine));
        attach(path);
        // The path needs no entry of its own in the legend.
        for (QLegendMarker* marker : chart->legend()->markers(path))
            marker->setVisible(false);
    }
    if (!earlier.isEmpty()) {
        auto* points = new QScatterSeries;
        points->setName(kEarlierMeasuresSeries);
        points->append(earlier);
        points->setMarkerSize(9);
        points->setColor(QColor(0x15, 0x4f, 0xa8));
        points->setBorderColor(Qt::white);
        attach(points);
    }
    if (current) {
        auto* point = new QScatterSeries;
        point->setName(currentMeasureSeriesName(current->date));
        point->append(current->point);
        point->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
        point->setMarkerSize(13);
        point->setColor(QColor(0x6a, 0x1b, 0x9a));
        point->setBorderColor(Qt::white);
        attach(point);
    }
    return chart;
}

void saveGrowthChart(const GrowthChart& chart, const QString& file)
{
    const QString format = QFileInfo(file).suffix().toLower();
    if (format != u"png" && format != u"pdf")
        throw records::Error(
            QStringLiteral("Formato de arquivo desconhecido: '%1'. Use a extensão .png ou .pdf.")
                .arg(file));
    if (format == u"png") {
        const QSize size(1200, 800);
        Staged staged(chart, size);
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            staged.scene.render(&painter, QRectF(QPointF(0, 0), size), staged.scene.sceneRect());
        }
        if (!image.save(file, "PNG"))
            throw records::Error(
                QStringLiteral("Não foi possível gravar o arquivo '%1'.").arg(file));
        return;
    }
    QPdfWriter writer(file);
    writer.setTitle(chart.title);
    writer.setCreator(QStringLiteral("avalnutri"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setResolution(96);
    QPainter painter;
    if (!painter.begin(&writer))
        throw records::Error(QStringLiteral("Não foi possível gravar o arquivo '%1'.").arg(file));
    const QRectF page = painter.viewport();
    Staged staged(chart, page.size());
    painter.setRenderHint(QPainter::Antialiasing);
    staged.scene.render(&painter, page, staged.scene.sceneRect());
    painter.end();
}

GrowthChartPanel::GrowthChartPanel(AssessmentForm& core, QWidget* parent)
    : QWidget(parent),
      m_core(core)
{
    setObjectName(QStringLiteral("panCurvaCresc"));
    cbbMetodo = new QComboBox(this);
    cbbMetodo->setObjectName(QStringLiteral("cbbMetodo"));
    chvCurva = new QChartView(this);
    chvCurva->setObjectName(QStringLiteral("chvCurva"));
    chvCurva->setRenderHint(QPainter::Antialiasing);
    chvCurva->setMinimumSize(420, 320);
    lblAviso = new QLabel(this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Método"), this));
    top->addWidget(cbbMetodo, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(chvCurva, 1);
    layout->addWidget(lblAviso);
    connect(cbbMetodo, &QComboBox::currentIndexChanged, this, [this] { redraw(false); });
}

bool GrowthChartPanel::hasMethods() const
{
    return cbbMetodo->count() > 0;
}

void GrowthChartPanel::chooseMethod(const QString& method)
{
    const int item = cbbMetodo->findData(method);
    if (item >= 0)
        cbbMetodo->setCurrentIndex(item);
}

void GrowthChartPanel::sync()
{
    const QStringList methods = selectedGrowthMethods(m_core);
    QStringList listed;
    for (int i = 0; i < cbbMetodo->count(); ++i)
        listed.append(cbbMetodo->itemData(i).toString());
    if (methods != listed) {
        const QString chosen = cbbMetodo->currentData().toString();
        const QSignalBlocker block(cbbMetodo);
        cbbMetodo->clear();
        for (const QString& code : methods) {
            const records::DataSet& list = m_core.cdsMetoAval;
            QString name = code;
            for (int row = 0; row < list.recordCount(); ++row)
                if (list.asStringAt(row, QStringLiteral("CDTBMETOAVAL")) == code)
                    name = list.asStringAt(row, QStringLiteral("NMTBMETOAVAL"));
            cbbMetodo->addItem(name, code);
        }
        const int item = cbbMetodo->findData(chosen);
        cbbMetodo->setCurrentIndex(item >= 0 ? item : 0);
    }
    redraw(false);
}

void GrowthChartPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    redraw(true);
}

// What the chart depends on: the consultation, the method and its reference, and the values
// of the data grid (weight, height, head circumference).
QString GrowthChartPanel::signature() const
{
    const records::ConsultationKey key = m_core.key();
    QStringList parts = {key.branch, key.patient, key.date.toString(Qt::ISODate),
                         cbbMetodo->currentData().toString()};
    const records::DataSet& list = m_core.cdsMetoAval;
    for (int row = 0; row < list.recordCount(); ++row)
        if (list.asStringAt(row, QStringLiteral("CDTBMETOAVAL")) == parts.last())
            parts.append(list.asStringAt(row, QStringLiteral("CDTABELACO")));
    const records::DataSet& data = m_core.cdsDadosAval;
    for (int row = 0; row < data.recordCount(); ++row)
        parts.append(data.asStringAt(row, QStringLiteral("CDTIPODADO")) + QLatin1Char('=')
                     + data.asStringAt(row, QStringLiteral("DSINFOAVAL")));
    return parts.join(QLatin1Char('|'));
}

void GrowthChartPanel::redraw(bool force)
{
    if (!isVisible())
        return;
    const QString now = signature();
    if (!force && now == m_drawn)
        return;
    m_drawn = now;
    m_chart.reset();
    lblAviso->clear();
    const QString method = cbbMetodo->currentData().toString();
    if (method.isEmpty()) {
        showChart(chvCurva, new QChart);
        lblAviso->setText(QStringLiteral("Selecione um método de crescimento (15, 37 a 47)."));
        return;
    }
    try {
        m_chart = buildGrowthChart(m_core.netAvalNutrEnerg, growthChartSubject(m_core, method));
    } catch (const std::exception& e) {
        showChart(chvCurva, new QChart);
        lblAviso->setText(QString::fromStdString(e.what()));
        return;
    }
    showChart(chvCurva, makeGrowthChart(*m_chart));
    QStringList notes;
    if (m_chart->measures.isEmpty())
        notes.append(QStringLiteral("O paciente não tem medidas para este método até esta "
                                    "consulta."));
    if (m_chart->measuresOutOfRange > 0)
        notes.append(QStringLiteral("%1 medida(s) fora da faixa do método.")
                         .arg(m_chart->measuresOutOfRange));
    lblAviso->setText(notes.join(QLatin1Char(' ')));
}

}  // namespace workspace
