// The nutritional assessment report as a user reads it: the definition's query against a
// real server on loopback, the PDF it writes read back with pdftotext, the period without
// consultations, and the chosen-method text the server refuses.

#include "test_server.h"

#include "records/layouts.h"
#include "records/rich_text.h"
#include "report/nutrition_report.h"
#include "report/report_document.h"
#include "report/report_html.h"
#include "report/trend_chart.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace servertest;
namespace layouts = records::layouts;

namespace {

QDateTime at(int month, int d)
{
    return QDateTime(QDate(2026, month, d), QTime(0, 0), Qt::UTC);
}

records::ConsultationKey on(int month, int d)
{
    return {"0001", "000000000001", at(month, d)};
}

// The text of a PDF as pdftotext reads it, one line per entry, blank lines dropped.
QStringList pdfLines(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    if (tool.isEmpty()) {
        ADD_FAILURE() << "pdftotext (poppler-utils) is missing: scripts/setup-deps installs it";
        return {};
    }
    QProcess p;
    p.start(tool, {"-layout", path, "-"});
    p.waitForFinished(30000);
    QStringList lines;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (!line.trimmed().isEmpty())
            lines.append(line.simplified().replace(QString::fromUtf8("ﬁ"), "fi"));
    return lines;
}

// The index of the first line at or after from that contains text; -1 when none.
int find(const QStringList& lines, const QString& text, int from = 0)
{
    for (int i = std::max(0, from); i < lines.size(); ++i)
        if (lines[i].contains(text))
            return i;
    return -1;
}

}  // namespace

class ReportDocument : public ::testing::Test
{
protected:
    void recordConsultation(const records::ConsultationKey& k, const QString& weight)
    {
        ASSERT_TRUE(recordValue(server.client(), k, "00", "01", weight).ok);
        ASSERT_TRUE(recordValue(server.client(), k, "00", "02", "1,80").ok);
        ASSERT_TRUE(server.client()
                        .SetResuAval(DeltaBuilder(layouts::cdsResuAval())
                                         .insert(merged(keyValues(k),
                                                        {{"CDTBMETOAVAL", "00"},
                                                         {"CDSEQUAVAL", "02"},
                                                         {"DSCONTRESU",
                                                          QString::fromUtf8("IMC Classificação")},
                                                         {"DSRESUAVAL", "Eutrofia " + weight}})))
                        .ok);
    }

    report::ReportData load(int fromMonth, int fromDay, int toMonth, int toDay,
                            const QString& methods = "T")
    {
        report::QueryParams params = definition.newParams();
        params.set(report::P_CDFILIAL, "0001");
        params.set(report::P_CDPACIENTE, "000000000001");
        params.set(report::P_DTINI, QDate(2026, fromMonth, fromDay));
        params.set(report::P_DTFIN, QDate(2026, toMonth, toDay));
        params.set(report::P_CDMETODO, methods);
        return definition.load(server.client(), params);
    }

    QStringList pdf(const report::ReportData& data)
    {
        const QString path = dir.filePath("report.pdf");
        QString error;
        EXPECT_TRUE(
            report::writeReportPdf(data, path, QDateTime(QDate(2026, 12, 6), QTime(9, 30)), &error))
            << error.toStdString();
        return pdfLines(path);
    }

    TestServer server{Engine::Sqlite};
    report::NutritionReport definition;
    QTemporaryDir dir;
};

TEST_F(ReportDocument, ThreeConsultationsInOrderWithTheirLinesDiagnosisAndTrend)
{
    recordConsultation(on(9, 10), "80");
    recordConsultation(on(11, 2), "78,5");
    recordConsultation(on(12, 6), "81");
    ASSERT_TRUE(server.client()
                    .SetResuAvalEnerg(DeltaBuilder(layouts::cdsResuAvalEnerg())
                                          .insert(merged(keyValues(on(12, 6)),
                                                         {{"CDTBMETOAVAL", "30"},
                                                          {"CDSEQUAVAL", "01"},
                                                          {"DSCONTRESU", "GEB"},
                                                          {"DSRESUAVAL", "1.650,00 kcal"}})))
                    .ok);
    // The diagnosis as the formatting bar stores it.
    ASSERT_TRUE(server.client()
                    .SetDiag(DeltaBuilder(layouts::cdsDiagNutri())
                                 .insert(merged(keyValues(on(11, 2)),
                                                {{"DSHISTAVALNUT",
                                                  records::cleanRichText(
                                                      "<p>Peso <b>adequado</b> para a altura.</p>")
                                                      .html.toUtf8()}})))
                    .ok);

    const report::ReportData data = load(9, 1, 12, 31);
    ASSERT_EQ(data.consultations.size(), 3);
    const QStringList lines = pdf(data);
    const QStringList expected = {
        "Avaliação Nutricional Vex122",
        "Paciente: 000000000001 — José Carlos da Silva Filial: 0001",
        "Sexo: Masculino",
        "Período: 01/09/2026 a 31/12/2026 Métodos: Todos",
        "Consulta de 10/09/2026 — idade",
        "IMC/Peso Teórico Peso 80 kg",
        "IMC/Peso Teórico Altura 1,80 m",
        "IMC/Peso Teórico IMC Classificação Eutrofia 80",
        "Consulta de 02/11/2026",
        "IMC/Peso Teórico Peso 78,5 kg",
        "Diagnóstico nutricional",
        "Peso adequado para a altura.",
        "Consulta de 06/12/2026",
        "Gasto energético",
        "1.650,00 kcal",
        "Evolução do peso e do IMC",
        "10/09/2026 80,0 24,69",
        "02/11/2026 78,5 24,23",
        "06/12/2026 81,0 25,00",
        "Página 2 de 2",
    };
    int at = 0;
    for (const QString& text : expected) {
        const int found = find(lines, text, at);
        EXPECT_GE(found, 0) << "not found in order: " << text.toStdString() << "\n"
                            << lines.join('\n').toStdString();
        if (found >= 0)
            at = found;
    }
    EXPECT_EQ(find(lines, "Emitido em 06/12/2026 09:30"), find(lines, "Página 1 de 2"));
    // The chart is in the document as its image.
    const auto document = report::reportDocument(data);
    EXPECT_FALSE(
        document->resource(QTextDocument::ImageResource, QUrl(report::kTrendChartUrl)).isNull());
}

TEST_F(ReportDocument, APeriodWithoutConsultationsSaysSo)
{
    recordConsultation(on(12, 6), "81");
    const QStringList lines = pdf(load(1, 1, 6, 30));
    EXPECT_GE(
        find(lines, QString::fromUtf8("Nenhuma consulta no período de 01/01/2026 a 30/06/2026.")),
        0)
        << lines.join('\n').toStdString();
    EXPECT_EQ(find(lines, "Consulta de"), -1);
    EXPECT_GE(find(lines, "Página 1 de 1"), 0);
}

TEST_F(ReportDocument, TheTrendChartNeedsTwoWeights)
{
    recordConsultation(on(11, 2), "78,5");
    report::ReportData one = load(1, 1, 12, 31);
    EXPECT_TRUE(report::trendChart(report::trendPoints(one)).isNull());
    EXPECT_FALSE(report::reportHtml(one, true).contains(report::kTrendChartUrl));

    recordConsultation(on(12, 6), "81");
    const report::ReportData two = load(1, 1, 12, 31);
    const QList<report::TrendPoint> points = report::trendPoints(two);
    ASSERT_EQ(points.size(), 2);
    EXPECT_DOUBLE_EQ(points[1].weight, 81);
    EXPECT_DOUBLE_EQ(*points[1].bmi, 25);
    const QImage chart = report::trendChart(points);
    ASSERT_FALSE(chart.isNull());
    // Something of both series' colours is drawn.
    int blue = 0;
    int orange = 0;
    for (int y = 0; y < chart.height(); y += 2)
        for (int x = 0; x < chart.width(); x += 2) {
            const QColor c = chart.pixelColor(x, y);
            blue += c == QColor(0x1f, 0x5f, 0xa8);
            orange += c == QColor(0xc0, 0x4a, 0x18);
        }
    EXPECT_GT(blue, 50);
    EXPECT_GT(orange, 50);
}

TEST(DiagnosisInTheReport, KeepsTheBarsMarkupAndDropsWhatCouldReachOutside)
{
    struct Case
    {
        const char* stored;
        const char* kept;
        const char* dropped;
    } cases[] = {
        {"<p>Peso <b>adequado</b></p>", "<b>adequado</b>", nullptr},
        {"<html><body><p>A</p><img src=\"file:///etc/hostname\"></body></html>", "A", "<img"},
        {"<p style=\"background-image: url(http://x/y.png)\">B</p>", "B", "url("},
        {"<p>C</p><script>alert(1)</script>", "C", "alert"},
        {"linha 1\nlinha 2", "linha 1<br>", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const QString body = report::diagnosisBody(QString::fromUtf8(c.stored));
        EXPECT_TRUE(body.contains(c.kept)) << body.toStdString();
        if (c.dropped) {
            EXPECT_FALSE(body.contains(c.dropped)) << body.toStdString();
        }
        EXPECT_FALSE(body.contains("<body"));
    }
}
