#include "report_document.h"

#include "report_html.h"
#include "trend_chart.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace report {
namespace {

// A document that loads no resource of its own: the diagnosis is user text, and the
// only image the report shows is the chart it adds itself.
class ReportTextDocument : public QTextDocument
{
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

const QMarginsF kMarginsMm(15, 18, 15, 18);

}  // namespace

std::unique_ptr<QTextDocument> reportDocument(const ReportData& data)
{
    auto document = std::make_unique<ReportTextDocument>();
    const QImage chart = trendChart(trendPoints(data));
    if (!chart.isNull())
        document->addResource(QTextDocument::ImageResource, QUrl(kTrendChartUrl), chart);
    document->setHtml(reportHtml(data, !chart.isNull()));
    return document;
}

int paintReport(QTextDocument& document, QPagedPaintDevice& device, const QDateTime& emitted)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, kMarginsMm,
                                     QPageLayout::Millimeter));
    const int dpi = device.logicalDpiY();
    const QRect page = device.pageLayout().paintRectPixels(dpi);
    const int band = dpi * 3 / 10;  // title and footer lines, 0.3 in each
    const QRectF body(0, band, page.width(), page.height() - 2 * band);

    document.documentLayout()->setPaintDevice(&device);
    document.setPageSize(body.size());
    const int pages = document.pageCount();

    QPainter painter(&device);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPointSizeF(7.5);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            device.newPage();
        painter.setFont(small);
        painter.setPen(Qt::black);
        const QRectF top(0, 0, page.width(), band * 0.8);
        painter.drawText(top, Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Avaliação Nutricional"));
        painter.drawText(top, Qt::AlignRight | Qt::AlignVCenter, kReportCode);
        painter.drawLine(QPointF(0, band * 0.85), QPointF(page.width(), band * 0.85));
        const QRectF bottom(0, page.height() - band * 0.8, page.width(), band * 0.8);
        painter.drawLine(QPointF(0, page.height() - band * 0.85),
                         QPointF(page.width(), page.height() - band * 0.85));
        painter.drawText(bottom, Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Emitido em %1")
                             .arg(emitted.toString(QStringLiteral("dd/MM/yyyy HH:mm"))));
        painter.drawText(bottom, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Página %1 de %2").arg(i + 1).arg(pages));

        painter.save();
        painter.translate(body.left(), body.top() - i * body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, i * body.height(), body.width(), body.height());
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return pages;
}

bool writeReportPdf(const ReportData& data, const QString& path, const QDateTime& emitted,
                    QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error =
                QStringLiteral("Não foi possível gravar '%1': %2").arg(path, file.errorString());
        return false;
    }
    QPdfWriter writer(&file);
    writer.setResolution(300);
    writer.setCreator(QStringLiteral("avalnutri"));
    writer.setTitle(QStringLiteral("Avaliação Nutricional — %1").arg(kReportCode));
    const std::unique_ptr<QTextDocument> document = reportDocument(data);
    paintReport(*document, writer, emitted);
    return true;
}

}  // namespace report
