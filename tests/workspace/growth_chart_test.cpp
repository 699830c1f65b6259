// The growth chart on consultations from a real server: the curves and the patient's
// points of a WHO 2006 and an NCHS 1977 method for each sex, as described and as the Qt
// chart holds them (its series' data, not its pixels); the result page's panel following
// the selected growth methods; the chart saved as PNG and PDF; the result page with the chart
// shown is saved as growth_page.png (in AVALNUTRI_SCREENSHOT_DIR when set).

#include "window_fixture.h"

#include "workspace/form/growth_chart_view.h"
#include "workspace/growth_chart.h"
#include "workspace/method_page.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QValueAxis>

using namespace Qt::StringLiterals;
using namespace workspace;
using workspacetest::kConsultationDay;

namespace {

records::ConsultationKey keyAt(const QString& patient, const QDate& date)
{
    return {u"0001"_s, patient, QDateTime(date, QTime(0, 0), Qt::UTC)};
}

double months(const QDate& birth, const QDate& date)
{
    return birth.daysTo(date) / 30.4375;
}

// A value of a packet's first row; -1 when the packet is empty.
double firstValue(const records::Reply& reply, int element, const QString& field)
{
    const records::Packet p = servertest::packetOf(reply, element);
    return p.isEmpty() ? -1 : p.value(0, field).toDouble();
}

}  // namespace

class GrowthChartTest : public workspacetest::WindowTest
{
protected:
    void record(const QString& patient, const QDate& date, const QString& method,
                const QString& type, const QString& value)
    {
        ASSERT_TRUE(
            servertest::recordValue(server.client(), keyAt(patient, date), method, type, value).ok);
    }
};

TEST_F(GrowthChartTest, CurvesAndPointsOfWhoAndNchsMethodsForBothSexes)
{
    struct Case
    {
        const char* patient;
        const char* sexCode;  // "0" male, "1" female
        QDate birth;
        const char* method;
        const char* referenceWord;
        const char* xTitle;
        const char* yTitle;
        // The weight and the height (m) recorded at an earlier consultation and at this one.
        const char* earlier[2];
        const char* now[2];
        // The curve point checked against another route of the server: axis, median.
        double x;
    };
    const QDate earlierDay(2026, 4, 6);
    // clang-format off
    const Case cases[] = {
        {"940000000001", "0", QDate(2024, 4, 6), "43", "OMS 2006", "Idade (meses)", "Peso (kg)", {"11,4", "0,85"}, {"13", "0,92"}, 24.5},
        {"940000000002", "1", QDate(2023, 10, 6), "45", "OMS 2006", "Idade (meses)", "Comprimento/Altura (cm)", {"12", "0,879"}, {"13,5", "0,951"}, 36.5},
        {"940000000003", "1", QDate(2025, 6, 6), "41", "NCHS 1977", "Comprimento (cm)", "Peso (kg)", {"6,9", "0,66"}, {"10", "0,8"}, 80},
        {"940000000004", "0", QDate(2025, 2, 6), "39", "NCHS 1977", "Idade (meses)", "Comprimento/Altura (cm)", {"8,2", "0,70"}, {"11", "0,83"}, 12},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        const QString patient = QLatin1String(c.patient);
        AssessmentForm& core = open(patient, QLatin1String(c.sexCode), c.birth);
        ASSERT_TRUE(core.methodPage().selectMethod(QLatin1String(c.method)));
        for (const auto& [date, values] :
             {std::pair{earlierDay, c.earlier}, std::pair{kConsultationDay, c.now}}) {
            record(patient, date, QLatin1String(c.method), u"01"_s, QLatin1String(values[0]));
            record(patient, date, QLatin1String(c.method), u"02"_s, QLatin1String(values[1]));
        }
        // Not drawn: a consultation after this one, and a weight without a height.
        record(patient, kConsultationDay.addDays(30), QLatin1String(c.method), u"01"_s, u"20"_s);
        record(patient, kConsultationDay.addDays(30), QLatin1String(c.method), u"02"_s, u"1,1"_s);
        record(patient, earlierDay.addDays(-20), u"12"_s, u"01"_s, u"9"_s);

        GrowthChart chart = buildGrowthChart(core.netAvalNutrEnerg,
                                             growthChartSubject(core, QLatin1String(c.method)));
        EXPECT_EQ(chart.xTitle, QLatin1String(c.xTitle));
        EXPECT_EQ(chart.yTitle, QLatin1String(c.yTitle));
        EXPECT_TRUE(chart.referenceName.contains(QLatin1String(c.referenceWord)))
            << chart.referenceName.toStdString();
        EXPECT_EQ(chart.patientName,
                  u"Paciente "_s + patient.right(2) + u" ("_s + patient + u")"_s);
        EXPECT_TRUE(chart.heading().startsWith(chart.title));

        // The seven percentiles, each over the method's range, the median as the server
        // gives it at that point by its other route.
        QStringList codes;
        for (const GrowthChartCurve& curve : chart.curves) {
            codes.append(curve.code);
            ASSERT_FALSE(curve.points.isEmpty());
            EXPECT_GE(curve.points.first().x(), chart.xMin);
            EXPECT_LE(curve.points.last().x(), chart.xMax);
        }
        EXPECT_EQ(codes, drawnPercentiles());
        const QString sex = QLatin1String(c.sexCode) == u"0" ? u"M"_s : u"F"_s;
        const QString ref = core.cdsMetoAval.asString(u"CDTABELACO"_s);
        const bool byAge = chart.xTitle.startsWith(u"Idade");
        const int m = static_cast<int>(c.x);
        const double median =
            byAge ? firstValue(
                server.client().GetPesCalcAltura(sex, ref, u"050"_s, 0, m / 12, m % 12), 1,
                chart.yTitle.startsWith(u"Peso") ? u"VRPESOTABE"_s : u"VRALTUTABE"_s)
                  : firstValue(server.client().GetPesCalcAltura(sex, ref, u"050"_s, c.x, 1, 0), 0,
                               u"VRPESO"_s);
        const GrowthChartCurve& p50 = chart.curves[3];
        const auto at = std::find_if(p50.points.cbegin(), p50.points.cend(), [&](const QPointF& p) {
            return std::abs(p.x() - c.x) < 1e-9;
        });
        ASSERT_NE(at, p50.points.cend());
        if (byAge && ref == u"07")
            // NCHS tabulates whole months; the route reads at the middle of the month.
            EXPECT_GT(median, at->y());
        else
            EXPECT_NEAR(at->y(), median, 1e-9);

        // The two consultations, oldest first, this one marked; weight for age also draws the
        // weight recorded alone.
        const bool weightForAge = byAge && chart.yTitle.startsWith(u"Peso");
        ASSERT_EQ(chart.measures.size(), weightForAge ? 3 : 2);
        if (weightForAge) {
            EXPECT_EQ(chart.measures[0].point,
                      QPointF(months(c.birth, earlierDay.addDays(-20)), 9));
            chart.measures.removeFirst();
        }
        const auto expected = [&](const QDate& date, const char* const values[2]) {
            const double weight = QString::fromLatin1(values[0]).replace(u',', u'.').toDouble();
            const double cm =
                std::round(QString::fromLatin1(values[1]).replace(u',', u'.').toDouble() * 1000)
                / 10;
            if (!byAge)
                return QPointF(cm, weight);
            return QPointF(months(c.birth, date), chart.yTitle.startsWith(u"Peso") ? weight : cm);
        };
        EXPECT_EQ(chart.measures[0].date, earlierDay);
        EXPECT_FALSE(chart.measures[0].current);
        EXPECT_EQ(chart.measures[0].point, expected(earlierDay, c.earlier));
        EXPECT_EQ(chart.measures[1].date, kConsultationDay);
        EXPECT_TRUE(chart.measures[1].current);
        EXPECT_EQ(chart.measures[1].point, expected(kConsultationDay, c.now));

        // The Qt chart: a line per percentile (highest first, as the legend reads), the
        // earlier points, this consultation's point, the axes over the method's range.
        std::unique_ptr<QChart> drawn(makeGrowthChart(chart));
        QMap<QString, QList<QPointF>> series;
        for (QAbstractSeries* s : drawn->series())
            series.insert(s->name(), static_cast<QXYSeries*>(s)->points());
        for (const GrowthChartCurve& curve : chart.curves)
            EXPECT_EQ(series.value(curve.label), curve.points) << curve.label.toStdString();
        EXPECT_EQ(drawn->series().first()->name(), u"P97"_s);
        EXPECT_EQ(series.value(kEarlierMeasuresSeries), QList<QPointF>{chart.measures[0].point});
        EXPECT_EQ(series.value(currentMeasureSeriesName(kConsultationDay)),
                  QList<QPointF>{chart.measures[1].point});
        EXPECT_EQ(series.value(kPatientLineSeries),
                  (QList<QPointF>{chart.measures[0].point, chart.measures[1].point}));
        const auto* x = static_cast<QValueAxis*>(drawn->axes(Qt::Horizontal).first());
        EXPECT_EQ(x->min(), chart.xMin);
        EXPECT_EQ(x->max(), chart.xMax);
        EXPECT_EQ(x->titleText(), chart.xTitle);
        const auto* y = static_cast<QValueAxis*>(drawn->axes(Qt::Vertical).first());
        for (const GrowthChartMeasure& measure : chart.measures)
            EXPECT_TRUE(measure.point.y() >= y->min() && measure.point.y() <= y->max());
        EXPECT_TRUE(drawn->title().contains(chart.patientName));
        form.reset();
    }
}

TEST_F(GrowthChartTest, WhatCannotBeDrawnIsSaidAndMeasuresOutsideTheRangeAreCounted)
{
    // A boy of 2 y 8 m: method 44 covers 0 to 24 months, so today's point lies outside it.
    const QString boy = u"940000000011"_s;
    AssessmentForm& core = open(boy, u"0"_s, QDate(2024, 4, 6));
    ASSERT_TRUE(core.methodPage().selectMethod(u"44"_s));
    record(boy, kConsultationDay, u"44"_s, u"02"_s, u"0,92"_s);
    record(boy, QDate(2025, 4, 6), u"44"_s, u"02"_s, u"0,76"_s);
    const GrowthChart chart =
        buildGrowthChart(core.netAvalNutrEnerg, growthChartSubject(core, u"44"_s));
    EXPECT_EQ(chart.measures.size(), 1);
    EXPECT_EQ(chart.measuresOutOfRange, 1);
    EXPECT_FALSE(chart.measures[0].current);

    EXPECT_THROW(buildGrowthChart(core.netAvalNutrEnerg, growthChartSubject(core, u"12"_s)),
                 records::Error);
    // A code the method list does not hold.
    EXPECT_THROW(growthChartSubject(core, u"99"_s), records::Error);
    GrowthChartSubject undetermined = growthChartSubject(core, u"44"_s);
    undetermined.sexLetter = u"I"_s;
    EXPECT_THROW(buildGrowthChart(core.netAvalNutrEnerg, undetermined), records::Error);

    // Saved: PNG that decodes, PDF that is one; another extension refused.
    QTemporaryDir dir;
    saveGrowthChart(chart, dir.filePath(u"c.PNG"_s));
    const QImage image(dir.filePath(u"c.PNG"_s));
    EXPECT_EQ(image.size(), QSize(1200, 800));
    saveGrowthChart(chart, dir.filePath(u"c.pdf"_s));
    QFile pdf(dir.filePath(u"c.pdf"_s));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_GT(pdf.size(), 1000);
    EXPECT_THROW(saveGrowthChart(chart, dir.filePath(u"c.svg"_s)), records::Error);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"c.svg"_s)));
    EXPECT_THROW(saveGrowthChart(chart, u"/nonexistent/dir/c.png"_s), records::Error);
}

TEST_F(GrowthChartTest, ResultPagePanelFollowsTheSelectedGrowthMethods)
{
    const QString boy = u"940000000021"_s;
    admit(boy, u"0"_s, QDate(2024, 4, 6));
    showWindow(QSize(1280, 720));
    ASSERT_TRUE(window->core().loaded());
    AssessmentForm& core = window->core();
    // No growth method selected: the button stays off.
    EXPECT_FALSE(window->sbtCurvaCresc->isEnabled());

    for (const char* method : {"43", "45", "01"})
        ASSERT_TRUE(core.methodPage().selectMethod(QLatin1String(method)));
    record(boy, QDate(2026, 4, 6), u"43"_s, u"01"_s, u"12,1"_s);
    record(boy, QDate(2025, 12, 6), u"43"_s, u"01"_s, u"11,4"_s);
    record(boy, QDate(2026, 5, 6), u"45"_s, u"02"_s, u"0,88"_s);
    // The result lines as the calculation leaves them (no calculation run here).
    servertest::DeltaBuilder lines(records::layouts::cdsResuAval());
    for (const auto& [method, band] :
         {std::pair{"43", "Percentil 25 - 50"}, std::pair{"45", "Percentil 25 - 50"}})
        lines.insert(servertest::merged(servertest::keyValues(core.key()),
                                        {{u"CDTBMETOAVAL"_s, QLatin1String(method)},
                                         {u"CDSEQUAVAL"_s, u"01"_s},
                                         {u"DSCONTRESU"_s, QLatin1String(band)},
                                         {u"DSRESUAVAL"_s, u"Adequado ou Eutrófico"_s}}));
    ASSERT_TRUE(server.client().SetResuAval(lines).ok);
    window->pgcAvalNutr->setCurrentWidget(window->tshAvaliacao);
    ASSERT_EQ(core.pgcAvalNutr, InnerPage::tshAvaliacao);
    ASSERT_TRUE(core.resultPage().recordValue(u"01"_s, u"13"_s));
    ASSERT_TRUE(core.resultPage().recordValue(u"02"_s, u"0.92"_s));
    EXPECT_TRUE(window->sbtCurvaCresc->isEnabled());
    GrowthChartPanel* panel = window->panCurvaCresc;
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(panel->chart());

    window->sbtCurvaCresc->trigger();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->cbbMetodo->count(), 2);
    ASSERT_TRUE(panel->chart());
    EXPECT_EQ(panel->chart()->method, u"43"_s);
    EXPECT_EQ(panel->chart()->measures.size(), 3);
    EXPECT_TRUE(panel->chart()->measures.last().current);
    EXPECT_EQ(panel->chart()->measures.last().point.y(), 13);
    EXPECT_EQ(panel->chvCurva->chart()->series().size(), 7 + 3);

    // The result line of the height method chooses its chart.
    int heightLine = -1;
    for (int row = 0; row < core.cdsResuAval.recordCount(); ++row)
        if (core.cdsResuAval.asStringAt(row, u"CDTBMETOAVAL"_s) == u"45")
            heightLine = row;
    ASSERT_GE(heightLine, 0) << core.cdsResuAval.recordCount();
    window->dbgResuaval->setCurrentIndex(window->dbgResuaval->model()->index(heightLine, 0));
    EXPECT_EQ(panel->chart()->method, u"45"_s);
    EXPECT_EQ(panel->chart()->measures.size(), 2);
    EXPECT_EQ(panel->chart()->measures.last().point.y(), 92);

    expectShown(shoot(u"growth_page.png"_s), *panel);

    // Height method given up: its chart goes from the choices.
    window->pgcAvalNutr->setCurrentWidget(window->tshMetoAval);
    ASSERT_TRUE(core.methodPage().unselectMethod(u"45"_s));
    window->pgcAvalNutr->setCurrentWidget(window->tshAvaliacao);
    EXPECT_EQ(panel->cbbMetodo->count(), 1);
    EXPECT_EQ(panel->chart()->method, u"43"_s);
}
