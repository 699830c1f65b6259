#include "report_html.h"

#include "hostfw/age.h"
#include "hostfw/numbers.h"
#include "records/rich_text.h"
#include "workspace/patient_header.h"

#include <QRegularExpression>
#include <QTextDocument>

namespace report {
namespace {

QString esc(const QString& text)
{
    return text.toHtmlEscaped();
}

QString ptDate(const QDate& d)
{
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QStringLiteral("—");
}

QString ageText(const QDate& birth, const QDate& at)
{
    if (!birth.isValid())
        return QStringLiteral("—");
    const hostfw::Age a = hostfw::Idade(at, birth);
    return QStringLiteral("%1 %2 e %3 %4")
        .arg(a.years)
        .arg(a.years == 1 ? QStringLiteral("ano") : QStringLiteral("anos"))
        .arg(a.months)
        .arg(a.months == 1 ? QStringLiteral("mês") : QStringLiteral("meses"));
}

QString row(const QStringList& cells)
{
    QString out = QStringLiteral("<tr>");
    for (const QString& c : cells)
        out += QStringLiteral("<td>%1</td>").arg(c);
    return out + QStringLiteral("</tr>");
}

// A table whose columns take the given percentages of the page width, so the tables of
// every consultation line up.
QString table(const QStringList& head, const QList<QStringList>& rows, const QList<int>& widths)
{
    QString out =
        QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                       "style=\"border-collapse: collapse; border-color: #999999;\">");
    out += QStringLiteral("<tr>");
    for (int i = 0; i < head.size(); ++i)
        out += QStringLiteral("<th width=\"%1%\">%2</th>").arg(widths.value(i)).arg(esc(head[i]));
    out += QStringLiteral("</tr>");
    for (const QStringList& r : rows) {
        QStringList cells;
        for (const QString& c : r)
            cells.append(esc(c));
        out += row(cells);
    }
    return out + QStringLiteral("</table>");
}

QString measurementsHtml(const Consultation& c)
{
    QList<QStringList> rows;
    for (const Measurement& m : c.measurements)
        rows.append({m.methodName, m.name, m.value, m.unit});
    return QStringLiteral("<h3>Medidas registradas</h3>")
           + table({QStringLiteral("Método"), QStringLiteral("Medida"), QStringLiteral("Valor"),
                    QStringLiteral("UN")},
                   rows, {32, 38, 18, 12});
}

QString linesHtml(const Consultation& c, bool energy)
{
    QList<QStringList> rows;
    for (const ResultLine& l : c.lines)
        if (l.energy == energy)
            rows.append({l.methodName, l.description, l.result});
    if (rows.isEmpty())
        return {};
    return QStringLiteral("<h3>%1</h3>")
               .arg(energy ? QStringLiteral("Gasto energético")
                           : QStringLiteral("Avaliação antropométrica"))
           + table(
               {QStringLiteral("Método"), QStringLiteral("Descrição"), QStringLiteral("Resultado")},
               rows, {32, 38, 30});
}

QString nutrientsHtml(const Consultation& c)
{
    QList<QStringList> rows;
    for (const NutrientAmount& n : c.nutrients)
        rows.append({n.reference, n.group, n.nutrient, n.currentWeight, n.atIdealWeight,
                     n.atAdequateWeight, n.unit});
    return QStringLiteral("<h3>Recomendação de nutrientes</h3>")
           + table({QStringLiteral("Referência"), QStringLiteral("Grupo"),
                    QStringLiteral("Nutriente"), QStringLiteral("Peso atual"),
                    QStringLiteral("Peso ideal"), QStringLiteral("Peso adequado"),
                    QStringLiteral("UN")},
                   rows, {18, 16, 20, 12, 12, 12, 10});
}

QString consultationHtml(const ReportData& d, const Consultation& c)
{
    QString out = QStringLiteral("<h2>Consulta de %1 — idade %2</h2>")
                      .arg(ptDate(c.date), ageText(d.birth, c.date));
    if (!c.measurements.isEmpty())
        out += measurementsHtml(c);
    out += linesHtml(c, false);
    out += linesHtml(c, true);
    if (!c.nutrients.isEmpty())
        out += nutrientsHtml(c);
    if (!c.diagnosisHtml.trimmed().isEmpty())
        out += QStringLiteral("<h3>Diagnóstico nutricional</h3><div>%1</div>")
                   .arg(diagnosisBody(c.diagnosisHtml));
    if (c.measurements.isEmpty() && c.lines.isEmpty() && c.nutrients.isEmpty()
        && c.diagnosisHtml.trimmed().isEmpty())
        out += QStringLiteral("<p>Nada registrado para os métodos escolhidos.</p>");
    return out;
}

QString headerHtml(const ReportData& d)
{
    const auto sex = workspace::sexFromHostCode(d.sexCode);
    const QString name =
        d.patientName.isEmpty() ? QStringLiteral("(paciente não cadastrado)") : d.patientName;
    return QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">"
                          "<tr><td><b>Paciente:</b> %1 — %2</td><td><b>Filial:</b> %3</td></tr>"
                          "<tr><td><b>Sexo:</b> %4</td><td><b>Nascimento:</b> %5</td></tr>"
                          "<tr><td><b>Período:</b> %6 a %7</td><td><b>Métodos:</b> %8</td></tr>"
                          "</table>")
        .arg(esc(d.patient), esc(name), esc(d.branch), esc(sex ? sex->text : QStringLiteral("—")),
             ptDate(d.birth), ptDate(d.from), ptDate(d.to),
             d.methods == QLatin1String("T")
                 ? QStringLiteral("Todos")
                 : esc(d.methods.mid(1).chopped(1).replace(u'_', QStringLiteral(", "))));
}

QString trendHtml(const QList<TrendPoint>& points)
{
    QList<QStringList> rows;
    for (const TrendPoint& t : points)
        rows.append({ptDate(t.date), hostfw::FormatFloat(QStringLiteral("0.0"), t.weight),
                     t.bmi ? hostfw::FormatFloat(QStringLiteral("0.00"), *t.bmi) : QString()});
    return QStringLiteral("<h2 style=\"page-break-before: always\">Evolução do peso e do "
                          "IMC</h2><p align=\"center\"><img src=\"%1\" "
                          "width=\"600\"></p>")
               .arg(kTrendChartUrl)
           + table(
               {QStringLiteral("Data"), QStringLiteral("Peso (kg)"), QStringLiteral("IMC (kg/m²)")},
               rows, {32, 38, 30});
}

}  // namespace

QString diagnosisBody(const QString& html)
{
    if (!Qt::mightBeRichText(html))
        return Qt::convertFromPlainText(html, Qt::WhiteSpaceNormal);
    // Reduced to the formatting bar's markup as the server stores it, so a diagnosis kept
    // from before that rule still shows no image, style or script.
    static const QRegularExpression body(QStringLiteral("<body[^>]*>(.*)</body>"),
                                         QRegularExpression::DotMatchesEverythingOption
                                             | QRegularExpression::CaseInsensitiveOption);
    const QString clean = records::cleanRichText(html).html;
    const QRegularExpressionMatch m = body.match(clean);
    return m.hasMatch() ? m.captured(1) : clean;
}

QString reportHtml(const ReportData& d, bool withChart)
{
    QString out = QStringLiteral("<html><head><style>"
                                 "body { font-family: 'DejaVu Sans'; font-size: 9pt; }"
                                 "h1 { font-size: 14pt; } h2 { font-size: 11pt; margin-top: 12px; }"
                                 "h3 { font-size: 9.5pt; margin-top: 6px; margin-bottom: 2px; }"
                                 "th { background-color: #e8e8e8; text-align: left; }"
                                 "</style></head><body>"
                                 "<h1 align=\"center\">Avaliação Nutricional</h1>");
    out += headerHtml(d);
    if (d.consultations.isEmpty()) {
        out += QStringLiteral("<p><b>Nenhuma consulta no período de %1 a %2.</b></p>")
                   .arg(ptDate(d.from), ptDate(d.to));
    } else {
        for (const Consultation& c : d.consultations)
            out += consultationHtml(d, c);
        const QList<TrendPoint> points = trendPoints(d);
        if (withChart && points.size() >= 2)
            out += trendHtml(points);
    }
    return out + QStringLiteral("</body></html>");
}

}  // namespace report
