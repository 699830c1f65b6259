#include "trend_chart.h"

#include "hostfw/numbers.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace report {
namespace {

// An axis over the values in round steps (1, 2 or 5 times a power of ten), about four
// to six of them, with a little room above and below.
struct Axis
{
    double low = 0;
    double high = 1;
    double step = 1;

    static Axis around(double min, double max)
    {
        const double span = max > min ? max - min : std::max(std::abs(max) * 0.1, 1.0);
        const double raw = span / 4;
        const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
        double step = magnitude * 10;
        for (double m : {1.0, 2.0, 5.0, 10.0}) {
            if (m * magnitude >= raw) {
                step = m * magnitude;
                break;
            }
        }
        Axis a;
        a.step = step;
        a.low = std::floor(min / step) * step;
        a.high = std::ceil(max / step) * step;
        if (a.low > min - step * 0.25)
            a.low -= step;
        if (a.high < max + step * 0.25)
            a.high += step;
        return a;
    }
    double fraction(double v) const { return (v - low) / (high - low); }
    QList<double> ticks() const
    {
        QList<double> out;
        for (double v = low; v <= high + step / 2; v += step)
            out.append(v);
        return out;
    }
};

const QColor kWeightColour(0x1f, 0x5f, 0xa8);
const QColor kBmiColour(0xc0, 0x4a, 0x18);

}  // namespace

QImage trendChart(const QList<TrendPoint>& points, const QSize& size)
{
    if (points.size() < 2)
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(size.height() / 26);
    p.setFont(font);
    const QRectF plot(size.width() * 0.09, size.height() * 0.12, size.width() * 0.82,
                      size.height() * 0.68);

    QList<double> weights;
    QList<double> bmis;
    for (const TrendPoint& t : points) {
        weights.append(t.weight);
        if (t.bmi)
            bmis.append(*t.bmi);
    }
    const Axis w = Axis::around(*std::min_element(weights.begin(), weights.end()),
                                *std::max_element(weights.begin(), weights.end()));
    const Axis b = bmis.isEmpty() ? Axis{}
                                  : Axis::around(*std::min_element(bmis.begin(), bmis.end()),
                                                 *std::max_element(bmis.begin(), bmis.end()));
    // Consultations placed by date, so uneven intervals show as such.
    const qint64 first = points.first().date.toJulianDay();
    const qint64 span = std::max<qint64>(1, points.last().date.toJulianDay() - first);
    auto x = [&](const QDate& d) {
        const double inset = plot.width() * 0.05;  // the first and last dots clear the axes
        return plot.left() + inset
               + (plot.width() - 2 * inset) * double(d.toJulianDay() - first) / double(span);
    };
    auto y = [&](const Axis& a, double v) { return plot.bottom() - plot.height() * a.fraction(v); };

    // Grid at the weight steps; weight labels left, index labels right at their own steps.
    const QString pattern = w.step < 1 ? QStringLiteral("0.0") : QStringLiteral("0");
    for (double v : w.ticks()) {
        const double fy = y(w, v);
        p.setPen(QPen(QColor(0xdd, 0xdd, 0xdd), 1));
        p.drawLine(QPointF(plot.left(), fy), QPointF(plot.right(), fy));
        p.setPen(kWeightColour);
        p.drawText(QRectF(0, fy - 20, plot.left() - 10, 40), Qt::AlignRight | Qt::AlignVCenter,
                   hostfw::FormatFloat(pattern, v));
    }
    if (!bmis.isEmpty()) {
        p.setPen(kBmiColour);
        const QString bmiPattern = b.step < 1 ? QStringLiteral("0.0") : QStringLiteral("0");
        for (double v : b.ticks())
            p.drawText(QRectF(plot.right() + 10, y(b, v) - 20, size.width() - plot.right(), 40),
                       Qt::AlignLeft | Qt::AlignVCenter, hostfw::FormatFloat(bmiPattern, v));
    }
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(plot);

    // Dates under their consultations.
    p.setPen(Qt::black);
    for (const TrendPoint& t : points)
        p.drawText(QRectF(x(t.date) - 120, plot.bottom() + 24, 240, 40),
                   Qt::AlignHCenter | Qt::AlignTop, t.date.toString(QStringLiteral("dd/MM/yyyy")));

    auto series = [&](const QColor& colour, const Axis& axis, auto value) {
        QPainterPath path;
        bool started = false;
        p.setPen(QPen(colour, 4));
        for (const TrendPoint& t : points) {
            const std::optional<double> v = value(t);
            if (!v)
                continue;
            const QPointF at(x(t.date), y(axis, *v));
            started ? path.lineTo(at) : path.moveTo(at);
            started = true;
        }
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setBrush(colour);
        for (const TrendPoint& t : points)
            if (const std::optional<double> v = value(t))
                p.drawEllipse(QPointF(x(t.date), y(axis, *v)), 8, 8);
    };
    series(kWeightColour, w, [](const TrendPoint& t) { return std::optional<double>(t.weight); });
    if (!bmis.isEmpty())
        series(kBmiColour, b, [](const TrendPoint& t) { return t.bmi; });

    // Legend above the plot.
    p.setBrush(Qt::NoBrush);
    p.setPen(kWeightColour);
    p.drawText(QRectF(plot.left(), 0, plot.width() / 2, plot.top()),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("● Peso (kg)"));
    if (!bmis.isEmpty()) {
        p.setPen(kBmiColour);
        p.drawText(QRectF(plot.center().x(), 0, plot.width() / 2, plot.top()),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("● IMC (kg/m²)"));
    }
    return image;
}

}  // namespace report
