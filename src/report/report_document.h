#pragma once

#include "report_data.h"

#include <QString>

#include <memory>

class QPagedPaintDevice;
class QTextDocument;

namespace report {

// The report code printed on every page.
inline const QString kReportCode = QStringLiteral("Vex122");

// The report laid out as a document for a page device (a QPdfWriter or a QPrinter): the
// body HTML with the trend chart as its image.
std::unique_ptr<QTextDocument> reportDocument(const ReportData& data);

// Paints the document onto the device's pages: A4 portrait, a title line with the report
// code at the top of each page and "Página n de m" with the emission date at the
// bottom. Answers the number of pages.
int paintReport(QTextDocument& document, QPagedPaintDevice& device, const QDateTime& emitted);

// Writes the report to a PDF file; false (and why in *error) when the file cannot be
// written.
bool writeReportPdf(const ReportData& data, const QString& path, const QDateTime& emitted,
                    QString* error);

}  // namespace report
